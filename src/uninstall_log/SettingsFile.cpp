#include "uninstall_log/SettingsFile.h"

#include <algorithm>

#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/ProfileText.h"

namespace tsaver {

namespace {

// No line of a settings file can name a key with "=" in it: the first "=" ends the name.
constexpr const char* kKeyNoFileHolds = "=";

bool isPlainAscii(const std::string& text) {
  return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

bool hasOuterBlank(const std::string& text) {
  const auto blank = [](char c) { return c == ' ' || c == '\t'; };
  return !text.empty() && (blank(text.front()) || blank(text.back()));
}

}  // namespace

void SettingsFile::Open(const std::string& path) {
  path_ = path;
  forgetSection();
}

void SettingsFile::Release() {
  path_.clear();
  forgetSection();
}

void SettingsFile::forgetSection() {
  keys_.known = false;
  keys_.upperNames.clear();
  keys_.beyondAscii = false;
  keys_.lines.reset();
  keys_.missingKeyAnswers.clear();
}

bool SettingsFile::mayHold(const std::string& key) const {
  // Beyond plain ASCII the platform's case rules are its own, blanks around the
  // key are its to trim, and a comment line is found by its name but not listed
  // (Wine, measured): the file decides those keys.
  if (!isPlainAscii(key) || hasOuterBlank(key) || (!key.empty() && key.front() == ';')) return true;
  return keys_.beyondAscii || keys_.upperNames.count(upperAscii(key)) != 0;
}

std::string SettingsFile::ReadString(const std::string& section, const std::string& key,
                                     const std::string& defaultValue) {
  if (!keys_.known || keys_.section != section) {
    forgetSection();
    keys_.known = true;
    keys_.section = section;
    for (const std::string& name : platform_.profileKeyNames(section, path_)) {
      keys_.beyondAscii = keys_.beyondAscii || !isPlainAscii(name);
      keys_.upperNames.insert(upperAscii(name));
    }
    // A bare name is the platform's to place.
    if (!keys_.upperNames.empty() && path_.find_first_of("\\/:") != std::string::npos) {
      try {
        const std::string text = platform_.readFile(path_);
        if (isPlainAscii(text) && text.find('\0') == std::string::npos) keys_.lines = profile::splitLines(text);
      } catch (const EInOutError&) {
      }
    }
  }
  if (mayHold(key)) {
    if (const std::optional<std::string> value = valueInText(key)) return *value;
    return platform_.getProfileString(section, key, defaultValue, path_);
  }
  for (const auto& known : keys_.missingKeyAnswers)
    if (known.first == defaultValue) return known.second;
  keys_.missingKeyAnswers.emplace_back(defaultValue,
                                       platform_.getProfileString(section, kKeyNoFileHolds, defaultValue, path_));
  return keys_.missingKeyAnswers.back().second;
}

std::vector<std::string> SettingsFile::KeyNames(const std::string& section) {
  return platform_.profileKeyNames(section, path_);
}

std::optional<std::string> SettingsFile::valueInText(const std::string& key) const {
  if (!keys_.lines || keys_.beyondAscii || hasOuterBlank(key) || !isPlainAscii(key) || key.empty() || key.front() == ';')
    return std::nullopt;
  const std::vector<std::string>& lines = *keys_.lines;
  const std::size_t header = profile::findSection(lines, keys_.section);
  if (header == lines.size()) return std::nullopt;
  const std::size_t end = profile::sectionEnd(lines, header);
  std::string name;
  std::optional<std::string> value;
  // The first key of the name decides; without a value, the platform's default does.
  for (std::size_t i = header + 1; i < end; ++i)
    if (profile::keyLine(lines[i], name, value) && profile::sameText(name, key))
      return value ? std::optional<std::string>(profile::readAs(*value)) : std::nullopt;
  return std::nullopt;
}

void SettingsFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  forgetSection();
  if (!platform_.writeProfileString(section, key, value, path_)) throw ESettingsWriteError(path_);
}

void SettingsFile::EraseSection(const std::string& section) {
  forgetSection();
  if (!platform_.writeProfileString(section, std::nullopt, std::nullopt, path_)) throw ESettingsWriteError(path_);
}

}  // namespace tsaver
