#include "platform/Paths.h"

#include <climits>

#include "platform/Errors.h"

namespace tsaver {

namespace {
std::string::size_type lastDelimiter(const std::string& path) { return path.find_last_of("\\:"); }
}  // namespace

std::string fileNamePart(const std::string& path) {
  const auto pos = lastDelimiter(path);
  return pos == std::string::npos ? path : path.substr(pos + 1);
}

std::string directoryPart(const std::string& path) {
  const auto pos = lastDelimiter(path);
  return pos == std::string::npos ? std::string() : path.substr(0, pos + 1);
}

std::string extensionPart(const std::string& path) {
  const std::string name = fileNamePart(path);
  const auto dot = name.rfind('.');
  return dot == std::string::npos ? std::string() : name.substr(dot);
}

std::string upperAscii(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

int strToInt(const std::string& text) {
  const auto fail = [&text]() { return EConvertError("'" + text + "' is not a valid integer value"); };
  std::string::size_type i = 0;
  while (i < text.size() && text[i] == ' ') ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) negative = text[i++] == '-';
  int base = 10;
  if (i < text.size() && text[i] == '$') { base = 16; ++i; }
  if (i == text.size()) throw fail();
  long long value = 0;
  for (; i < text.size(); ++i) {
    const char c = text[i];
    int digit;
    if (c >= '0' && c <= '9') digit = c - '0';
    else if (base == 16 && c >= 'a' && c <= 'f') digit = c - 'a' + 10;
    else if (base == 16 && c >= 'A' && c <= 'F') digit = c - 'A' + 10;
    else throw fail();
    value = value * base + digit;
    if (value > static_cast<long long>(INT_MAX) + 1) throw fail();
  }
  if (negative) value = -value;
  if (value > INT_MAX || value < INT_MIN) throw fail();
  return static_cast<int>(value);
}

}  // namespace tsaver
