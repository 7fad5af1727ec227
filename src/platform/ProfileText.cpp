#include "platform/ProfileText.h"

#include <string_view>

namespace tsaver::profile {

namespace {

// The blanks trimmed around lines, names and values. Wine, measured: not the
// other control characters, not the no-break space (0xA0).
constexpr const char* kBlanks = " \t\n\v\f\r\x1a";

// GetPrivateProfileStringA's buffer of 1024 bytes holds 1023 characters and the NUL.
constexpr std::size_t kReadLimit = 1023;

std::string_view trimmedView(std::string_view text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string_view::npos) return {};
  return text.substr(first, text.find_last_not_of(kBlanks) - first + 1);
}

// A trimmed line that is a section header: "[" and a "]" after it.
bool isHeaderText(std::string_view text) {
  return !text.empty() && text.front() == '[' && text.rfind(']') != std::string_view::npos;
}

// keyLine's test of the name alone, without a copy: the log's writer asks it of
// every line of a section that grows to a thousand keys.
bool isKeyNamed(const std::string& line, std::string_view key) {
  const std::string_view text = trimmedView(line);
  if (text.empty() || isHeaderText(text)) return false;
  std::string_view name = trimmedView(text.substr(0, text.find('=')));
  name = name.substr(0, name.find('\0'));
  return sameText(name, key);
}

bool quoted(const std::string& value) {
  return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
}

}  // namespace

std::vector<std::string> splitLines(const std::string& content) {
  std::vector<std::string> lines;
  std::string::size_type start = 0;
  while (start < content.size()) {
    auto end = content.find_first_of("\r\n", start);
    if (end == std::string::npos) end = content.size();
    lines.push_back(content.substr(start, end - start));
    start = end + (content.compare(end, 2, "\r\n") == 0 ? 2 : 1);
  }
  return lines;
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::size_t size = 0;
  for (const auto& line : lines) size += line.size() + 2;
  std::string content;
  content.reserve(size);
  for (const auto& line : lines) content.append(line).append("\r\n");
  return content;
}

std::string trimmed(const std::string& text) { return std::string(trimmedView(text)); }

std::string toNul(const std::string& text) { return text.substr(0, text.find('\0')); }

bool sameText(std::string_view a, std::string_view b) {
  const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (upper(a[i]) != upper(b[i])) return false;
  return true;
}

// An empty name still ends the section before it, but no call finds or lists that section.
bool sectionHeader(const std::string& line, std::string& name) {
  // Most lines are keys: they are told apart without a copy.
  const auto first = line.find_first_not_of(kBlanks);
  if (first == std::string::npos || line[first] != '[') return false;
  const std::string text = trimmed(line);
  if (!isHeaderText(text)) return false;
  name = toNul(trimmed(text.substr(1, text.rfind(']') - 1)));
  return true;
}

bool keyLine(const std::string& line, std::string& name, std::optional<std::string>& value) {
  std::string ignored;
  if (sectionHeader(line, ignored)) return false;
  const std::string text = trimmed(line);
  if (text.empty()) return false;
  const auto eq = text.find('=');
  name = toNul(trimmed(text.substr(0, eq)));
  value = eq == std::string::npos ? std::nullopt : std::optional<std::string>(toNul(trimmed(text.substr(eq + 1))));
  return true;
}

std::string unquoted(const std::string& value) { return quoted(value) ? value.substr(1, value.size() - 2) : value; }

// Unquoted, at most 1023 characters. Wine, measured: a quoted text of exactly 1023
// characters loses its last one as well, the closing quote's place being taken.
std::string readAs(const std::string& value) {
  if (!quoted(value)) return value.substr(0, kReadLimit);
  const std::string inner = value.substr(1);
  const std::string copied = inner.substr(0, kReadLimit);
  return inner.size() <= kReadLimit + 1 ? copied.substr(0, copied.size() - 1) : copied;
}

std::size_t findSection(const std::vector<std::string>& lines, const std::string& section) {
  std::string name;
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (sectionHeader(lines[i], name) && !name.empty() && sameText(name, toNul(trimmed(section)))) return i;
  return lines.size();
}

std::size_t sectionEnd(const std::vector<std::string>& lines, std::size_t header) {
  std::string name;
  for (std::size_t i = header + 1; i < lines.size(); ++i)
    if (sectionHeader(lines[i], name)) return i;
  return lines.size();
}

std::size_t findKey(const std::vector<std::string>& lines, std::size_t header, std::size_t end,
                    const std::string& key) {
  const std::string_view wanted = trimmedView(key);
  for (auto i = header + 1; i < end; ++i)
    if (isKeyNamed(lines[i], wanted)) return i;
  return lines.size();
}

void setProfileValue(std::vector<std::string>& lines, const std::string& section, const std::string& key,
                     const std::string& value) {
  const auto header = findSection(lines, section);
  if (header == lines.size()) {
    lines.push_back("[" + section + "]");
    lines.push_back(key + "=" + value);
    return;
  }
  const std::size_t end = sectionEnd(lines, header);
  const auto found = findKey(lines, header, end, key);
  if (found != lines.size()) {
    // The key keeps its first spelling; only the value is replaced.
    std::string name;
    std::optional<std::string> old;
    keyLine(lines[found], name, old);
    lines[found] = name + "=" + value;
    return;
  }
  std::size_t at = header + 1;
  for (auto i = header + 1; i < end; ++i)
    if (lines[i].find_first_not_of(kBlanks) != std::string::npos) at = i + 1;
  lines.insert(lines.begin() + at, key + "=" + value);
}

}  // namespace tsaver::profile
