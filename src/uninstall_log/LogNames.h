#pragma once
// The uninstall log's vocabulary, shared by the installer that writes it and
// the uninstaller that reads it back.
#include <string>
#include <vector>

namespace tsaver::log {

inline constexpr const char* kFileName = "UNINSTALL.INI";
inline constexpr const char* kUninstallerName = "Uninstall.exe";

inline constexpr const char* kFilesSection = "FILES";
inline constexpr const char* kShortcutsSection = "SHORTCUTS";
inline constexpr const char* kDesktopSection = "DESKTOP";
inline constexpr const char* kRegistrySection = "REGISTRY";
inline constexpr const char* kDirectoriesSection = "DIRECTORIES";
inline constexpr const char* kIniFileSection = "INIFILE";
// The product's entry in the system's list of installed programs: its key's name
// under kUninstallEntries. Older uninstallers never look at this section.
inline constexpr const char* kUninstallEntrySection = "UNINSTALLENTRY";

inline constexpr const char* kFileStem = "FILE";
inline constexpr const char* kShortcutStem = "SHORTCUT";
inline constexpr const char* kKeyStem = "KEY";
inline constexpr const char* kDirectoryStem = "DIRECTORY";

inline constexpr const char* kDesktopShortcutKey = "SHORTCUT4";
inline constexpr const char* kRunValueKey = "KEY1";
inline constexpr const char* kInstallDirKey = "DIRECTORY1";
inline constexpr const char* kGroupDirKey = "DIRECTORY2";
inline constexpr const char* kCfgFileKey = "CFGFILE";
inline constexpr const char* kSectionKey = "SECTION";
inline constexpr const char* kUninstallEntryKey = "KEY";

// Under HKEY_LOCAL_MACHINE, in the registry's default view; Windows lists its keys as installed programs.
inline constexpr const char* kUninstallEntries = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// The reader asks with this default and treats the answer as "no entry".
inline constexpr const char* kNone = "NONE";
// The reader's defaults for a log without an "INIFILE" section.
inline constexpr const char* kDefaultCfgFile = "VELUMINA.INI";
inline constexpr const char* kDefaultSection = kNone;
// The screen saver's settings file, written by the installer as "CFGFILE".
inline constexpr const char* kSaverSettingsFile = "TSaver.ini";

// Every numbered section is probed over this range, whatever the log holds.
inline constexpr int kFirstNumber = 1;
inline constexpr int kLastNumber = 999;

// Stem + the decimal number, no sign, no leading zeros.
inline std::string numberedKey(const char* stem, int number) { return stem + std::to_string(number); }

// The numbers above kLastNumber among the key names spelled as numberedKey spells
// them (the stem in any case, as the profile functions find it), in ascending order,
// each once. An "Extras.txt" of more than 983 files numbers its entries past the
// probe range.
std::vector<int> numbersBeyondProbeRange(const std::vector<std::string>& keyNames, const char* stem);

}  // namespace tsaver::log
