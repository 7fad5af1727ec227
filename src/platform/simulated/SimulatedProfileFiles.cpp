// The simulated machine's profile (settings) files, read and written with Windows' rules.
#include "platform/simulated/MachineState.h"

#include "platform/Paths.h"
#include "platform/ProfileText.h"

namespace tsaver {

using namespace simulated;
using namespace profile;

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
  // No key erases the section, no value the key.
  const auto header = findSection(lines, section);
  bool changed = true;
  if (key && value) {
    setProfileValue(lines, section, *key, *value);
  } else if (header == lines.size()) {
    changed = false;
  } else if (!key) {
    lines.erase(lines.begin() + header, lines.begin() + sectionEnd(lines, header));
  } else {
    const auto found = findKey(lines, header, sectionEnd(lines, header), *key);
    changed = found != lines.size();
    if (changed) lines.erase(lines.begin() + found);
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
