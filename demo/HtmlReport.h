#pragma once
// The main job's report as one HTML page: titled blocks of text and pictures.
#include <string>
#include <vector>

namespace demo {

class HtmlReport {
 public:
  explicit HtmlReport(std::string title);
  void heading(const std::string& text);
  // Lines shown as they are, in a fixed-width block.
  void lines(const std::vector<std::string>& lines);
  void text(const std::string& preformatted);
  // A picture, `file` relative to the page.
  void picture(const std::string& file, const std::string& caption);
  // Writes the page; throws e2e::RobotError when it cannot.
  void write(const std::string& path) const;

 private:
  std::string body_;
  std::string title_;
};

}  // namespace demo
