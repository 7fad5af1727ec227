#include "vendor/InstallPlan.h"

#include <map>

#include "app/Startup.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "toolkit/Application.h"
#include "toolkit/HeadlessBackend.h"
#include "uninstall_log/LogNames.h"
#include "uninstaller/TemporaryCopy.h"
#include "uninstaller/uninstall1.h"
#include "vendor/HeadlessWizard.h"

namespace tsaver::vendor {

namespace {

constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
constexpr const char* kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";

bool endsWithCaseBlind(const std::string& text, const std::string& tail) {
  return text.size() >= tail.size() && upperAscii(text.substr(text.size() - tail.size())) == upperAscii(tail);
}

bool isDirectoryEntry(const std::string& path) { return !path.empty() && path.back() == '\\'; }

// What the machine holds at one moment, as far as an installation can change it.
struct Snapshot {
  std::vector<std::string> paths;               // in order of creation; directories end in "\"
  std::map<std::string, std::string> contents;  // by upper-case path; a directory holds nothing
  std::vector<SimulatedWindows::RegistryEntry> registry;
  std::vector<std::pair<RegRoot, std::string>> keys;
  std::vector<SettingEntry> settings;  // every entry of every ".ini" file

  explicit Snapshot(const SimulatedWindows& machine)
      : paths(machine.allPaths()), registry(machine.registryValues()), keys(machine.registryKeys()) {
    for (const std::string& path : paths) {
      contents[upperAscii(path)] = isDirectoryEntry(path) ? std::string() : machine.fileContent(path).value_or("");
      if (isDirectoryEntry(path) || !endsWithCaseBlind(path, ".ini")) continue;
      for (const auto& [section, entries] : machine.profileSections(path))
        for (const auto& [key, value] : entries) settings.push_back({path, section, key, value});
    }
  }

