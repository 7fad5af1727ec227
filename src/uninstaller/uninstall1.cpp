#include "uninstaller/uninstall1.h"

#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/Registry.h"
#include "uninstaller/TemporaryCopy.h"
#include "uninstall_log/LogNames.h"
#include "uninstall_log/SettingsFile.h"
#include "uninstaller/LogValueRules.h"

namespace tsaver {

namespace {

constexpr const char* kNoLogText = "Unable to locate the installation log file. Uninstallation will not continue.";
constexpr const char* kConfirmText =
    "Are you sure you want to completely remove the selected application and all of its components?";
constexpr const char* kTrayText =
    "Unable to remove task tray program.\rPlease make sure that the task tray program\r"
    "is not currently running on your system.";
constexpr const char* kTrayCaption = "Information";
constexpr const char* kTrayProgram = "TASKTRAY.EXE";
// How long the tray program's file is given to be released before it counts as in use.
constexpr unsigned kTrayWaitMs = 1000;
constexpr const char* kRunKey = "\\Software\\Microsoft\\Windows\\CurrentVersion\\Run";
// The active screen saver, as Finish selected it.
constexpr const char* kSystemIni = "System.ini";
constexpr const char* kBootSection = "boot";
constexpr const char* kScreenSaverKey = "SCRNSAVE.EXE";
// The wizard builds every install directory as <chosen>\<product name>\Screen Saver.
constexpr const char* kInstallDirName = "SCREEN SAVER";
// A program's file can stay locked for a moment after the program has ended.
constexpr int kUninstallerDeleteAttempts = 5;
constexpr unsigned kUninstallerRetryMs = 200;

}  // namespace

TfrmUninstall::TfrmUninstall(tk::Application& app, Platform& platform)
    : tk::Form(app, "frmUninstall"), platform_(platform) {
  layOut();
  onCreate = [this] { FormCreate(this); };
  onActivate = [this] { FormActivate(this); };
  btn_ok->onClick = [this] { btn_okClick(btn_ok); };
  Timer->onTimer = [this] { TimerTimer(Timer); };
}

void TfrmUninstall::layOut() {
  setCaption("Uninstall");
  setBorderStyle(tk::BorderStyle::Dialog);
  setClientSize(313, 37);
  setColor(tk::clSilver);
  setFont(tk::Font{});

  Bevel1 = add<tk::Bevel>("Bevel1");
  Bevel1->setBounds({2, 2, 310, 34});

  gProgress = add<tk::Gauge>("gProgress");
  gProgress->setBounds({7, 7, 300, 24});
  gProgress->setForeColor(tk::clNavy);
  gProgress->setBackColor(tk::clWhite);
  gProgress->setShowText(true);
  gProgress->setMaxValue(10);
  gProgress->setProgress(0);

  // Below the client area: never seen; enabled only at the very end of the run.
  btn_ok = add<tk::Button>("btn_ok");
  btn_ok->setBounds({129, 60, 75, 25});
  btn_ok->setCaption("OK");
  btn_ok->setDefault(true);
  btn_ok->setEnabled(false);
  btn_ok->setTabOrder(0);

  Timer = addTimer("Timer");
  Timer->setInterval(100);
  Timer->setEnabled(false);
}

bool TfrmUninstall::logExists() { return platform_.fileExists(StartDir + "\\" + log::kFileName); }

void TfrmUninstall::FormCreate(tk::Control*) {
  StartDir = platform_.currentDirectory();
  if (logExists()) return;
  application().showMessage(kNoLogText);
  // Not yet the main form: this only hides it; FormActivate ends the program.
  close();
}

void TfrmUninstall::FormActivate(tk::Control*) {
  if (!logExists()) {
    close();
    return;
  }
  if (application().confirm(kConfirmText))
    Timer->setEnabled(true);
  else
    close();
}

void TfrmUninstall::TimerTimer(tk::Timer*) {
  // The messages pumped below must not start a second run.
  Timer->setEnabled(false);
  show();
  bringToFront();
  repaint();
  pump();

  SettingsFile logFile(platform_);
  logFile.Open(StartDir + "\\" + log::kFileName);
  advanceGauge(2);

  const std::string activeSaver = existingActiveScreenSaver();
  // Only FILE1 may name a path, and only the screen saver's in the Windows directory.
  const std::string screenSaverEntry =
      logFile.ReadString(log::kFilesSection, log::numberedKey(log::kFileStem, 1), log::kNone);
  const std::string windowsDir = platform_.windowsDirectory();
  const auto deleteIfProducts = [&](const std::string& v) {
    if (logrules::isProductFileName(v) || (v == screenSaverEntry && logrules::isScreenSaverPath(v, windowsDir)))
      deleteLoggedFile(v);
  };
  forEachEntry(logFile, log::kFilesSection, log::kFileStem, PumpAfter::EveryProbe, deleteIfProducts);
  for (const int n : log::numbersBeyondProbeRange(logFile.KeyNames(log::kFilesSection), log::kFileStem)) {
    const std::string value = logFile.ReadString(log::kFilesSection, log::numberedKey(log::kFileStem, n), log::kNone);
    if (value != log::kNone) deleteIfProducts(value);
    pump();
  }
  clearActiveScreenSaverIfGone(activeSaver);
  advanceGauge(4);

  // Before the directories, so that the program group is empty when its removal is tried.
  forEachEntry(logFile, log::kShortcutsSection, log::kShortcutStem, PumpAfter::EveryProbe,
               [this](const std::string& v) {
                 if (logrules::isGroupShortcut(v)) platform_.deleteFile(v);
               });
  // Without a desktop directory the names would be taken from the drive's root.
  const std::string desktop = platform_.desktopDirectory();
  forEachEntry(logFile, log::kDesktopSection, log::kShortcutStem, PumpAfter::EveryProbe,
               [this, &desktop](const std::string& v) {
                 if (!desktop.empty() && logrules::isDesktopShortcutName(v)) platform_.deleteFile(desktop + "\\" + v);
               });
  advanceGauge(6);

  {
    Registry registry(platform_);
    forEachEntry(logFile, log::kRegistrySection, log::kKeyStem, PumpAfter::EveryEntry,
                 [this, &registry](const std::string& v) { deleteRunValue(registry, v, StartDir); });
  }
  advanceGauge(8);

  forEachEntry(logFile, log::kDirectoriesSection, log::kDirectoryStem, PumpAfter::EveryEntry,
               [this](const std::string& v) {
                 if (logrules::isWhole(v)) platform_.removeDirectory(v);
               });

  const std::string cfgFile = logFile.ReadString(log::kIniFileSection, log::kCfgFileKey, log::kDefaultCfgFile);
  const std::string section = logFile.ReadString(log::kIniFileSection, log::kSectionKey, log::kDefaultSection);
  const std::string entryName = logFile.ReadString(log::kUninstallEntrySection, log::kUninstallEntryKey, log::kNone);
  logFile.Release();
  if (logrules::isProductSettingsSection(cfgFile, section) && !eraseSettingsSection(cfgFile, section)) return;
  advanceGauge(10);

  // With the log and the uninstaller: a run that stopped before can be started from the list again.
  if (entryName != log::kNone) removeUninstallEntry(entryName);

  deleteLogAndSelf();
  btn_ok->setEnabled(true);
  pump();
  close();
}

void TfrmUninstall::advanceGauge(int progress) {
  gProgress->setProgress(progress);
  pump();
}

void TfrmUninstall::forEachEntry(SettingsFile& logFile, const char* section, const char* stem, PumpAfter pumpAfter,
                                 const std::function<void(const std::string&)>& act) {
  for (int n = log::kFirstNumber; n <= log::kLastNumber; ++n) {
    const std::string value = logFile.ReadString(section, log::numberedKey(stem, n), log::kNone);
    const bool isEntry = value != log::kNone;
    if (isEntry) act(value);
    if (isEntry || pumpAfter == PumpAfter::EveryProbe) pump();
  }
}

void TfrmUninstall::deleteLoggedFile(const std::string& path) {
  // Installations by earlier versions kept the read-only attribute of a package on a CD.
  platform_.clearReadOnly(path);
  platform_.deleteFile(path);
  if (upperAscii(fileNamePart(path)) != kTrayProgram) return;
  platform_.sleep(kTrayWaitMs);
  if (!platform_.fileExists(path)) return;
  application().messageBox(kTrayText, kTrayCaption, tk::MessageIcon::Information);
  platform_.deleteFile(path);
}

void TfrmUninstall::deleteRunValue(Registry& registry, const std::string& name, const std::string& startDir) {
  // With create: a missing Run key comes into being, empty, and the delete finds nothing.
  if (registry.OpenKey(kRunKey, true) && logrules::isWhole(name)) {
    // Another program's value, whatever the log says, stays.
    std::string data;
    try {
      data = registry.ReadString(name);
    } catch (const ERegistryException&) {
    }
    if (logrules::namesTrayProgramIn(data, startDir)) registry.DeleteValue(name);
  }
  registry.CloseKey();
}

bool TfrmUninstall::eraseSettingsSection(const std::string& file, const std::string& section) {
  SettingsFile settings(platform_);
  settings.Open(file);
  std::string failure;
  try {
    settings.EraseSection(section);
  } catch (const ESettingsWriteError& e) {
    failure = e.message();
  }
  settings.Release();
  if (failure.empty()) return true;
  // The window has no close box and no usable button: end the program here, leaving
  // the log and the uninstaller so that the removal can be run again.
  application().messageBox(tk::Application::errorText(failure), application().title(), tk::MessageIcon::Error);
  close();
  return false;
}

void TfrmUninstall::removeUninstallEntry(const std::string& name) {
  if (!logrules::isUninstallEntryName(name)) return;
  const std::string key = std::string(log::kUninstallEntries) + "\\" + name;
  Registry entries(platform_, RegRoot::LocalMachine);
  if (!entries.OpenKey(key, false)) return;
  std::string command;
  try {
    command = entries.ReadString("UninstallString");
  } catch (const ERegistryException&) {
  }
  entries.CloseKey();
  // Another program's entry, or this product's installed elsewhere since, stays.
  if (logrules::namesUninstallerIn(command, StartDir)) entries.DeleteKey(key);
}

std::string TfrmUninstall::existingActiveScreenSaver() {
  const std::string named = platform_.getProfileString(kBootSection, kScreenSaverKey, "", kSystemIni);
  if (named.empty()) return named;
  // A bare name is the one Finish writes when it cannot get the short path: the file is in the Windows directory.
  const std::string path = named.find_first_of("\\:") == std::string::npos
                               ? platform_.windowsDirectory() + "\\" + named
                               : named;
  return platform_.fileExists(path) ? path : std::string();
}

void TfrmUninstall::clearActiveScreenSaverIfGone(const std::string& saver) {
  // A setting that names a deleted file is no setting; one that names another file stays.
  if (saver.empty() || platform_.fileExists(saver)) return;
  platform_.writeProfileString(kBootSection, std::string(kScreenSaverKey), std::nullopt, kSystemIni);
}

void TfrmUninstall::deleteLogAndSelf() {
  // Bare names: the current directory, which is the install directory.
  platform_.deleteFile(log::kFileName);
  // Run by a temporary copy, "Uninstall.exe" is the first process's file: it can go once that has ended.
  waitForFirstProcess(platform_);
  platform_.clearReadOnly(log::kUninstallerName);
  for (int attempt = 1; attempt <= kUninstallerDeleteAttempts; ++attempt) {
    if (!platform_.fileExists(log::kUninstallerName) || platform_.deleteFile(log::kUninstallerName)) break;
    if (attempt < kUninstallerDeleteAttempts) platform_.sleep(kUninstallerRetryMs);
  }
  removeInstallDirectory();
}

void TfrmUninstall::removeInstallDirectory() {
  // Windows keeps a process's current directory open and refuses to remove it: step out first.
  try {
    platform_.setCurrentDirectory(platform_.windowsDirectory());
  } catch (const EInOutError&) {
  }
  // Each only if empty: a file the user put there keeps its directory, and the one above.
  platform_.removeDirectory(StartDir);
  if (upperAscii(fileNamePart(StartDir)) != kInstallDirName) return;
  // The product-named level above was made for the install directory, not logged.
  const std::string productDir = StartDir.substr(0, StartDir.size() - fileNamePart(StartDir).size() - 1);
  if (!fileNamePart(productDir).empty()) platform_.removeDirectory(productDir);
}

void TfrmUninstall::btn_okClick(tk::Control*) { close(); }

}  // namespace tsaver
