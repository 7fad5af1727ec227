#include "extractor/OwnFile.h"

#include <string>

namespace tsaver::extractor {

bool OwnFile::open() {
  std::string path(MAX_PATH, '\0');
  DWORD length;
  // A longer path than the buffer fills it and is cut: try a larger one.
  while ((length = GetModuleFileNameA(nullptr, &path[0], static_cast<DWORD>(path.size()))) == path.size())
    path.resize(path.size() * 2);
  if (length == 0) return false;
  path.resize(length);
  file_.reset(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                          FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size;
  if (!file_ || !GetFileSizeEx(file_.get(), &size) || size.QuadPart == 0 ||
      static_cast<unsigned long long>(size.QuadPart) > static_cast<std::size_t>(-1))
    return false;
  size_ = static_cast<std::size_t>(size.QuadPart);
  mapping_.reset(CreateFileMappingA(file_.get(), nullptr, PAGE_READONLY, 0, 0, nullptr));
  if (!mapping_) return false;
  view_.reset(MapViewOfFile(mapping_.get(), FILE_MAP_READ, 0, 0, 0));
  return view_.valid();
}

}  // namespace tsaver::extractor
