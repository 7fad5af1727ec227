// The installation run's file phase: install directory, path file, the
// product files behind the copy window, and their log entries.
#include "installer/InstallFiles.h"
#include "installer/UninstallEntry.h"
#include "installer/main.h"
#include "platform/TextFile.h"
#include "uninstall_log/LogNames.h"
#include "uninstall_log/SettingsFile.h"

namespace tsaver {

namespace {
constexpr int kScreenSaverSlot = 1;
constexpr int kFlashControlSlot = 2;
constexpr int kFirstInstallDirSlot = 3;
}  // namespace

bool TfrmInstall::runInstallation() {
  InstallRollback rollback(platform_);
  if (!runFilePhase(rollback)) {
    // Nothing was logged, so no uninstaller could ever remove what this run left.
    rollback.takeBack();
    return false;
  }
  // The uninstaller and its log are in place: Windows may list the product from now on.
  writeUninstallEntry(platform_, state_.ProductName, InstallDir());
  runShortcutStage();
  return true;
}

bool TfrmInstall::copyProductFile(const std::string& source, const std::string& destination) {
  frmCopying_->lbl_file->setCaption("Copying to: " + destination);
  // An older copy that could not be replaced (in use) still exists: the copy's result decides.
  if (copyWritable(platform_, source, destination)) return true;
  application().showMessage("Unable to copy file, destination unable to be written. - " + destination);
  return false;
}

bool TfrmInstall::runFilePhase(InstallRollback& rollback) {
  const auto slot = [this](int number) -> const std::string& { return state_.InstallFiles[number - 1]; };
  const std::string pathFile = state_.WindowsDir + "\\" + state_.ProductName + ".ini";

  // Before anything is created; the Flash control is shared and stays in any case.
  rollback.watchDirectories(InstallDir());
  rollback.watchFile(pathFile);
  rollback.watchFile(InstallDir() + "\\" + log::kUninstallerName);
  rollback.watchFile(state_.WindowsDir + "\\" + slot(kScreenSaverSlot));
  for (int n = kFirstInstallDirSlot; n <= kInstallFileSlots; ++n)
    if (!slot(n).empty()) rollback.watchFile(InstallDir() + "\\" + slot(n));

  if (!platform_.directoryExists(InstallDir())) forceDirectories(platform_, InstallDir());
  if (!platform_.directoryExists(InstallDir())) {
    application().showMessage("Installation aborted, destination directory unable to be created.");
    return false;
  }

  writeTextLines(platform_, pathFile, {"[Data]", "Path=" + InstallDir() + "\\"});

  markStep(Label4, Label5);
  btn_back->setEnabled(false);
  btn_next->setEnabled(false);
  btn_cancel->setEnabled(false);
  btn_filename->setEnabled(false);
  bool installOk = true;
  frmCopying_->show();
  frmCopying_->bringToFront();

  for (int n = kFlashControlSlot; n <= kInstallFileSlots; ++n) {
    const std::string old = InstallDir() + "\\" + slot(n);
    if (!platform_.fileExists(old)) continue;
    platform_.clearReadOnly(old);  // an earlier version kept a CD's read-only attribute
    platform_.deleteFile(old);
  }

  pump();
  tk::Gauge* gauge = frmCopying_->Gauge;
  gauge->setMaxValue(kInstallFileSlots);

  copyWritable(platform_, state_.SourceDir + "Install.exe", InstallDir() + "\\" + log::kUninstallerName);
  pump();

  const std::string& saver = slot(kScreenSaverSlot);
  if (platform_.fileExists(state_.SourceDir + saver) &&
      !copyProductFile(state_.SourceDir + saver, state_.WindowsDir + "\\" + saver))
    installOk = false;
  gauge->addProgress(1);
  pump();
  pump();

  const std::string installedControl = state_.WindowsDir + "\\" + kFlashControl;
  if (!platform_.fileExists(installedControl)) {
    if (platform_.fileExists(state_.SourceDir + kFlashControl) &&
        !copyProductFile(state_.SourceDir + kFlashControl, installedControl))
      installOk = false;
    platform_.winExec("REGSVR32.EXE /s " + state_.WindowsDir + "\\SWFLASH.OCX", kShowNormal);
    gauge->addProgress(1);
    pump();
  }

  for (int n = kFirstInstallDirSlot; n <= kInstallFileSlots; ++n) {
    pump();
    gauge->addProgress(1);
    const std::string& name = slot(n);
    if (skippedByOptions(name, state_.Options)) continue;
    if (platform_.fileExists(state_.SourceDir + name)) {
      if (!copyProductFile(state_.SourceDir + name, InstallDir() + "\\" + name)) {
        installOk = false;
        break;
      }
    }
    pump();
  }

  frmCopying_->Timer->setEnabled(true);
  frmCopying_->hide();
  repaint();

  if (!installOk) {
    application().showMessage("Installation aborted!, Files will not have been installed properly.");
    return false;
  }

  SettingsFile settings(platform_);
  settings.Open(log::kSaverSettingsFile);
  settings.EraseSection(state_.SettingsSection);
  settings.WriteString(state_.SettingsSection, "DataPath", InstallDir());
  settings.Release();

  SettingsFile uninstallLog(platform_);
  uninstallLog.Open(InstallDir() + "\\" + log::kFileName);
  if (platform_.fileExists(state_.WindowsDir + "\\" + saver))
    uninstallLog.WriteString(log::kFilesSection, log::numberedKey(log::kFileStem, kScreenSaverSlot),
                             state_.WindowsDir + "\\" + saver);
  // The source decides, not the copy: a file an option left out is logged too.
  for (int n = kFirstInstallDirSlot; n <= kInstallFileSlots; ++n) {
    if (platform_.fileExists(state_.SourceDir + slot(n)))
      uninstallLog.WriteString(log::kFilesSection, log::numberedKey(log::kFileStem, n), slot(n));
  }
  uninstallLog.Release();
  return true;
}

}  // namespace tsaver