  bool holdsPath(const std::string& path) const { return contents.count(upperAscii(path)) != 0; }
  // New, or held with other bytes.
  bool pathDiffers(const Snapshot& earlier, const std::string& path) const {
    const auto was = earlier.contents.find(upperAscii(path));
    return was == earlier.contents.end() || was->second != contents.at(upperAscii(path));
  }
  const SimulatedWindows::RegistryEntry* value(const SimulatedWindows::RegistryEntry& wanted) const {
    for (const auto& entry : registry)
      if (entry.root == wanted.root && upperAscii(entry.key) == upperAscii(wanted.key) &&
          upperAscii(entry.name) == upperAscii(wanted.name))
        return &entry;
    return nullptr;
  }
  bool holdsKey(const std::pair<RegRoot, std::string>& wanted) const {
    for (const auto& key : keys)
      if (key.first == wanted.first && upperAscii(key.second) == upperAscii(wanted.second)) return true;
    return false;
  }
  const SettingEntry* setting(const SettingEntry& wanted) const {
    for (const auto& entry : settings)
      if (upperAscii(entry.file) == upperAscii(wanted.file) &&
          upperAscii(entry.section) == upperAscii(wanted.section) && upperAscii(entry.key) == upperAscii(wanted.key))
        return &entry;
    return nullptr;
  }
};

std::string registryName(const SimulatedWindows::RegistryEntry& entry) {
  return registryRootName(entry.root) + std::string("\\") + entry.key + "\\\\" + entry.name;
}

// A value that is new, or holds other data than before.
bool registryValueDiffers(const Snapshot& earlier, const SimulatedWindows::RegistryEntry& entry) {
  const auto* was = earlier.value(entry);
  return !was || was->data != entry.data || was->type != entry.type;
}

std::string settingName(const SettingEntry& entry) { return entry.file + " [" + entry.section + "] " + entry.key; }

// The package file an installed file was copied from: the same name, or the program as the uninstaller.
std::string sourceOf(const std::string& installed, const PackageFolder& package) {
  const std::string name = upperAscii(fileNamePart(installed));
  if (name == upperAscii(log::kUninstallerName) && package.find("Install.exe"))
    return package.find("Install.exe")->name;
  for (const PackageFile& file : package.files)
    if (upperAscii(fileNamePart(file.name)) == name) return file.name;
  return std::string();
}

void setUpMachine(SimulatedWindows& machine, const MachineFacts& facts, const PackageFolder& package) {
  // The folders come from the facts alone, spelled as given: a short path name
  // keeps the spelling of the folders on the disk.
  machine.deleteFile("C:\\INSTALL.EXE");
  for (const char* folder :
       {"C:\\WINDOWS\\Desktop", "C:\\WINDOWS\\Start Menu\\Programs", "C:\\WINDOWS\\Start Menu", "C:\\WINDOWS"})
    machine.removeDirectory(folder);
  machine.setWindowsDirectory(facts.windowsDir);
  machine.putDirectory("C:\\Program Files");  // every Windows has it
  machine.putDirectory(facts.programsDir);
  machine.setDesktopDirectory(facts.desktopDir);
  machine.putRegistryValue(kShellFolders, "Programs", facts.programsDir);
  machine.putRegistryValue(kShellFolders, "Desktop", facts.desktopDir);
  // Every Windows has this key; the plan assumes a machine whose screen saver is off.
  machine.putRegistryValue("Control Panel\\desktop", "ScreenSaveActive", "0");
  // Every Windows has these keys, if empty.
  for (const auto& [root, key] : {std::make_pair(RegRoot::CurrentUser, kRunKey),
                                  std::make_pair(RegRoot::LocalMachine, log::kUninstallEntries)})
    machine.regCloseKey(machine.regOpenKey(root, key, true));
  // The drive asked to install on is there (the folder itself need not be).
  if (facts.installDir.size() >= 2 && facts.installDir[1] == ':') machine.addDrive(facts.installDir[0]);
  putPackage(machine, package);
}

// The folder to pick with the folder button so that the wizard installs where asked.
std::string folderToPick(const std::string& asked, const std::string& product) {
  const std::string tail = "\\" + product + "\\Screen Saver";
  if (!endsWithCaseBlind(asked, tail)) return asked;
  const std::string picked = asked.substr(0, asked.size() - tail.size());
  return picked.size() == 2 && picked[1] == ':' ? picked + "\\" : picked;
}

// Welcome, the folder button if asked, the run, Finish: as a user clicks through.
void runWizard(SimulatedWindows& machine, const MachineFacts& facts, InstallPlan& plan) {
  HeadlessWizard wizard(machine);
  TfrmInstall& install = *wizard.install;
  plan.productName = wizard.state.ProductName;
  if (install.TimerClose->enabled()) {
    install.TimerClose->tick();
  } else if (!wizard.app.terminated()) {
    install.btn_next->click();
    if (!facts.installDir.empty()) {
      wizard.ui.answerChooser(folderToPick(facts.installDir, wizard.state.ProductName));
      wizard.ui.answerConfirm(true);  // the folder may not exist yet: create it, as the user would
      install.btn_filename->click();
    }
    plan.installDir = install.InstallDir();
    install.btn_next->click();
    if (!wizard.app.terminated() && install.Notebook->activePage() == "P5") {
      install.btn_next->click();
      plan.completed = true;
    }
  }
  plan.messages = wizard.ui.messageTexts();
}

// The installed uninstaller, started from its link in the install directory and
// confirmed. It hands the removal to its copy in the temporary folder, which runs
// in the install directory and deletes the original once that has ended.
void runRemoval(SimulatedWindows& machine, InstallPlan& plan) {
  try {
    machine.setCurrentDirectory(plan.installDir);
  } catch (const EInOutError&) {
    return;
  }
  machine.setModuleFileName(machine.temporaryDirectory() + "\\" + kTemporaryCopyName);
  tk::HeadlessBackend ui(machine);
  ui.answerConfirm(true);
  tk::Application app(ui);
  app.setTitle(kUninstallTitle);
  TfrmUninstall* uninstall = nullptr;
  app.createForm(uninstall, machine);
  app.run();
  if (uninstall->Timer->enabled()) {
    uninstall->Timer->tick();
    plan.removalRan = true;
  }
  plan.removalMessages = ui.messageTexts();
}

void describeInstallation(const SimulatedWindows& machine, const Snapshot& before, const Snapshot& after,
                          const PackageFolder& package, InstallPlan& plan) {
  const std::string logPath = plan.installDir + "\\" + log::kFileName;
  plan.pathFile = plan.facts.windowsDir + "\\" + plan.productName + ".ini";
  if (after.pathDiffers(before, plan.pathFile)) plan.pathFileContent = machine.fileContent(plan.pathFile);
  for (const std::string& path : after.paths) {
    if (isDirectoryEntry(path) || !after.pathDiffers(before, path)) continue;
    if (const auto link = machine.shellLink(path)) {
      plan.links.push_back({path, *link});
      continue;
    }
    const std::string source = sourceOf(path, package);
    if (source.empty() && endsWithCaseBlind(path, ".ini")) continue;  // settings files, shown by their entries
    if (upperAscii(path).rfind(upperAscii(kSimulatedPackageDir), 0) == 0) continue;
    plan.files.push_back({path, source, machine.fileContent(path).value_or("").size()});
  }
  for (const SettingEntry& entry : after.settings) {
    if (upperAscii(entry.file) == upperAscii(logPath) || upperAscii(entry.file) == upperAscii(plan.pathFile)) continue;
    const SettingEntry* was = before.setting(entry);
    if (!was || was->value != entry.value) plan.settings.push_back(entry);
  }
  for (const auto& entry : after.registry)
    if (registryValueDiffers(before, entry)) plan.registry.push_back(entry);
  for (const auto& [section, entries] : machine.profileSections(logPath))
    for (const auto& [key, value] : entries) plan.log.push_back({section, key, value});
  for (const PackageFile& file : package.files)
    if (!after.holdsPath(kSimulatedPackageDir + file.name)) plan.packageFilesDeleted.push_back(file.name);
}

// Of everything the installation added or changed, what the removal took away and what it left.
void describeRemoval(const Snapshot& before, const Snapshot& installed, const Snapshot& removed, InstallPlan& plan) {
  const auto sort = [&plan](bool gone, const std::string& name) {
    (gone ? plan.removes : plan.leaves).push_back(name);
  };
  for (const std::string& path : installed.paths)
    if (installed.pathDiffers(before, path) && upperAscii(path).rfind(upperAscii(kSimulatedPackageDir), 0) != 0)
      sort(!removed.holdsPath(path), path);
  for (const auto& key : installed.keys)
    if (!before.holdsKey(key))
      sort(!removed.holdsKey(key), registryRootName(key.first) + std::string("\\") + key.second + "\\");
  for (const auto& entry : installed.registry)
    if (registryValueDiffers(before, entry)) sort(!removed.value(entry), registryName(entry));
  for (const SettingEntry& entry : installed.settings) {
    if (endsWithCaseBlind(entry.file, log::kFileName)) continue;  // the log goes as a whole file
    const SettingEntry* was = before.setting(entry);
    if (!was || was->value != entry.value) sort(!removed.setting(entry), settingName(entry));
  }
}

}  // namespace

const char* registryRootName(RegRoot root) { return root == RegRoot::LocalMachine ? "HKLM" : "HKCU"; }

std::string registryDataText(const SimulatedWindows::RegistryEntry& value) {
  if (value.type != SimulatedWindows::ValueType::DWord) return value.data;
  std::uint32_t number = 0;
  for (std::size_t i = value.data.size(); i-- > 0;) number = number << 8 | static_cast<unsigned char>(value.data[i]);
  return std::to_string(number);
}

InstallPlan planInstallation(const PackageFolder& package, MachineFacts facts) {
  while (facts.windowsDir.size() > 3 && facts.windowsDir.back() == '\\') facts.windowsDir.pop_back();
  if (facts.programsDir.empty()) facts.programsDir = facts.windowsDir + "\\Start Menu\\Programs";
  if (facts.desktopDir.empty()) facts.desktopDir = facts.windowsDir + "\\Desktop";
  InstallPlan plan;
  plan.facts = facts;

  SimulatedWindows machine;
  setUpMachine(machine, facts, package);
  const Snapshot before(machine);
  runWizard(machine, facts, plan);
  const Snapshot installed(machine);
  plan.programs = machine.launches();
  plan.systemCalls = machine.journal();
  describeInstallation(machine, before, installed, package, plan);
  if (!plan.completed) return plan;

  runRemoval(machine, plan);
  describeRemoval(before, installed, Snapshot(machine), plan);
  return plan;
}

}  // namespace tsaver::vendor
