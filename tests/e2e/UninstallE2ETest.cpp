// The uninstaller under Wine: a real installation removed again through
// "Uninstall.exe", compared with the machine as it was before.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <iostream>

#include "e2e/FixtureRecords.h"
#include "e2e/MachineSnapshot.h"
#include "e2e/MachineState.h"
#include "e2e/ProductPackage.h"
#include "e2e/WizardSession.h"
#include "e2e/robot/Dialog.h"
#include "e2e/robot/Files.h"
#include "e2e/robot/Process.h"
#include "e2e/robot/Screen.h"

namespace e2e {
namespace {

using Clock = std::chrono::steady_clock;

const char kUninstallTitle[] = "Tessaryn Saver Un-Install";
const char kConfirmText[] =
    "Are you sure you want to completely remove the selected application and all of its components?";
const char kTrayText[] =
    "Unable to remove task tray program.\rPlease make sure that the task tray program\r"
    "is not currently running on your system.";
const char kNoLogText[] = "Unable to locate the installation log file. Uninstallation will not continue.";
const char kDesktopKey[] = "Control Panel\\desktop";
const char kWineSystemParametersKey[] = "Software\\Wine\\Temporary System Parameters\\Control Panel\\Desktop";

double secondsSince(Clock::time_point start) {
  return std::chrono::duration<double>(Clock::now() - start).count();
}

// The reboot deletions requested so far (HKLM "PendingFileRenameOperations", NUL-separated
// pairs "\??\path", ""). Wine grants the request to an ordinary user; Windows asks for an administrator.
std::string pendingDeletions() {
  char data[65536] = "";
  DWORD size = sizeof data;
  if (RegGetValueA(HKEY_LOCAL_MACHINE, "System\\CurrentControlSet\\Control\\Session Manager",
                   "PendingFileRenameOperations", RRF_RT_REG_MULTI_SZ, nullptr, data, &size) != ERROR_SUCCESS)
    return "";
  std::string text(data, size);
  std::replace(text.begin(), text.end(), '\0', '|');
  return text;
}

bool startsWith(const std::string& text, const std::string& prefix) { return text.rfind(prefix, 0) == 0; }

class UninstallE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    stopTrayPrograms();
    forgetProduct(kProduct);
    removePath(windowsDir() + "\\SWFlash.ocx");
    removePath(windowsDir() + "\\TSaver.ini");
    for (const char* fixture : {"swflash", "tasktray", "saver", "runsaver"}) forgetFixtureRecords(fixture);
    setUserRegistryString(kDesktopKey, "ScreenSaveActive", "0");
    // Where Wine keeps the screen saver switch of an earlier installation in this prefix.
    HKEY wineParameters;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kWineSystemParametersKey, 0, KEY_SET_VALUE, &wineParameters) == 0) {
      RegDeleteValueA(wineParameters, "ScreenSaveActive");
      RegCloseKey(wineParameters);
    }
  }
  void TearDown() override {
    stopTrayPrograms();
    forgetProduct(kProduct);
  }

  // Every option "True" and one extra file, Next, Next, Finish.
  void install() {
    Package package = makeProductPackage(kProduct);
    package.write("Extras.txt", "Wallpaper.bmp\r\n");
    package.write("Wallpaper.bmp", "wallpaper");
    WizardSession wizard(package);
    wizard.press("btn_next");
    wizard.waitForVisible("btn_filename");
    wizard.press("btn_next");
    wizard.waitForText("btn_next", "&Finish");
    wizard.press("btn_next");
    ASSERT_EQ(wizard.waitForExit(), 0u);
    waitForFixtureRecords("tasktray", "start", 1);
  }

  // Starts the installed uninstaller as its Start-menu link does and answers "&Yes";
  // gives the time of the press.
  Clock::time_point startAndConfirm(Process& uninstaller) {
    const Dialog confirm = waitForDialog(uninstaller.id(), "Confirm");
    EXPECT_EQ(confirm.message(), kConfirmText);
    const Clock::time_point pressed = Clock::now();
    confirm.press("&Yes");
    return pressed;
  }

  static constexpr const char* kProduct = "E2EUninstall";
  const std::string installDir = defaultInstallDir(kProduct);
};

// What the comparison leaves out, named: the test's own package folders and the
// fixtures' records (checked by content below).
bool isOutsideTheProgram(const std::string& entry) {
  static const char* const kPrefixes[] = {"C:\\e2e\\", "C:\\windows\\tsaver-fixture-"};
  return std::any_of(std::begin(kPrefixes), std::end(kPrefixes),
                     [&](const char* prefix) { return startsWith(entry, prefix); });
}

// Wine's menu builder answers each shell link on the desktop with a host ".desktop"
// file in the home directory, which the user folders linked there all show; Windows has none.
bool isWineMenuEntry(const std::string& entry) {
  const std::string suffix = ".desktop";
  return startsWith(entry, "C:\\users\\") && entry.size() > suffix.size() &&
         entry.compare(entry.size() - suffix.size(), suffix.size(), suffix) == 0;
}

std::vector<std::string> relevant(std::vector<std::string> entries) {
  entries.erase(std::remove_if(entries.begin(), entries.end(),
                               [](const std::string& e) { return isOutsideTheProgram(e) || isWineMenuEntry(e); }),
                entries.end());
  std::sort(entries.begin(), entries.end());
  return entries;
}

