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

// Beyond plain ASCII the platform's case rules are its own, blanks around the key
// are its to trim, and a comment line is found by its name but not listed (Wine,
// measured): the file, read by the platform, decides those keys.
bool platformDecides(const std::string& key) {
  return !isPlainAscii(key) || hasOuterBlank(key) || (!key.empty() && key.front() == ';');
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
  keys_.textValues.reset();
  keys_.missingKeyAnswers.clear();
}

bool SettingsFile::mayHold(const std::string& key) const {
  if (platformDecides(key)) return true;
  return keys_.beyondAscii || listedIndex(upperAscii(key));
}

std::optional<std::size_t> SettingsFile::listedIndex(const std::string& upperName) const {
  const auto at = std::lower_bound(keys_.upperNames.begin(), keys_.upperNames.end(), upperName);
  if (at == keys_.upperNames.end() || *at != upperName) return std::nullopt;
  return static_cast<std::size_t>(at - keys_.upperNames.begin());
}

void SettingsFile::readSectionText(const std::string& text) {
  std::vector<std::optional<std::string>> values(keys_.upperNames.size());
  const std::vector<std::string> lines = profile::splitLines(text);
  const std::size_t header = profile::findSection(lines, keys_.section);
  std::string name;
  std::optional<std::string> value;
  // From the last line up: the first key of a name decides, so it is the one kept.
  if (header != lines.size())
    for (std::size_t i = profile::sectionEnd(lines, header); i-- > header + 1;)
      if (profile::keyLine(lines[i], name, value))
        if (const auto index = listedIndex(upperAscii(name))) values[*index] = value;
  keys_.textValues = std::move(values);
}

std::string SettingsFile::ReadString(const std::string& section, const std::string& key,
                                     const std::string& defaultValue) {
  if (!keys_.known || keys_.section != section) {
    forgetSection();
    keys_.known = true;
    keys_.section = section;
    for (const std::string& name : platform_.profileKeyNames(section, path_)) {
      keys_.beyondAscii = keys_.beyondAscii || !isPlainAscii(name);
      keys_.upperNames.push_back(upperAscii(name));
    }
    std::sort(keys_.upperNames.begin(), keys_.upperNames.end());
    // A bare name is the platform's to place.
    if (!keys_.upperNames.empty() && path_.find_first_of("\\/:") != std::string::npos) {
      try {
        const std::string text = platform_.readFile(path_);
        if (isPlainAscii(text) && text.find('\0') == std::string::npos) readSectionText(text);
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
  if (!keys_.textValues || keys_.beyondAscii || key.empty() || platformDecides(key)) return std::nullopt;
  const auto index = listedIndex(upperAscii(key));
  // Without a value, the platform's default decides.
  if (!index || !(*keys_.textValues)[*index]) return std::nullopt;
  return profile::readAs(*(*keys_.textValues)[*index]);
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
