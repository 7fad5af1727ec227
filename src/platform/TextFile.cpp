#include "platform/TextFile.h"

namespace tsaver {

namespace {
constexpr char kCtrlZ = 26;
}

TextReader::TextReader(Platform& platform, const std::string& path) : TextReader(platform.readFile(path)) {}

TextReader::TextReader(std::string content) : content_(std::move(content)) {
  end_ = content_.find(kCtrlZ);
  if (end_ == std::string::npos) end_ = content_.size();
}

std::string TextReader::readLine() {
  const auto start = pos_;
  while (pos_ < end_ && content_[pos_] != '\r') ++pos_;
  std::string line = content_.substr(start, pos_ - start);
  if (pos_ < end_) {
    ++pos_;  // the CR
    if (pos_ < end_ && content_[pos_] == '\n') ++pos_;
  }
  return line;
}

void writeTextLines(Platform& platform, const std::string& path, const std::vector<std::string>& lines) {
  std::string content;
  for (const auto& line : lines) content += line + "\r\n";
  platform.writeFile(path, content);
}

}  // namespace tsaver
