// The uninstaller under Wine: a real installation removed again through
// "Uninstall.exe", started from its link or from Wine's list of installed programs,
// compared with the machine as it was before.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <functional>
#include <iostream>
#include <optional>

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
using ::testing::Contains;
using ::testing::Not;

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
    // No screen saver chosen yet: an earlier test's choice would be replaced by this product's.
    WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", nullptr, "system.ini");
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

  // Every option "True" and one extra file, anything `prepare` adds, Next, Next, Finish.
  void install(const std::function<void(Package&)>& prepare = {}) {
    Package package = makeProductPackage(kProduct);
    package.write("Extras.txt", "Wallpaper.bmp\r\n");
    package.write("Wallpaper.bmp", "wallpaper");
    if (prepare) prepare(package);
    WizardSession wizard(package);
    wizard.press("btn_next");
    wizard.waitForVisible("btn_filename");
    wizard.press("btn_next");
    wizard.waitForText("btn_next", "&Finish");
    wizard.press("btn_next");
    ASSERT_EQ(wizard.waitForExit(), 0u);
    waitForFixtureRecords("tasktray", "start", 1);
  }

  // The process that runs the removal: the temporary copy that the uninstaller started.
  static DWORD removalProcess(const Process& uninstaller) { return uninstaller.waitForDescendant("UNINSTALL.EXE"); }

  // Answers "&Yes" in the removal process; gives the time of the press.
  Clock::time_point confirm(DWORD removal) {
    const Dialog confirmation = waitForDialog(removal, "Confirm");
    EXPECT_EQ(confirmation.message(), kConfirmText);
    const Clock::time_point pressed = Clock::now();
    confirmation.press("&Yes");
    return pressed;
  }

  static constexpr const char* kProduct = "E2EUninstall";
  const std::string installDir = defaultInstallDir(kProduct);
};

// What the comparison leaves out, named: the test's own package folders and the
// fixtures' records (checked by content below), and Wine's own bookkeeping.
bool isOutsideTheProgram(const std::string& entry) {
  static const char* const kPrefixes[] = {"C:\\e2e\\", "C:\\windows\\tsaver-fixture-"};
  return isWineBookkeeping(entry) || std::any_of(std::begin(kPrefixes), std::end(kPrefixes), [&](const char* prefix) {
           return startsWith(entry, prefix);
         });
}

std::vector<std::string> relevant(std::vector<std::string> entries) {
  entries.erase(std::remove_if(entries.begin(), entries.end(), isOutsideTheProgram), entries.end());
  std::sort(entries.begin(), entries.end());
  return entries;
}

// Windows' System.ini always has a "boot" section; Wine's has none, so the header that
// Finish made stays when the removal has taken its one key out.
std::vector<ProfileSection> withoutEmptyBoot(std::vector<ProfileSection> sections) {
  sections.erase(std::remove_if(sections.begin(), sections.end(),
                                [](const ProfileSection& s) { return s.name == "boot" && s.keys.empty(); }),
                 sections.end());
  return sections;
}

// While the run waits a second for the tray program's file, the gauge shows its
// bar at 20 % in navy and the percentage in black over the white rest.
void expectGaugePaintedDuringTheTrayWait(DWORD removal) {
  const Window gauge = waitForWindow(removal, "Uninstall").named("gProgress");
  constexpr std::uint32_t kNavy = 0x000080, kBlack = 0x000000;
  const int frame = 2 * 300 + 2 * 22;
  Image screen;
  waitUntil([&] { return pixelsOf(screen = capture(), gauge, kNavy) > 0; }, "the gauge's bar", Millis(1500));
  EXPECT_GT(pixelsOf(screen, gauge, kNavy), 50 * 20) << "the bar";
  EXPECT_GT(pixelsOf(screen, gauge, kBlack), frame + 20) << "the percentage";
  saveScreenshot("uninstall-gauge", Millis(0));
}

std::string systemDir() {
  char buffer[MAX_PATH];
  const UINT length = GetSystemDirectoryA(buffer, MAX_PATH);
  return std::string(buffer, length < MAX_PATH ? length : 0);
}

