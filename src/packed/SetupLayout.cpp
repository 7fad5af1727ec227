#include "packed/SetupLayout.h"

#include <algorithm>
#include <cstring>
#include <set>

#include "platform/Paths.h"

namespace tsaver::packed {

namespace {

std::uint64_t readLe(const unsigned char* at, int bytes) {
  std::uint64_t value = 0;
  for (int i = bytes - 1; i >= 0; --i) value = (value << 8) | at[i];
  return value;
}

// The PE headers' places, all checked to lie within the file.
struct PeHeaders {
  std::size_t optionalHeader = 0;
  std::size_t optionalSize = 0;
  std::size_t sections = 0;
  unsigned sectionCount = 0;
};

bool readPeHeaders(const unsigned char* file, std::size_t size, PeHeaders& pe) {
  if (size < 0x40 || file[0] != 'M' || file[1] != 'Z') return false;
  const std::uint64_t header = readLe(file + 0x3c, 4);
  if (header + 24 > size || std::memcmp(file + header, "PE\0\0", 4) != 0) return false;
  pe.sectionCount = static_cast<unsigned>(readLe(file + header + 6, 2));
  pe.optionalSize = static_cast<std::size_t>(readLe(file + header + 20, 2));
  pe.optionalHeader = static_cast<std::size_t>(header + 24);
  pe.sections = pe.optionalHeader + pe.optionalSize;
  return pe.sections + 40ull * pe.sectionCount <= size;
}

// A name of a file inside the folder: relative, no drive, no way up, no empty level.
bool isInsideName(const std::string& name) {
  if (name.empty() || name.front() == '\\' || name.back() == '\\') return false;
  if (name.find_first_of(":/") != std::string::npos || name.find("\\\\") != std::string::npos) return false;
  for (const char c : name)
    if (static_cast<unsigned char>(c) < 32) return false;
  std::size_t start = 0;
  while (start <= name.size()) {
    const std::size_t end = std::min(name.find('\\', start), name.size());
    const std::string level = name.substr(start, end - start);
    if (level == "." || level == "..") return false;
    start = end + 1;
  }
  return true;
}

}  // namespace

const char* problemText(Problem problem) {
  switch (problem) {
    case Problem::None:
      return "intact";
    case Problem::NotProgram:
      return "not a Windows program";
    case Problem::NotPacked:
      return "not a packed setup file";
    case Problem::Truncated:
      return "truncated: the file ends before its packed files do";
    case Problem::DigestMismatch:
      return "damaged: the packed files' SHA-256 differs from the one recorded";
    case Problem::BadDirectory:
      return "damaged: the list of packed files does not match the packed data";
    case Problem::DigestFailed:
      break;
  }
  return "the system's SHA-256 failed";
}

std::uint64_t sectionsEnd(const unsigned char* file, std::size_t size) {
  PeHeaders pe;
  if (!readPeHeaders(file, size, pe)) return 0;
  std::uint64_t end = pe.sections + 40ull * pe.sectionCount;
  for (unsigned i = 0; i < pe.sectionCount; ++i) {
    const unsigned char* section = file + pe.sections + 40ull * i;
    const std::uint64_t rawSize = readLe(section + 16, 4), rawStart = readLe(section + 20, 4);
    if (rawSize > 0) end = std::max(end, rawStart + rawSize);
  }
  return end;
}

std::uint64_t signatureOffset(const unsigned char* file, std::size_t size) {
  PeHeaders pe;
  if (!readPeHeaders(file, size, pe) || pe.optionalSize < 2) return 0;
  // The data directories follow 96 bytes of a PE32 optional header, 112 of a PE32+ one.
  const bool plus = readLe(file + pe.optionalHeader, 2) == 0x20b;
  const std::size_t directories = plus ? 112 : 96;
  const std::size_t security = directories + 4 * 8;
  if (pe.optionalSize < security + 8) return 0;
  const std::uint64_t count = readLe(file + pe.optionalHeader + directories - 4, 4);
  if (count <= 4) return 0;
  return readLe(file + pe.optionalHeader + security, 4);
}

Located locatePayload(const unsigned char* file, std::size_t size) {
  Located found;
  const std::uint64_t end = sectionsEnd(file, size);
  if (end == 0) {
    found.problem = Problem::NotProgram;
    return found;
  }
  const std::uint64_t present = size > end ? size - end : 0;
  if (present < kFrameSize) {
    // A cut inside the frame leaves the start of its magic; an unpacked program has none.
    const bool magicStart = present > 0 && std::memcmp(file + end, kFrameMagic, std::min<std::uint64_t>(present, 8)) == 0;
    found.problem = magicStart ? Problem::Truncated : Problem::NotPacked;
    return found;
  }
  if (std::memcmp(file + end, kFrameMagic, sizeof kFrameMagic) != 0) {
    found.problem = Problem::NotPacked;
    return found;
  }
  found.payloadOffset = end + kFrameSize;
  found.payloadSize = readLe(file + end + 8, 8);
  std::copy(file + end + 16, file + end + kFrameSize, found.digest.begin());
  const std::uint64_t signature = signatureOffset(file, size);
  const std::uint64_t limit = signature >= found.payloadOffset && signature < size ? signature : size;
  if (found.payloadSize > limit - found.payloadOffset) found.problem = Problem::Truncated;
  return found;
}

bool readDirectory(const unsigned char* payload, std::uint64_t size, std::vector<PackedEntry>& entries) {
  entries.clear();
  if (size < 4) return false;
  const std::uint64_t count = readLe(payload, 4);
  std::uint64_t at = 4;
  std::set<std::string> names;
  for (std::uint64_t i = 0; i < count; ++i) {
    if (size - at < 2) return false;
    const std::uint64_t nameLength = readLe(payload + at, 2);
    at += 2;
    if (size - at < nameLength + 16) return false;
    PackedEntry entry;
    entry.name.assign(reinterpret_cast<const char*>(payload + at), static_cast<std::size_t>(nameLength));
    at += nameLength;
    entry.size = readLe(payload + at, 8);
    entry.packedSize = readLe(payload + at + 8, 8);
    at += 16;
    if (!isInsideName(entry.name) || !names.insert(upperAscii(entry.name)).second) return false;
    entries.push_back(entry);
  }
  for (PackedEntry& entry : entries) {
    if (entry.packedSize > size - at) return false;
    entry.offset = at;
    at += entry.packedSize;
  }
  return at == size;
}

}  // namespace tsaver::packed
