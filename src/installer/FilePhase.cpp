// The installation run's file phase: install directory, path file, the
// product files behind the copy window, and their log entries.
#include "installer/InstallFiles.h"
#include "installer/UninstallEntry.h"
#include "installer/main.h"
#include "platform/TextFile.h"
#include "uninstall_log/LogNames.h"
#include "uninstall_log/SettingsFile.h"

namespace tsaver {

bool TfrmInstall::runInstallation() {
  InstallRollback rollback(platform_);
  if (!runFilePhase(rollback)) {
    // An uninstaller would find the run's log, but not an installation it could trust.
    rollback.takeBack();
    return false;
  }
  // The uninstaller and its log are in place: Windows may list the product from now on.
  writeUninstallEntry(platform_, state_.ProductName, InstallDir());
  runShortcutStage();
  return true;
}

bool TfrmInstall::copyProductFile(const std::string& source, const std::string& destination,
                                  InstallRollback& rollback) {
  frmCopying_->lbl_file->setCaption("Copying to: " + destination);
  // An older copy that could not be replaced (in use) still exists: the copy's result decides.
  if (copyWritable(platform_, source, destination)) {
    rollback.made(destination);
    return true;
  }
  application().showMessage("Unable to copy file, destination unable to be written. - " + destination);
  return false;
}

bool TfrmInstall::packageStillWhole() {
  const std::string installedControl = state_.WindowsDir + "\\" + kFlashControl;
  for (int n = 1; n <= kInstallFileSlots; ++n) {
    const std::string& name = state_.InstallFiles[n - 1];
    if (!state_.InPackage[n - 1] || skippedByOptions(name, state_.Options)) continue;
    if (n == kFlashControlSlot && platform_.fileExists(installedControl)) continue;
    if (platform_.fileExists(state_.SourceDir + name)) continue;
    application().showMessage("Unable to copy file, it is no longer in the installation package. - " +
                              state_.SourceDir + name);
    return false;
  }
  return true;
}

void TfrmInstall::logProductFiles(InstallRollback& rollback) {
  const auto slot = [this](int number) -> const std::string& { return state_.InstallFiles[number - 1]; };
  const std::string logPath = InstallDir() + "\\" + log::kFileName;
  SettingsFile uninstallLog(platform_);
  uninstallLog.Open(logPath);
  const std::string saver = state_.WindowsDir + "\\" + slot(kScreenSaverSlot);
  if (state_.InPackage[kScreenSaverSlot - 1] || platform_.fileExists(saver))
    uninstallLog.WriteString(log::kFilesSection, log::numberedKey(log::kFileStem, kScreenSaverSlot), saver);
  // The package decides, not the copy: a file an option left out is logged too.
  for (int n = kFirstInstallDirSlot; n <= kInstallFileSlots; ++n) {
    if (state_.InPackage[n - 1])
      uninstallLog.WriteString(log::kFilesSection, log::numberedKey(log::kFileStem, n), slot(n));
  }
  uninstallLog.Release();
  rollback.made(logPath);
}

bool TfrmInstall::runFilePhase(InstallRollback& rollback) {
  const auto slot = [this](int number) -> const std::string& { return state_.InstallFiles[number - 1]; };
  const std::string pathFile = state_.WindowsDir + "\\" + state_.ProductName + ".ini";

  // Before anything is created; the Flash control is shared and stays in any case.
  rollback.watchDirectories(InstallDir());
  rollback.watchFile(pathFile);
  rollback.watchFile(InstallDir() + "\\" + log::kFileName);
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
  rollback.made(pathFile);

  markStep(Label4, Label5);
  btn_back->setEnabled(false);
  btn_next->setEnabled(false);
  btn_cancel->setEnabled(false);
  btn_filename->setEnabled(false);
  frmCopying_->show();
  frmCopying_->bringToFront();

  // Checked before the older copies go: a package that lost files would leave the
  // earlier installation without them.
  bool installOk = packageStillWhole();
  if (installOk) {
    // Logged before the first copy: an installation ended at any moment from here on
    // can be removed by its uninstaller; the files it had yet to copy do no harm there.
    logProductFiles(rollback);
    installOk = copyProductFiles(rollback);
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
  return true;
}

bool TfrmInstall::copyProductFiles(InstallRollback& rollback) {
  const auto slot = [this](int number) -> const std::string& { return state_.InstallFiles[number - 1]; };
  for (int n = kFlashControlSlot; n <= kInstallFileSlots; ++n) {
    const std::string old = InstallDir() + "\\" + slot(n);
    if (!platform_.fileExists(old)) continue;
    platform_.clearReadOnly(old);  // an earlier version kept a CD's read-only attribute
    platform_.deleteFile(old);
  }

  pump();
  tk::Gauge* gauge = frmCopying_->Gauge;
  gauge->setMaxValue(kInstallFileSlots);

  const std::string uninstaller = InstallDir() + "\\" + log::kUninstallerName;
  if (copyWritable(platform_, state_.SourceDir + "Install.exe", uninstaller)) rollback.made(uninstaller);
  pump();

  bool installOk = true;
  const std::string& saver = slot(kScreenSaverSlot);
  if (state_.InPackage[kScreenSaverSlot - 1] &&
      !copyProductFile(state_.SourceDir + saver, state_.WindowsDir + "\\" + saver, rollback))
    installOk = false;
  gauge->addProgress(1);
  pump();
  pump();

  const std::string installedControl = state_.WindowsDir + "\\" + kFlashControl;
  if (!platform_.fileExists(installedControl)) {
    // Not watched by the rollback: the shared control stays once it is there.
    if (state_.InPackage[kFlashControlSlot - 1] &&
        !copyProductFile(state_.SourceDir + kFlashControl, installedControl, rollback))
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
    // What the package held when the wizard read it is copied, and fails if it has gone since.
    if (state_.InPackage[n - 1] && !copyProductFile(state_.SourceDir + name, InstallDir() + "\\" + name, rollback))
      return false;
    pump();
  }
  return installOk;
}

}  // namespace tsaver
