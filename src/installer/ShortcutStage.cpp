// The installation run's shortcut stage: the Start-menu program group, the
// desktop link and the rest of the uninstall log, ending on the finish page.
#include <array>

#include "installer/InstallFiles.h"
#include "installer/main.h"
#include "uninstall_log/LogNames.h"
#include "uninstall_log/SettingsFile.h"

namespace tsaver {

namespace {

// A program group row: "name|program file" in slots 1 to 3 of the file table.
struct ShortcutSpec {
  std::string name;
  std::string program;
};

ShortcutSpec splitSpec(const std::string& text) {
  const auto bar = text.find('|');
  return {text.substr(0, bar), bar == std::string::npos ? std::string() : text.substr(bar + 1)};
}

}  // namespace

void TfrmInstall::runShortcutStage() {
  const std::string& product = state_.ProductName;
  const InstallOptions& options = state_.Options;
  const std::string installDir = InstallDir();
  const std::string productIcon = installDir + "\\" + product + ".ico";
  const std::string desktopName = product + " screen saver";
  TKesShellLink& link = *KesShellLink1;

  state_.InstallFiles[0] = product + " task tray program|" + kTrayProgram;
  state_.InstallFiles[1] = desktopName + "|" + kDesktopProgram;
  state_.InstallFiles[2] = std::string("Uninstall|") + log::kUninstallerName;

  // The link fields every shortcut sets, since the component keeps the last ones.
  const auto describe = [&](const std::string& name, const std::string& target, bool productIconFirst) {
    link.setDescription(name);
    link.setWorkingDir(installDir);
    link.setTarget(target);
    link.setArguments("");
    link.setWindowState(wsNormal);
    link.FileIcon().setFileName(productIconFirst && platform_.fileExists(productIcon) ? productIcon : target);
    link.FileIcon().setIconIndex(0);
  };

  SettingsFile uninstallLog(platform_);
  uninstallLog.Open(installDir + "\\" + log::kFileName);
  std::string groupDir;
  if (options.GroupOption == "True") {
    // Looked up afresh: if the lookup failed while the window was built, the folder
    // is set with no path, and the group would be made in the current directory.
    link.setShellFolder(sfNone);
    link.setShellFolder(sfPrograms);
    const std::string programsDir = link.FileName();
    groupDir = programsDir + product + " screen saver";
    forceDirectories(platform_, groupDir);
    const std::array<bool, 3> rowMade = {options.TrayOption != "False", options.DesktopOption != "False", true};
    for (int row = 1; row <= 3; ++row) {
      if (!rowMade[row - 1]) continue;
      const ShortcutSpec entry = splitSpec(state_.InstallFiles[row - 1]);
      link.setFileName(entry.name);
      describe(entry.name, installDir + "\\" + entry.program, row != 3);
      link.setShellFolder(sfPrograms);
      link.Save();
      // Written in the Programs folder, then moved into the group; a link of that
      // name already in the group stays, and the new one goes.
      const std::string written = programsDir + entry.name + ".lnk";
      const std::string grouped = groupDir + "\\" + entry.name + ".lnk";
      platform_.moveFile(written, grouped);
      platform_.deleteFile(written);
      uninstallLog.WriteString(log::kShortcutsSection, log::numberedKey(log::kShortcutStem, row), grouped);
    }
  }
  uninstallLog.Release();

  if (options.DesktopOption == "True") {
    link.setFileName(desktopName);
    describe(desktopName, installDir + "\\" + kDesktopProgram, true);
    link.setShellFolder(sfDesktop);
    link.Save();
  }

  uninstallLog.Open(installDir + "\\" + log::kFileName);
  if (options.DesktopOption == "True")
    uninstallLog.WriteString(log::kDesktopSection, log::kDesktopShortcutKey, desktopName + ".lnk");
  if (options.TrayOption == "True")
    uninstallLog.WriteString(log::kRegistrySection, log::kRunValueKey, product + " screen saver");
  uninstallLog.WriteString(log::kDirectoriesSection, log::kInstallDirKey, installDir);
  if (options.GroupOption == "True") uninstallLog.WriteString(log::kDirectoriesSection, log::kGroupDirKey, groupDir);
  uninstallLog.WriteString(log::kIniFileSection, log::kCfgFileKey, log::kSaverSettingsFile);
  uninstallLog.WriteString(log::kIniFileSection, log::kSectionKey, state_.SettingsSection);
  uninstallLog.Release();

  repaint();
  Notebook->setActivePage("P5");
  markStep(Label5, Label6);
  btn_back->setEnabled(false);
  btn_next->setEnabled(true);
  btn_next->setCaption("&Finish");
}

}  // namespace tsaver
