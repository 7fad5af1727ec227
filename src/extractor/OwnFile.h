#pragma once
// The running setup program's own file, mapped for reading: its packed files are
// read where they lie, without a copy.
#include <cstddef>

#include "platform/win32/Handles.h"

namespace tsaver::extractor {

class OwnFile {
 public:
  // False when the program's file cannot be opened or mapped.
  bool open();
  const unsigned char* bytes() const { return static_cast<const unsigned char*>(view_.get()); }
  std::size_t size() const { return size_; }

 private:
  UniqueFileHandle file_;
  UniqueHandle mapping_;
  UniqueMappedView view_;
  std::size_t size_ = 0;
};

}  // namespace tsaver::extractor
