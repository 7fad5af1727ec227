#pragma once
// What an installation left on the machine, read back through the system's
// own API: settings files, registry values, short paths and shell links.
#include <string>
#include <utility>
#include <vector>

namespace e2e {

struct ProfileSection {
  std::string name;
  std::vector<std::pair<std::string, std::string>> keys;  // in file order
  bool operator==(const ProfileSection& o) const { return name == o.name && keys == o.keys; }
};
std::ostream& operator<<(std::ostream& os, const ProfileSection& s);

// Every section of the settings file with its keys, in file order.
std::vector<ProfileSection> profileSections(const std::string& file);
// GetPrivateProfileStringA, "<none>" when the key is missing.
std::string profileString(const std::string& file, const std::string& section, const std::string& key);

// A REG_SZ value under HKEY_CURRENT_USER; "<none>" when missing.
std::string userRegistryString(const std::string& key, const std::string& value);
void setUserRegistryString(const std::string& key, const std::string& value, const std::string& data);
void deleteUserRegistryValue(const std::string& key, const std::string& value);

std::string shortPath(const std::string& path);

struct LinkFields {
  std::string path, workingDir, description, arguments, iconFile;
  int iconIndex = -1;
  int showCommand = -1;  // from the file's header
  bool operator==(const LinkFields& o) const {
    return path == o.path && workingDir == o.workingDir && description == o.description &&
           arguments == o.arguments && iconFile == o.iconFile && iconIndex == o.iconIndex &&
           showCommand == o.showCommand;
  }
};
std::ostream& operator<<(std::ostream& os, const LinkFields& l);

// Loads the .lnk with IShellLink; throws RobotError when it cannot.
LinkFields readLink(const std::string& file);

}  // namespace e2e
