// The simulated machine's profile (settings) files, read and written with Windows' rules.
#include "platform/simulated/MachineState.h"

#include "platform/Paths.h"

namespace tsaver {

using namespace simulated;

namespace {

// GetPrivateProfileStringA's buffer of 1024 bytes holds 1023 characters and the NUL.
constexpr std::size_t kProfileLimit = 1023;

bool sameText(const std::string& a, const std::string& b) {
  const auto upper = [](char c) { return c >= 'a' && c <= 'z' ? static_cast<char>(c - 'a' + 'A') : c; };
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (upper(a[i]) != upper(b[i])) return false;
  return true;
}

// The blanks trimmed around lines, names and values: the C blanks and Ctrl-Z.
// Wine, measured: not the other control characters, not the no-break space (0xA0).
constexpr const char* kBlanks = " \t\n\v\f\r\x1a";

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(kBlanks);
  if (first == std::string::npos) return std::string();
  const auto last = text.find_last_not_of(kBlanks);
  return text.substr(first, last - first + 1);
}

// Names and values end at a NUL, as the platform's strings do.
std::string toNul(const std::string& text) { return text.substr(0, text.find('\0')); }

// Profile-file text: a line ends at CR LF, at a CR, or at an LF; written back with CR LF.
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
  std::string content;
  for (const auto& line : lines) content += line + "\r\n";
  return content;
}

// "[" name "]", the name up to the last "]"; text after it is ignored. An empty
// name still ends the section before it, but no call finds or lists that section.
bool sectionHeader(const std::string& line, std::string& name) {
  // Most lines are keys: they are told apart without a copy.
  const auto first = line.find_first_not_of(kBlanks);
  if (first == std::string::npos || line[first] != '[') return false;
  const std::string text = trimmed(line);
  const auto close = text.rfind(']');
  if (text.empty() || text.front() != '[' || close == std::string::npos) return false;
  name = toNul(trimmed(text.substr(1, close - 1)));
  return true;
}

// A line that is no section header: the name up to the first "=", the value after
// it; a line without "=" is a key without a value, which reads as missing.
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

bool quoted(const std::string& value) {
  return value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front();
}

// A value as the section's listing gives it: out of one pair of matching quotes (" or ').
std::string unquoted(const std::string& value) { return quoted(value) ? value.substr(1, value.size() - 2) : value; }

// What a read gives of a value or a default: unquoted, at most 1023 characters.
// Wine, measured: a quoted text of exactly 1023 characters loses its last one as
// well, the closing quote's place being taken.
std::string readAs(const std::string& value) {
  if (!quoted(value)) return cut(value, kProfileLimit);
  const std::string inner = value.substr(1);
  const std::string copied = cut(inner, kProfileLimit);
  return inner.size() <= kProfileLimit + 1 ? copied.substr(0, copied.size() - 1) : copied;
}

// Index of the first header of the section, or lines.size().
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

}  // namespace

SimulatedWindows::State::Resolved SimulatedWindows::State::resolveProfile(const std::string& file) {
  const bool bare = file.find_first_of("\\/") == std::string::npos && !(file.size() >= 2 && file[1] == ':');
  std::string dir = windowsDir;
  if (!dir.empty() && dir.back() == '\\') dir.pop_back();
  return resolve(bare ? dir + "\\" + file : file);
}

const SimulatedWindows::State::Node* SimulatedWindows::State::profileFile(const std::string& file) {
  const Resolved r = resolveProfile(file);
  const Node* node = r.ok ? find(r.key) : nullptr;
  return node && !node->directory ? node : nullptr;
}

void SimulatedWindows::failProfileWrites(const std::string& file) {
  const State::Resolved r = state_->resolveProfile(file);
  if (r.ok) state_->failProfiles.insert(r.key);
}