// The lines of "uninstaller --list", Wine's list of installed programs: "KEY|||DisplayName"
// for each entry with an UninstallString, under HKEY_LOCAL_MACHINE in both views and
// HKEY_CURRENT_USER.
std::vector<std::string> installedPrograms() {
  makeDirectories("C:\\e2e");
  const std::string output =
      outputOf(systemDir() + "\\uninstaller.exe", "--list", "C:\\", "C:\\e2e\\uninstaller-list.txt");
  std::vector<std::string> lines;
  for (std::string::size_type at = 0; at < output.size();) {
    const std::string::size_type end = std::min(output.find_first_of("\r\n", at), output.size());
    if (end > at) lines.push_back(output.substr(at, end - at));
    at = end + 1;
  }
  return lines;
}

// How the user starts the removal: the Start-menu link (the install directory as working
// directory), or the list of installed programs, which starts the entry's UninstallString
// from a directory of its own: here Wine's "uninstaller --remove KEY" from System32.
enum class RemovalStart { StartMenuLink, InstalledProgramsList };

// Packages as vendors fill them, and the two ways a user starts the removal.
struct RemovalCase {
  const char* name;
  RemovalStart start;
  std::function<void(Package&)> prepare;
};

const RemovalCase kRemovalCases[] = {
    {"StartMenuLink", RemovalStart::StartMenuLink, {}},
    {"InstalledProgramsList", RemovalStart::InstalledProgramsList, {}},
    // Copies keep the read-only attribute of their source unless the installer clears it.
    {"ReadOnlyAsOnACd", RemovalStart::StartMenuLink,
     [](Package& package) {
       package.makeReadOnly();
       EXPECT_NE(GetFileAttributesA(package.path("Movie.swf").c_str()) & FILE_ATTRIBUTE_READONLY, 0u);
     }},
    // Logged from FILE17 on: the last seven past the 999 keys that the removal probes.
    {"Extras990", RemovalStart::StartMenuLink,
     [](Package& package) {
       std::string list = "Wallpaper.bmp\r\n";
       for (int n = 2; n <= 990; ++n) {
         list += "Extra" + std::to_string(n) + ".bmp\r\n";
         package.write("Extra" + std::to_string(n) + ".bmp", "extra");
       }
       package.write("Extras.txt", list);
     }},
};

class CompleteRemoval : public UninstallE2E, public ::testing::WithParamInterface<RemovalCase> {};