// While the run waits a second for the tray program's file, the gauge shows its
// bar at 20 % in navy and the percentage in black over the white rest.
void expectGaugePaintedDuringTheTrayWait(const Process& uninstaller) {
  const Window gauge = waitForWindow(uninstaller.id(), "Uninstall").named("gProgress");
  constexpr std::uint32_t kNavy = 0x000080, kBlack = 0x000000;
  const int frame = 2 * 300 + 2 * 22;
  Image screen;
  waitUntil([&] { return pixelsOf(screen = capture(), gauge, kNavy) > 0; }, "the gauge's bar", Millis(1500));
  EXPECT_GT(pixelsOf(screen, gauge, kNavy), 50 * 20) << "the bar";
  EXPECT_GT(pixelsOf(screen, gauge, kBlack), frame + 20) << "the percentage";
  saveScreenshot("uninstall-gauge", Millis(0));
}

TEST_F(UninstallE2E, CompleteRemovalLeavesOnlyTheUnloggedTraces) {
  const MachineSnapshot before = snapshotMachine();
  install();
  stopTrayPrograms();
  waitForFixtureRecords("tasktray", "exit", 1);

  Process uninstaller = Process::start(installDir + "\\Uninstall.exe", installDir);
  const Clock::time_point pressed = startAndConfirm(uninstaller);
  expectGaugePaintedDuringTheTrayWait(uninstaller);
  ASSERT_TRUE(uninstaller.waitForExit());
  const double removal = secondsSince(pressed);
  EXPECT_EQ(uninstaller.exitCode(), 0u);
  std::cout << "[ timing ] removal without the tray program running: " << removal << " s\n";
  const MachineSnapshot after = snapshotMachine();

  const MachineChanges changes = compare(before, after);
  const std::string windows = windowsDir();
  // Never logged: the path file, the Flash control (its registration is recorded below),
  // the install directory's parent, the settings file emptied of its section; and what
  // a running program cannot delete: its own file, and so its directory.
  const std::vector<std::string> added = {
      "C:\\Program Files\\" + std::string(kProduct) + "\\",
      installDir + "\\",
      installDir + "\\Uninstall.exe",
      windows + "\\" + kProduct + ".ini",
      windows + "\\SWFlash.ocx",
      windows + "\\TSaver.ini",
      // Wine keeps a screen saver switched on without SPIF_UPDATEINIFILE here, Windows in memory.
      "HKCU\\" + std::string(kWineSystemParametersKey) + "\\\\ScreenSaveActive",
  };
  EXPECT_EQ(relevant(changes.added), relevant(added));
  // The screen saver selection made at Finish.
  const std::vector<std::string> changed = {
      "HKCU\\Control Panel\\Desktop\\\\ScreenSaveActive",
      windows + "\\system.ini",
  };
  EXPECT_EQ(relevant(changes.changed), relevant(changed));
  EXPECT_EQ(relevant(changes.removed), std::vector<std::string>{});

  EXPECT_EQ(profileSections(windows + "\\TSaver.ini"), std::vector<ProfileSection>{});
  const std::string pending = pendingDeletions();
  EXPECT_NE(pending.find("\\??\\" + installDir + "\\Uninstall.exe||\\??\\" + installDir + "||"), std::string::npos)
      << pending;
  EXPECT_EQ(fixtureRecords("swflash").size(), waitForFixtureRecords("swflash", "DllRegisterServer", 1).size())
      << "registered, never unregistered";
}

TEST_F(UninstallE2E, RunningTrayProgramIsReportedAboutASecondLaterAndTheRunGoesOn) {
  install();

  Process uninstaller = Process::start(installDir + "\\Uninstall.exe", installDir);
  const Clock::time_point pressed = startAndConfirm(uninstaller);
  const Dialog info = waitForDialog(uninstaller.id(), "Information");
  const double untilMessage = secondsSince(pressed);
  EXPECT_EQ(info.message(), kTrayText);
  saveScreenshot("uninstall-tray-message");
  EXPECT_GE(untilMessage, 1.0) << "the deletion is retried after 1000 ms";
  EXPECT_LT(untilMessage, 5.0);
  const Clock::time_point ok = Clock::now();
  info.press("OK");
  ASSERT_TRUE(uninstaller.waitForExit());
  const double afterOk = secondsSince(ok);
  std::cout << "[ timing ] with the tray program running: message " << untilMessage << " s after Yes, end "
            << afterOk << " s after OK, " << secondsSince(pressed) << " s in all\n";

  EXPECT_TRUE(fileExists(installDir + "\\TaskTray.exe")) << "still running";
  for (const char* gone : {"Movie.swf", "Wallpaper.bmp", "UNINSTALL.INI"})
    EXPECT_FALSE(fileExists(installDir + "\\" + gone)) << gone;
  EXPECT_FALSE(directoryExists(groupDir(kProduct)));
  EXPECT_EQ(userRegistryString("Software\\Microsoft\\Windows\\CurrentVersion\\Run", std::string(kProduct) + " screen saver"),
            "<none>");
}

TEST_F(UninstallE2E, WithoutTheLogOneMessageThenTheProgramEnds) {
  Package elsewhere("E2EUninstallNoLog");
  elsewhere.copyProgram("Uninstall.exe");

  Process uninstaller = Process::start(elsewhere.path("Uninstall.exe"), elsewhere.dir());
  const Message shown = answer(uninstaller.id(), kUninstallTitle, "OK");
  EXPECT_EQ(shown.text, kNoLogText);
  ASSERT_TRUE(uninstaller.waitForExit());
  EXPECT_EQ(uninstaller.exitCode(), 0u);
  EXPECT_TRUE(elsewhere.has("Uninstall.exe"));
}

}  // namespace
}  // namespace e2e
