// Finish: make the product the active screen saver, start the tray program,
// copy the extra files and perform the post-install action.
#include <optional>

#include "installer/InstallFiles.h"
#include "installer/UninstallEntry.h"
#include "installer/main.h"
#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "platform/TextFile.h"
#include "uninstall_log/HeldSettingsFile.h"
#include "uninstall_log/LogNames.h"
#include "uninstaller/LogValueRules.h"

namespace tsaver {

namespace {

constexpr const char* kSystemIni = "System.ini";
constexpr const char* kRunKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";

}  // namespace

void TfrmInstall::runFinishStage() {
  // Nothing here may keep the program from ending: the first error ends the stage, unreported.
  try {
    const std::string saverFile = state_.ProductName + ".scr";
    platform_.writeProfileString("boot", std::string("SCRNSAVE.EXE"), saverFile, kSystemIni);
    pump();
    const auto switchScreenSaverOn = [this](bool pumping) {
      {
        Registry desktop(platform_);
        if (desktop.OpenKey("Control Panel\\desktop", false)) {
          desktop.WriteString("ScreenSaveActive", "1");
          desktop.FlushKey();
        }
      }
      if (pumping) pump();
      platform_.setScreenSaveActive();
      if (pumping) pump();
    };
    switchScreenSaverOn(true);

    platform_.shellExecute("REGSVR32.EXE", "/s " + state_.WindowsDir + "\\SWFLASH.OCX", kShowNormal);

    // Taken away since the wizard read it (an ejected CD): the bare name written above
    // stays, and the rest of the stage, which needs nothing more of the package, goes on.
    std::optional<TextReader> data;
    try {
      data.emplace(platform_, state_.SourceDir + kDataFile);
    } catch (const EInOutError& error) {
      reportUnreadablePackageFile(kDataFile, error, "The screen saver is selected by its file name only.");
    }
    if (data) {
      const std::string shortPath = platform_.shortPathName(state_.WindowsDir + "\\" + data->readLine() + ".scr");
      // A failed conversion keeps the bare name written above rather than wiping the setting.
      if (!shortPath.empty())
        platform_.writeProfileString("boot", std::string("SCRNSAVE.EXE"), shortPath, kSystemIni);
    }
    switchScreenSaverOn(false);

    if (state_.Options.TrayOption == "True") {
      const std::string trayProgram = InstallDir() + "\\" + kTrayProgram;
      platform_.shellExecute(trayProgram, "", kShowNormal);
      Registry run(platform_);
      if (run.OpenKey(kRunKey, true)) run.WriteString(state_.ProductName + " screen saver", "\"" + trayProgram + "\"");
    }

    copyExtraFiles();
    updateUninstallEntrySize(platform_, state_.ProductName, InstallDir());
    platform_.sleep(500);
    performPostInstallAction();
  } catch (...) {
  }
}

void TfrmInstall::copyExtraFiles() {
  // Held: a thousand extra files would otherwise read and write the growing log a thousand times.
  HeldSettingsFile uninstallLog(platform_);
  uninstallLog.Open(InstallDir() + "\\" + log::kFileName);
  int number = frmCopying_->Gauge->maxValue() + 1;
  std::optional<TextReader> opened;
  try {
    opened.emplace(platform_, state_.SourceDir + kExtrasList);
  } catch (const EInOutError& error) {
    // A package without the list ends the stage without a word; one that lost it since
    // the wizard read it says what it could not install.
    if (state_.ExtrasInPackage) reportUnreadablePackageFile(kExtrasList, error, "Its extra files were not installed.");
    throw;
  }
  TextReader& extras = *opened;
  for (std::string line = extras.readLine(); !line.empty(); line = extras.readLine()) {
    // Only what the removal will take again: a bare name the log holds whole, and
    // neither the uninstaller nor its log (a copy would replace them).
    if (!logrules::isProductFileName(line)) continue;
    const std::string source = state_.SourceDir + line;
    const std::string destination = InstallDir() + "\\" + line;
    // Moved where it can be: one rename, where a copy creates and fills a file and the
    // package then deletes its own. Otherwise copied: only a file that arrived may leave
    // the package, or it would be lost; an older copy that could not be replaced is
    // still there, so the copy's result counts too.
    if (!platform_.moveFileReplacing(source, destination)) {
      if (!copyWritable(platform_, source, destination)) continue;
      platform_.deleteFile(source);
    }
    uninstallLog.WriteString(log::kFilesSection, log::numberedKey(log::kFileStem, number++), line);
  }
  uninstallLog.Release();
}

void TfrmInstall::reportUnreadablePackageFile(const char* name, const EInOutError& error,
                                              const std::string& consequence) {
  application().showMessage("Unable to read " + state_.SourceDir + name + " from the installation package (" +
                            error.message() + "). " + consequence);
}

void TfrmInstall::performPostInstallAction() {
  switch (strToInt(state_.Options.PostInstallAction)) {
    case 1:
      platform_.startScreenSaver();
      break;
    case 2:
      platform_.winExec("rundll32 shell32.dll,Control_RunDLL Desk.cpl,,1", kShow);
      break;
    case 3:
      if (platform_.fileExists(InstallDir() + "\\Readme.txt"))
        platform_.shellExecute(InstallDir() + "\\Readme.txt", "", kShowMaximized);
      break;
    default:
      break;
  }
}

}  // namespace tsaver
