#include "uninstall_log/SettingsFile.h"

#include <algorithm>

#include "platform/Errors.h"
#include "platform/Paths.h"

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
  }
  if (mayHold(key)) return platform_.getProfileString(section, key, defaultValue, path_);
  for (const auto& known : keys_.missingKeyAnswers)
    if (known.first == defaultValue) return known.second;
  keys_.missingKeyAnswers.emplace_back(defaultValue,
                                       platform_.getProfileString(section, kKeyNoFileHolds, defaultValue, path_));
  return keys_.missingKeyAnswers.back().second;
}

std::vector<std::string> SettingsFile::KeyNames(const std::string& section) {
  return platform_.profileKeyNames(section, path_);
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
