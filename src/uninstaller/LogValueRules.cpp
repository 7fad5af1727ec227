#include "uninstaller/LogValueRules.h"

#include "platform/Paths.h"
#include "uninstall_log/LogNames.h"

namespace tsaver::logrules {

namespace {

// GetPrivateProfileStringA's 1024-byte buffer holds 1023 characters and the NUL.
constexpr std::size_t kReadLimit = 1023;

bool sameAscii(const std::string& a, const std::string& b) { return upperAscii(a) == upperAscii(b); }

bool isBareName(const std::string& value) {
  return isWhole(value) && !value.empty() && value.find_first_of("\\/:") == std::string::npos && value != "." &&
         value != "..";
}

// The extension in any case, after a name part that is more than the extension.
bool hasExtension(const std::string& path, const char* extension) {
  const std::string name = fileNamePart(path);
  return sameAscii(extensionPart(path), extension) && name.size() > extensionPart(path).size();
}

}  // namespace

bool isWhole(const std::string& value) { return value.size() < kReadLimit; }

bool isScreenSaverPath(const std::string& value, const std::string& windowsDir) {
  return isWhole(value) && sameAscii(directoryPart(value), windowsDir + "\\") &&
         isBareName(fileNamePart(value)) && hasExtension(value, ".scr");
}

bool isProductFileName(const std::string& value) {
  return isBareName(value) && !sameAscii(value, log::kFileName) && !sameAscii(value, log::kUninstallerName);
}

bool isGroupShortcut(const std::string& value) { return isWhole(value) && hasExtension(value, ".lnk"); }

bool isDesktopShortcutName(const std::string& value) { return isBareName(value) && hasExtension(value, ".lnk"); }

bool namesTrayProgramIn(const std::string& runValueData, const std::string& startDir) {
  return sameAscii(runValueData, "\"" + startDir + "\\TaskTray.exe\"");
}

bool isUninstallEntryName(const std::string& value) {
  return isWhole(value) && !value.empty() && value.find('\\') == std::string::npos;
}

bool namesUninstallerIn(const std::string& uninstallString, const std::string& startDir) {
  return sameAscii(uninstallString, "\"" + startDir + "\\" + log::kUninstallerName + "\"");
}

bool isProductSettingsSection(const std::string& file, const std::string& section) {
  return isBareName(file) && !sameAscii(file, "system.ini") && !sameAscii(file, "win.ini") && isWhole(section) &&
         !section.empty();
}

}  // namespace tsaver::logrules
