#pragma once
// The plan of an installation: the installer's own wizard handlers run from
// Next to Finish on a simulated Windows that holds the package and the given
// machine facts, then the uninstaller's removal run on the same machine; what
// each changed is read off the machine afterwards.
#include <optional>
#include <string>
#include <vector>

#include "platform/SimulatedWindows.h"
#include "vendor/PackageFolder.h"

namespace tsaver::vendor {

struct MachineFacts {
  std::string windowsDir = "C:\\WINDOWS";
  // Empty: the classic folders below the Windows directory, "Start Menu\Programs" and "Desktop".
  std::string programsDir;
  std::string desktopDir;
  // Empty: the wizard's default. Otherwise the folder the user picks with the folder
  // button; the product then goes into DIR\<product>\Screen Saver, as the wizard makes
  // it. A DIR that already ends so is taken as the install directory itself.
  std::string installDir;
};

struct PlannedFile {
  std::string path;
  std::string source;  // the package file it came from; empty when none
  std::size_t bytes = 0;
};

struct SettingEntry {
  std::string file, section, key, value;
};

struct LogEntry {
  std::string section, key, value;
  bool operator==(const LogEntry& o) const { return section == o.section && key == o.key && value == o.value; }
};

struct PlannedLink {
  std::string path;
  ShellLinkData data;
};

struct InstallPlan {
  std::string productName;
  std::string installDir;
  MachineFacts facts;                 // as used, defaults filled in
  bool completed = false;             // the wizard reached its finish page and Finish ran
  std::vector<std::string> messages;  // message boxes of the installation, in order
  std::vector<PlannedFile> files;     // written files other than settings files and links, in order
  std::string pathFile;
  std::optional<std::string> pathFileContent;
  std::vector<SettingEntry> settings;  // new or changed settings-file entries, the log and path file aside
  std::vector<SimulatedWindows::RegistryEntry> registry;  // new or changed values
  std::vector<PlannedLink> links;
  std::vector<SimulatedWindows::Launch> programs;
  std::vector<std::string> systemCalls;  // in order, e.g. "SystemParametersInfoA(17,1,0,2)"
  std::vector<LogEntry> log;             // UNINSTALL.INI after Finish, in file order
  std::vector<std::string> packageFilesDeleted;
  // The removal afterwards, the installed uninstaller started from its link after the user quit
  // the tray program: of everything the installation added or changed, what goes and what stays.
  bool removalRan = false;
  std::vector<std::string> removalMessages;
  std::vector<std::string> removes, leaves;
};

InstallPlan planInstallation(const PackageFolder& package, MachineFacts facts);

// "HKCU" or "HKLM", as the plan names registry values and keys ("HKLM\Key\\value", "HKLM\Key\").
const char* registryRootName(RegRoot root);
// A value's data as text: a string as stored, a REG_DWORD as its decimal number.
std::string registryDataText(const SimulatedWindows::RegistryEntry& value);

}  // namespace tsaver::vendor
