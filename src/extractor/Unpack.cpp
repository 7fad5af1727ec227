#include "extractor/Unpack.h"

#include <algorithm>

#include "packed/Compression.h"
#include "platform/Sha256.h"
#include "platform/win32/Handles.h"

namespace tsaver::extractor {

namespace {

// Large enough that hashing 50 MB takes few window updates, small enough to repaint often.
constexpr std::size_t kHashPiece = 1 << 20;

bool writeAll(HANDLE file, const unsigned char* data, std::size_t size) {
  DWORD written = 0;
  return WriteFile(file, data, static_cast<DWORD>(size), &written, nullptr) && written == size;
}

bool removeTreeOnce(const std::string& folder) {
  WIN32_FIND_DATAA found;
  UniqueFindHandle search(FindFirstFileA((folder + "\\*").c_str(), &found));
  if (search) {
    do {
      const std::string name = found.cFileName;
      if (name == "." || name == "..") continue;
      const std::string path = folder + "\\" + name;
      if (found.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT && found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        RemoveDirectoryA(path.c_str());  // a link to a folder elsewhere: the link goes, not what it points to
      } else if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
        removeTreeOnce(path);
      } else {
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        DeleteFileA(path.c_str());
      }
    } while (FindNextFileA(search.get(), &found));
  }
  search.reset();
  return RemoveDirectoryA(folder.c_str()) || GetFileAttributesA(folder.c_str()) == INVALID_FILE_ATTRIBUTES;
}

}  // namespace

packed::Problem checkPayload(const unsigned char* file, std::size_t size, ProgressWindow& window, Payload& payload) {
  const packed::Located located = packed::locatePayload(file, size);
  if (located.problem != packed::Problem::None) return located.problem;
  payload.bytes = file + located.payloadOffset;
  const auto total = static_cast<std::size_t>(located.payloadSize);
  Sha256 hash;
  for (std::size_t done = 0; done < total;) {
    const std::size_t piece = std::min(kHashPiece, total - done);
    hash.update(payload.bytes + done, piece);
    done += piece;
    window.setProgress(done, total);
  }
  Sha256Digest digest;
  if (!hash.finish(digest)) return packed::Problem::DigestFailed;
  if (digest != located.digest) return packed::Problem::DigestMismatch;
  if (!packed::readDirectory(payload.bytes, located.payloadSize, payload.entries)) return packed::Problem::BadDirectory;
  return packed::Problem::None;
}

bool unpack(const Payload& payload, const std::string& folder, ProgressWindow& window) {
  unsigned long long total = 0, done = 0;
  for (const packed::PackedEntry& entry : payload.entries) total += entry.size;
  for (const packed::PackedEntry& entry : payload.entries) {
    const std::string path = folder + "\\" + entry.name;
    // The names were checked to stay inside the folder; their folders come first.
    for (std::size_t level = entry.name.find('\\'); level != std::string::npos; level = entry.name.find('\\', level + 1))
      CreateDirectoryA((folder + "\\" + entry.name.substr(0, level)).c_str(), nullptr);
    UniqueFileHandle file(
        CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (!file) return false;
    const bool written =
        packed::inflateTo(payload.bytes + entry.offset, entry.packedSize, entry.size,
                          [&](const unsigned char* data, std::size_t size) {
                            done += size;
                            window.setProgress(done, total);
                            return writeAll(file.get(), data, size);
                          });
    if (!written) return false;
  }
  return true;
}

bool removeTree(const std::string& folder) {
  // A program that has just ended may still hold its file for a moment (an antivirus, too).
  for (int attempt = 0; attempt < 50; ++attempt) {
    if (removeTreeOnce(folder)) return true;
    Sleep(100);
  }
  return false;
}

}  // namespace tsaver::extractor
