#pragma once
// The package's text files, read and written by line.
// Reading: a line ends at CR, an LF right after the CR is skipped, an LF elsewhere
// belongs to the line; input ends at the end of the file or at Ctrl-Z (26); a
// line that is not there reads as empty; nothing is trimmed.
// Writing ends every line with CR LF. Failures raise EInOutError.
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace tsaver {

class TextReader {
 public:
  // Opens and reads the file; raises EInOutError when it cannot.
  TextReader(Platform& platform, const std::string& path);
  // Reading straight from the file's bytes.
  explicit TextReader(std::string content);

  std::string readLine();
  bool eof() const { return pos_ >= end_; }

 private:
  std::string content_;
  std::string::size_type pos_ = 0;
  std::string::size_type end_ = 0;
};

// Creates (or replaces) the file with the given lines, each ended by CR LF.
void writeTextLines(Platform& platform, const std::string& path, const std::vector<std::string>& lines);

}  // namespace tsaver
