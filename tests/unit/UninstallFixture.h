#pragma once
// An installed product on a simulated machine and the uninstaller window, driven
// headless: created and shown as start-up does, confirmed, and ticked once.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "app/Startup.h"
#include "platform/Paths.h"
#include "platform/SimulatedWindows.h"
#include "toolkit/Application.h"
#include "toolkit/HeadlessBackend.h"
#include "uninstaller/uninstall1.h"

namespace tsaver::testing {

inline const std::string kProductDir = "C:\\Program Files\\Tessaryn";
inline const std::string kInstallDir = kProductDir + "\\Screen Saver";
inline const std::string kLogPath = kInstallDir + "\\UNINSTALL.INI";
inline const std::string kUninstaller = kInstallDir + "\\Uninstall.exe";
inline const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
inline const std::string kUninstallEntries = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";
inline const std::string kEntryKey = kUninstallEntries + "\\Tessaryn screen saver";
inline const std::string kDesktop = "C:\\WINDOWS\\Desktop";
inline const std::string kGroup = "C:\\WINDOWS\\Start Menu\\Programs\\Tessaryn screen saver";
// The Run value's data as the installer writes it.
inline const std::string kRunValueData = "\"" + kInstallDir + "\\TaskTray.exe\"";
inline const std::string kTrayMessage =
    "Unable to remove task tray program.\rPlease make sure that the task tray program\r"
    "is not currently running on your system.";

class UninstallFixture : public ::testing::Test {
 protected:
  UninstallFixture() {
    win.putFile(kUninstaller, "program");
    win.setCurrentDirectory(kInstallDir);
    // What the machine looked like at every pump of the run: paths and gauge.
    ui.onPump = [this] {
      pumpPaths.push_back(win.allPaths());
      pumpGauge.push_back(frmUninstall ? frmUninstall->gProgress->progress() : -1);
    };
  }

  // An empty log: the file exists with no sections.
  void putEmptyLog() { win.putFile(kLogPath, ""); }
  void logEntry(const std::string& section, const std::string& key, const std::string& value) {
    ASSERT_TRUE(win.writeProfileString(section, key, value, kLogPath));
  }

  // What a complete installation with every option left: files, links, Run value,
  // settings section and the log that lists them, plus the traces it never logs.
  void putInstalledProduct() {
    win.putFile("C:\\WINDOWS\\Tessaryn.scr");
    logEntry("FILES", "FILE1", "C:\\WINDOWS\\Tessaryn.scr");
    for (std::size_t i = 0; i < kLoggedFiles.size(); ++i) {
      win.putFile(kInstallDir + "\\" + kLoggedFiles[i]);
      logEntry("FILES", "FILE" + std::to_string(kLoggedFileNumbers[i]), kLoggedFiles[i]);
    }
    const char* links[] = {"Tessaryn task tray program.lnk", "Tessaryn screen saver.lnk", "Uninstall.lnk"};
    for (int n = 1; n <= 3; ++n) {
      win.putFile(kGroup + "\\" + links[n - 1]);
      logEntry("SHORTCUTS", "SHORTCUT" + std::to_string(n), kGroup + "\\" + links[n - 1]);
    }
    win.putFile(kDesktop + "\\Tessaryn screen saver.lnk");
    logEntry("DESKTOP", "SHORTCUT4", "Tessaryn screen saver.lnk");
    win.putRegistryValue(kRunKey, "Tessaryn screen saver", kRunValueData);
    win.putRegistryValue(kRunKey, "Other program", "C:\\other.exe");
    logEntry("REGISTRY", "KEY1", "Tessaryn screen saver");
    logEntry("DIRECTORIES", "DIRECTORY1", kInstallDir);
    logEntry("DIRECTORIES", "DIRECTORY2", kGroup);
    ASSERT_TRUE(win.writeProfileString("Tessaryn", "DataPath", kInstallDir, "TSaver.ini"));
    ASSERT_TRUE(win.writeProfileString("Other", "DataPath", "C:\\other", "TSaver.ini"));
    logEntry("INIFILE", "CFGFILE", "TSaver.ini");
    logEntry("INIFILE", "SECTION", "Tessaryn");
    win.putRegistryValue(kEntryKey, "UninstallString", "\"" + kUninstaller + "\"",
                         SimulatedWindows::ValueType::String, RegRoot::LocalMachine);
    logEntry("UNINSTALLENTRY", "KEY", "Tessaryn screen saver");
    win.putFile("C:\\WINDOWS\\SWFlash.ocx");
    win.putFile("C:\\WINDOWS\\Tessaryn.ini", "[Data]\r\nPath=" + kInstallDir + "\r\n");
  }
  static inline const std::vector<std::string> kLoggedFiles = {
      "Saver.exe", "Movie.swf", "TaskTray.exe", "Data.dat", "Contacts.bmp", "Tessaryn.ico", "Readme.txt",
      "RunSaver.exe", "Settings.txt", "Preview.bmp", "Path.dat", "Config.swf", "Config.bmp", "Wallpaper.bmp"};
  static inline const std::vector<int> kLoggedFileNumbers = {3, 4, 5, 6, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17};

  // Creates the window as start-up does and shows it; the answer goes to the confirmation.
  void start(bool answerYes = true) {
    ui.answerConfirm(answerYes);
    app = std::make_unique<tk::Application>(ui);
    app->setTitle(kUninstallTitle);
    app->createForm(frmUninstall, win);
    app->run();
  }
  // Confirms and lets the timer start the removal run.
  void runRemoval() {
    start(true);
    ASSERT_TRUE(frmUninstall->Timer->enabled());
    frmUninstall->Timer->tick();
  }

  bool exists(const std::string& path) { return win.fileExists(path) || win.directoryExists(path); }
  bool ended() const { return app->terminated(); }
  std::vector<std::string> messages() const { return ui.messageTexts(); }
  int sleeps(unsigned ms) const {
    const std::string call = "Sleep(" + std::to_string(ms) + ")";
    return static_cast<int>(std::count(win.journal().begin(), win.journal().end(), call));
  }

  // The index of the first pump at which the path was gone; -1 if it never went.
  int goneAtPump(const std::string& path) const {
    for (std::size_t i = 0; i < pumpPaths.size(); ++i) {
      const auto& paths = pumpPaths[i];
      if (std::none_of(paths.begin(), paths.end(), [&](const std::string& p) { return samePath(p, path); }))
        return static_cast<int>(i);
    }
    return -1;
  }

  SimulatedWindows win;
  tk::HeadlessBackend ui{win};
  std::unique_ptr<tk::Application> app;
  TfrmUninstall* frmUninstall = nullptr;
  std::vector<std::vector<std::string>> pumpPaths;
  std::vector<int> pumpGauge;

 private:
  static bool samePath(std::string listed, const std::string& path) {
    if (!listed.empty() && listed.back() == '\\') listed.pop_back();
    return upperAscii(listed) == upperAscii(path);
  }
};

}  // namespace tsaver::testing
