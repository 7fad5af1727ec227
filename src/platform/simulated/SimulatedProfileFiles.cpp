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

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

// Profile-file text: lines split at LF with a CR before it dropped; written back with CR LF.
std::vector<std::string> splitLines(const std::string& content) {
  std::vector<std::string> lines;
  std::string::size_type start = 0;
  while (start < content.size()) {
    auto end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::string content;
  for (const auto& line : lines) content += line + "\r\n";
  return content;
}

bool sectionHeader(const std::string& line, std::string& name) {
  // Most lines are keys: they are told apart without a copy.
  const auto first = line.find_first_not_of(" \t");
  if (first == std::string::npos || line[first] != '[') return false;
  const std::string text = trimmed(line);
  if (text.empty() || text.front() != '[') return false;
  const auto close = text.find(']');
  name = trimmed(text.substr(1, close == std::string::npos ? std::string::npos : close - 1));
  return true;
}

bool keyLine(const std::string& line, std::string& name, std::string& value) {
  std::string ignored;
  if (sectionHeader(line, ignored)) return false;
  const std::string text = trimmed(line);
  if (text.empty()) return false;
  const auto eq = text.find('=');
  name = trimmed(text.substr(0, eq));
  value = eq == std::string::npos ? std::string() : trimmed(text.substr(eq + 1));
  return true;
}

// Windows takes a value out of one pair of matching quotes when it reads it.
std::string unquoted(const std::string& value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

// Index of the first header of the section, or lines.size().
std::size_t findSection(const std::vector<std::string>& lines, const std::string& section) {
  std::string name;
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (sectionHeader(lines[i], name) && sameText(name, trimmed(section))) return i;
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
  std::string name;
  std::string value;
  for (const auto& line : splitLines(node->content)) {
    if (sectionHeader(line, name)) {
      sections.push_back({name, {}});
    } else if (!sections.empty() && keyLine(line, name, value)) {
      sections.back().second.emplace_back(name, unquoted(value));
    }
  }
  return sections;
}

std::string SimulatedWindows::getProfileString(const std::string& section, const std::string& key,
                                               const std::string& defaultValue, const std::string& file) {
  // Windows drops the default's trailing blanks.
  std::string fallback = defaultValue;
  while (!fallback.empty() && fallback.back() == ' ') fallback.pop_back();
  fallback = cut(fallback, kProfileLimit);
  const State::Node* node = state_->profileFile(file);
  if (!node) return fallback;
  const auto lines = splitLines(node->content);
  const auto header = findSection(lines, section);
  if (header == lines.size()) return fallback;
  const auto end = sectionEnd(lines, header);
  std::string name;
  std::string value;
  for (auto i = header + 1; i < end; ++i)
    if (keyLine(lines[i], name, value) && sameText(name, trimmed(key))) return cut(unquoted(value), kProfileLimit);
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
    std::string old;
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
  std::string value;
  for (auto i = header + 1; i < sectionEnd(lines, header); ++i)
    // As Wine: a comment line is found by its name, but not listed.
    if (keyLine(lines[i], name, value) && name.front() != ';') names.push_back(name);
  return names;
}

}  // namespace tsaver