std::vector<SimulatedWindows::ProfileSection> SimulatedWindows::profileSections(const std::string& file) const {
  std::vector<ProfileSection> sections;
  const State::Node* node = state_->profileFile(file);
  if (!node) return sections;
  bool listed = false;  // keys before the first section, or in a nameless one, are never found
  bool afterNameless = false;
  std::string name;
  std::optional<std::string> value;
  for (const auto& line : splitLines(node->content)) {
    if (sectionHeader(line, name)) {
      listed = !name.empty();
      if (listed) sections.push_back({name, {}});
      afterNameless = false;
    } else if (listed && keyLine(line, name, value)) {
      // Wine, measured: a key without a name right after another one is dropped;
      // comments and keys without a value are not listed.
      if (name.empty() && afterNameless) continue;
      afterNameless = name.empty();
      if (value && (name.empty() || name.front() != ';'))
        sections.back().second.emplace_back(name, unquoted(*value));
    }
  }
  return sections;
}

std::string SimulatedWindows::getProfileString(const std::string& section, const std::string& key,
                                               const std::string& defaultValue, const std::string& file) {
  // Windows drops the default's trailing blanks.
  std::string fallback = defaultValue;
  while (!fallback.empty() && fallback.back() == ' ') fallback.pop_back();
  fallback = readAs(fallback);
  const State::Node* node = state_->profileFile(file);
  if (!node) return fallback;
  const auto lines = splitLines(node->content);
  const auto header = findSection(lines, section);
  if (header == lines.size()) return fallback;
  const auto end = sectionEnd(lines, header);
  std::string name;
  std::optional<std::string> value;
  // The first key of the name decides, with or without a value.
  for (auto i = header + 1; i < end; ++i)
    if (keyLine(lines[i], name, value) && sameText(name, toNul(trimmed(key)))) return value ? readAs(*value) : fallback;
  return fallback;
}

bool SimulatedWindows::writeProfileString(const std::string& section, const std::optional<std::string>& key,
                                          const std::optional<std::string>& value, const std::string& file) {
  State& s = *state_;
  const State::Resolved r = s.resolveProfile(file);
  if (!r.ok || s.failProfiles.count(r.key) || s.checkWritable(r) != 0) return false;
  const State::Node* node = s.find(r.key);
  std::vector<std::string> lines = node ? splitLines(node->content) : std::vector<std::string>();
  const auto header = findSection(lines, section);
  bool changed = false;
  if (!key) {
    if (header != lines.size()) {
      lines.erase(lines.begin() + header, lines.begin() + sectionEnd(lines, header));
      changed = true;
    }
  } else {
    const auto end = header == lines.size() ? lines.size() : sectionEnd(lines, header);
    std::string name;
    std::optional<std::string> old;
    std::size_t found = lines.size();
    if (header != lines.size())
      for (auto i = header + 1; i < end && found == lines.size(); ++i)
        if (keyLine(lines[i], name, old) && sameText(name, trimmed(*key))) found = i;
    if (!value) {
      if (found != lines.size()) {
        lines.erase(lines.begin() + found);
        changed = true;
      }
    } else if (found != lines.size()) {
      // The key keeps its first spelling; only the value is replaced.
      keyLine(lines[found], name, old);
      lines[found] = name + "=" + *value;
      changed = true;
    } else if (header != lines.size()) {
      std::size_t at = header + 1;
      for (auto i = header + 1; i < end; ++i)
        if (!trimmed(lines[i]).empty()) at = i + 1;
      lines.insert(lines.begin() + at, *key + "=" + *value);
      changed = true;
    } else {
      lines.push_back("[" + section + "]");
      lines.push_back(*key + "=" + *value);
      changed = true;
    }
  }
  if (changed) s.storeFile(r, joinLines(lines), std::nullopt);
  return true;
}

// --- Reading a whole section -------------------------------------------------------------------

std::vector<std::string> SimulatedWindows::profileKeyNames(const std::string& section, const std::string& file) {
  std::vector<std::string> names;
  const State::Node* node = state_->profileFile(file);
  if (!node) return names;
  const auto lines = splitLines(node->content);
  const auto header = findSection(lines, section);
  if (header == lines.size()) return names;
  std::string name;
  std::optional<std::string> value;
  for (auto i = header + 1; i < sectionEnd(lines, header); ++i)
    // As Wine: a comment line is found by its name, but not listed; nor is a key without a value.
    if (keyLine(lines[i], name, value) && value && (name.empty() || name.front() != ';')) names.push_back(name);
  return names;
}

}  // namespace tsaver