TEST_P(CompleteRemoval, LeavesOnlyTheUnloggedTracesAndTakesTheProductOffTheList) {
  const std::string windows = windowsDir();
  const std::string entry = std::string(kProduct) + " screen saver";
  const std::string listed = entry + "|||" + entry;
  const std::vector<ProfileSection> systemIni = withoutEmptyBoot(profileSections(windows + "\\system.ini"));
  const MachineSnapshot before = snapshotMachine();
  EXPECT_THAT(installedPrograms(), Not(Contains(listed)));
  install(GetParam().prepare);
  EXPECT_THAT(installedPrograms(), Contains(listed));
  std::vector<std::string> copies = {installDir + "\\Uninstall.exe", installDir + "\\Wallpaper.bmp"};
  for (const ProductFile& file : productFiles(kProduct))
    copies.push_back((file.toWindowsDir ? windows : installDir) + "\\" + file.name);
  for (const std::string& copy : copies)
    EXPECT_EQ(GetFileAttributesA(copy.c_str()) & FILE_ATTRIBUTE_READONLY, 0u) << copy << " is read-only";
  stopTrayPrograms();
  waitForFixtureRecords("tasktray", "exit", 1);

  std::optional<Process> wineUninstaller;
  Process uninstaller = [&] {
    if (GetParam().start == RemovalStart::StartMenuLink) return Process::start(installDir + "\\Uninstall.exe", installDir);
    wineUninstaller.emplace(Process::start(systemDir() + "\\uninstaller.exe", systemDir(), "--remove \"" + entry + "\""));
    return Process::open(wineUninstaller->waitForDescendant("UNINSTALL.EXE"));
  }();
  const DWORD copy = removalProcess(uninstaller);
  const Clock::time_point pressed = confirm(copy);
  expectGaugePaintedDuringTheTrayWait(copy);
  ASSERT_TRUE(uninstaller.waitForExitWithDescendants());
  const double removalSeconds = secondsSince(pressed);
  EXPECT_EQ(uninstaller.exitCode(), 0u);
  std::cout << "[ timing ] removal without the tray program running, until its last process ended: " << removalSeconds
            << " s\n";
  const MachineSnapshot after = snapshotMachine();

  const MachineChanges changes = compare(before, after);
  // Never logged, and shared with other products: the path file, the Flash control (its
  // registration is recorded below), the settings file emptied of its section. Nothing of
  // the uninstaller: no "Uninstall.exe", no install directory, no copy in a temporary folder.
  const std::vector<std::string> added = {
      windows + "\\" + kProduct + ".ini",
      windows + "\\SWFlash.ocx",
      windows + "\\TSaver.ini",
      // Wine keeps a screen saver switched on without SPIF_UPDATEINIFILE here, Windows in memory.
      "HKCU\\" + std::string(kWineSystemParametersKey) + "\\\\ScreenSaveActive",
  };
  EXPECT_EQ(relevant(changes.added), relevant(added));
  const std::vector<std::string> changed = {
      "HKCU\\Control Panel\\Desktop\\\\ScreenSaveActive",
      windows + "\\system.ini",  // written twice; its content is compared below
  };
  EXPECT_EQ(relevant(changes.changed), relevant(changed));
  EXPECT_EQ(relevant(changes.removed), std::vector<std::string>{});

  EXPECT_EQ(withoutEmptyBoot(profileSections(windows + "\\system.ini")), systemIni)
      << "the active screen saver named the file the removal deleted";
  EXPECT_EQ(profileSections(windows + "\\TSaver.ini"), std::vector<ProfileSection>{});
  EXPECT_EQ(fixtureRecords("swflash").size(), waitForFixtureRecords("swflash", "DllRegisterServer", 1).size())
      << "registered, never unregistered";
  if (wineUninstaller) {
    EXPECT_TRUE(wineUninstaller->waitForExit());
  }
  EXPECT_THAT(installedPrograms(), Not(Contains(listed)));
}

