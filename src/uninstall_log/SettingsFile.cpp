#include "uninstall_log/SettingsFile.h"

#include "platform/Errors.h"

namespace tsaver {

std::string SettingsFile::ReadString(const std::string& section, const std::string& key,
                                     const std::string& defaultValue) {
  return platform_.getProfileString(section, key, defaultValue, path_);
}

void SettingsFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  if (!platform_.writeProfileString(section, key, value, path_)) throw ESettingsWriteError(path_);
}

void SettingsFile::EraseSection(const std::string& section) {
  if (!platform_.writeProfileString(section, std::nullopt, std::nullopt, path_)) throw ESettingsWriteError(path_);
}

}  // namespace tsaver
