#include "demo/HtmlReport.h"

#include "e2e/robot/Files.h"

namespace demo {

namespace {

std::string escaped(const std::string& text) {
  std::string out;
  for (const char c : text) {
    if (c == '<')
      out += "&lt;";
    else if (c == '>')
      out += "&gt;";
    else if (c == '&')
      out += "&amp;";
    else if (c == '"')
      out += "&quot;";
    else
      out += c;
  }
  return out;
}

}  // namespace

HtmlReport::HtmlReport(std::string title) : title_(std::move(title)) {}

void HtmlReport::heading(const std::string& text) { body_ += "<h2>" + escaped(text) + "</h2>\n"; }

void HtmlReport::lines(const std::vector<std::string>& lines) {
  std::string joined;
  for (const std::string& line : lines) joined += line + "\n";
  text(lines.empty() ? "(none)\n" : joined);
}

void HtmlReport::text(const std::string& preformatted) { body_ += "<pre>" + escaped(preformatted) + "</pre>\n"; }

void HtmlReport::picture(const std::string& file, const std::string& caption) {
  body_ += "<figure><img src=\"" + escaped(file) + "\" alt=\"" + escaped(caption) + "\"><figcaption>" +
           escaped(caption) + "</figcaption></figure>\n";
}

void HtmlReport::write(const std::string& path) const {
  e2e::writeFile(path, "<!DOCTYPE html>\n<html><head><meta charset=\"windows-1252\"><title>" + escaped(title_) +
                           "</title>\n<style>body{font-family:sans-serif;margin:2em}pre{background:#f4f4f4;padding:"
                           "1em;overflow-x:auto}figure{display:inline-block;margin:1em}</style></head>\n<body><h1>" +
                           escaped(title_) + "</h1>\n" + body_ + "</body></html>\n");
}

}  // namespace demo
