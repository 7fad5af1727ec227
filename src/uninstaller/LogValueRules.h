#pragma once
// Which uninstall log values the removal run acts on: only those of the forms an
// installation writes. A corrupted or planted log could otherwise delete any
// file, another program's Run value or a section of a system settings file; a
// value of any other form is passed over without a message.
#include <string>

namespace tsaver::logrules {

// Not cut by the reader: a value that fills its 1023 characters names another path.
bool isWhole(const std::string& value);

// "FILES"/FILE1: a ".scr" file directly in the Windows directory.
bool isScreenSaverPath(const std::string& value, const std::string& windowsDir);

// The other "FILES" values: a bare file name (no "\", "/" or ":", not "." or
// ".."), neither the log nor the uninstaller.
bool isProductFileName(const std::string& value);

// "SHORTCUTS": a ".lnk" file.
bool isGroupShortcut(const std::string& value);

// "DESKTOP": a bare ".lnk" file name.
bool isDesktopShortcutName(const std::string& value);

// "REGISTRY": the Run value's data names the tray program in the start directory,
// quoted, as the installer writes it.
bool namesTrayProgramIn(const std::string& runValueData, const std::string& startDir);

// "UNINSTALLENTRY": a key name directly below the list of installed programs (no "\").
bool isUninstallEntryName(const std::string& value);

// The entry's UninstallString names the uninstaller in the start directory, quoted,
// as the installer writes it.
bool namesUninstallerIn(const std::string& uninstallString, const std::string& startDir);

// "INIFILE": a bare settings-file name other than "system.ini" and "win.ini",
// with a section that is not empty.
bool isProductSettingsSection(const std::string& file, const std::string& section);

}  // namespace tsaver::logrules