INSTANTIATE_TEST_SUITE_P(StartedFrom, CompleteRemoval, ::testing::ValuesIn(kRemovalCases),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(UninstallE2E, RunningTrayProgramIsReportedAboutASecondLaterAndTheRunGoesOn) {
  install();

  Process uninstaller = Process::start(installDir + "\\Uninstall.exe", installDir);
  const DWORD removal = removalProcess(uninstaller);
  const Clock::time_point pressed = confirm(removal);
  const Dialog info = waitForDialog(removal, "Information");
  const double untilMessage = secondsSince(pressed);
  EXPECT_EQ(info.message(), kTrayText);
  saveScreenshot("uninstall-tray-message");
  EXPECT_GE(untilMessage, 1.0) << "the deletion is retried after 1000 ms";
  EXPECT_LT(untilMessage, 5.0);
  const Clock::time_point ok = Clock::now();
  info.press("OK");
  ASSERT_TRUE(uninstaller.waitForExitWithDescendants());
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

TEST_F(UninstallE2E, StopAtTheSettingsFileLeavesLogAndUninstallerAndNoTemporaryCopy) {
  install();
  stopTrayPrograms();
  waitForFixtureRecords("tasktray", "exit", 1);
  // Writing a settings file fails where a directory has its name.
  const std::string settingsFile = windowsDir() + "\\TSaver.ini";
  removePath(settingsFile);
  makeDirectories(settingsFile);
  const MachineSnapshot before = snapshotMachine();

  Process uninstaller = Process::start(installDir + "\\Uninstall.exe", installDir);
  const DWORD removal = removalProcess(uninstaller);
  confirm(removal);
  const Message error = answer(removal, kUninstallTitle, "OK");
  EXPECT_EQ(error.text, "Unable to write to TSaver.ini.");
  ASSERT_TRUE(uninstaller.waitForExitWithDescendants());
  const MachineChanges changes = compare(before, snapshotMachine());
  removePath(settingsFile);

  EXPECT_EQ(relevant(changes.added), std::vector<std::string>{});
  for (const char* kept : {"\\UNINSTALL.INI", "\\Uninstall.exe"}) EXPECT_TRUE(fileExists(installDir + kept)) << kept;
  EXPECT_FALSE(fileExists(installDir + "\\Movie.swf")) << "removed before the stop";
}

TEST_F(UninstallE2E, WithoutTheLogOneMessageThenTheProgramEnds) {
  Package elsewhere("E2EUninstallNoLog");
  elsewhere.copyProgram("Uninstall.exe");

  Process uninstaller = Process::start(elsewhere.path("Uninstall.exe"), elsewhere.dir());
  const Message shown = answer(removalProcess(uninstaller), kUninstallTitle, "OK");
  EXPECT_EQ(shown.text, kNoLogText);
  ASSERT_TRUE(uninstaller.waitForExitWithDescendants());
  EXPECT_EQ(uninstaller.exitCode(), 0u);
  EXPECT_TRUE(elsewhere.has("Uninstall.exe"));
}

// A log that names what no installation writes: another program's files, Run value
// and the boot section of "system.ini". The run goes to its end and touches none.
TEST_F(UninstallE2E, APlantedLogRemovesNothingThatIsNotOfTheProduct) {
  Package planted("E2EPlanted");
  planted.copyProgram("Uninstall.exe");
  const std::string desktopParent = shellFolder("Desktop") + "\\..";
  const std::vector<std::string> victims = {"C:\\e2e\\Victim1.txt", "C:\\e2e\\Victim2.txt",
                                            "C:\\e2e\\Victim3.txt", desktopParent + "\\Victim4.lnk"};
  for (const std::string& victim : victims) writeFile(victim, "not the product's");
  const std::string runKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
  setUserRegistryString(runKey, "E2EPlanted other program", "C:\\e2e\\other.exe");
  const std::string systemIni = windowsDir() + "\\system.ini";
  WritePrivateProfileStringA("boot", "E2EPlanted", "kept", systemIni.c_str());
  const std::vector<ProfileSection> systemBefore = profileSections(systemIni);
  planted.write("UNINSTALL.INI",
                "[FILES]\r\nFILE3=..\\Victim1.txt\r\nFILE4=C:\\e2e\\Victim2.txt\r\n"
                "[SHORTCUTS]\r\nSHORTCUT1=C:\\e2e\\Victim3.txt\r\n"
                "[DESKTOP]\r\nSHORTCUT4=..\\Victim4.lnk\r\n"
                "[REGISTRY]\r\nKEY1=E2EPlanted other program\r\n"
                "[INIFILE]\r\nCFGFILE=system.ini\r\nSECTION=boot\r\n");

  Process uninstaller = Process::start(planted.path("Uninstall.exe"), planted.dir());
  confirm(removalProcess(uninstaller));
  ASSERT_TRUE(uninstaller.waitForExitWithDescendants());
  EXPECT_EQ(uninstaller.exitCode(), 0u);

  EXPECT_FALSE(planted.has("UNINSTALL.INI")) << "the run went to its end";
  for (const std::string& victim : victims) EXPECT_TRUE(fileExists(victim)) << victim;
  EXPECT_EQ(userRegistryString(runKey, "E2EPlanted other program"), "C:\\e2e\\other.exe");
  EXPECT_EQ(profileSections(systemIni), systemBefore);

  for (const std::string& victim : victims) removePath(victim);
  deleteUserRegistryValue(runKey, "E2EPlanted other program");
  WritePrivateProfileStringA("boot", "E2EPlanted", nullptr, systemIni.c_str());
}

}  // namespace
}  // namespace e2e
