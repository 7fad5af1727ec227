// A whole installation under Wine, Next, Next, Finish, checked through the
// real API afterwards.
#include <gtest/gtest.h>

#include <iostream>
#include <map>
#include <optional>

#include "e2e/FixtureRecords.h"
#include "e2e/MachineState.h"
#include "e2e/ProductPackage.h"
#include "e2e/WizardSession.h"
#include "e2e/robot/Files.h"
#include "e2e/robot/Screen.h"

namespace e2e {
namespace {

const char kProduct[] = "E2EFull";
const char kRunKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const char kDesktopKey[] = "Control Panel\\desktop";

class InstallRun : public ::testing::Test {
 protected:
  void SetUp() override {
    forgetProduct(kProduct);
    // The first registration happens only when the control is new to the Windows directory.
    removePath(windowsDir() + "\\SWFlash.ocx");
    for (const char* fixture : {"swflash", "tasktray", "saver"}) forgetFixtureRecords(fixture);
    setUserRegistryString(kDesktopKey, "ScreenSaveActive", "0");
  }
  // Wine's wineboot starts the Run key's programs at every Wine start: the
  // installed Run value must not outlive the test.
  void TearDown() override {
    stopTrayPrograms();
    forgetProduct(kProduct);
  }

  const std::string installDir = defaultInstallDir(kProduct);
  const std::string group = groupDir(kProduct);
};

constexpr std::uint32_t kBlue = 0x0000FF, kWhite = 0xFFFFFF, kBlack = 0x000000;

// Every label of the wizard and of the copy window shows its own text in its own
// colour while the files are copied: text pixels of that colour where the copy
// window leaves the label visible, and none of the colour of the step's other state.
void expectLabelsPainted(const WizardSession& wizard, const Window& copying, const Image& screen) {
  const struct {
    const char* name;
    std::uint32_t text;
    std::optional<std::uint32_t> never;
  } labels[] = {
      {"Label1", kBlue, kWhite},     {"Label4", kBlue, kWhite},       {"Label5", kWhite, kBlue},
      {"Label6", kBlue, kWhite},     {"lbl_caption", kWhite, {}},     {"Label7", kBlack, {}},
      {"Label16", kBlack, {}},       {"edt_filename", kBlack, {}},
  };
  for (const auto& label : labels) {
    const Window control = wizard.control(label.name);
    EXPECT_GT(pixelsOf(screen, control, label.text, copying), 10) << label.name << " shows no text";
    if (label.never) {
      EXPECT_EQ(pixelsOf(screen, control, *label.never, copying), 0) << label.name << ": a stale colour";
    }
  }
  EXPECT_GT(pixelsOf(screen, copying.named("lbl_file"), kBlack), 10) << "the copy window's label shows no text";
}

// Presses Next on the directory page, catches the copy window and pictures both windows at once.
void runAndPictureTheCopyWindow(const WizardSession& wizard) {
  wizard.press("btn_next");
  const Window copying = waitForWindow(wizard.process().id(), "Copying files . . .", true, Millis(5000));
  // At once: the window shows only while the files are copied. Still there after
  // the capture, it was there throughout (the screenshot file is a later capture).
  const Image screen = capture();
  ASSERT_TRUE(copying.visible()) << "the copy window had gone by the capture";
  saveScreenshot("copy-window", Millis(0));
  expectLabelsPainted(wizard, copying, screen);
}

TEST_F(InstallRun, InstallsEverythingAndIntegratesWithTheSystem) {
  Package package = makeProductPackage(kProduct);
  // Large, as a real movie is: the copy window stays long enough to be pictured.
  package.write("Movie.swf", std::string(128 << 20, 'm'));
  package.write("Extras.txt", "Wallpaper.bmp\r\n");
  package.write("Wallpaper.bmp", "wallpaper of E2EFull");
  std::map<std::string, std::string> sources;
  for (const ProductFile& file : productFiles(kProduct)) sources[file.name] = readFile(package.path(file.name));

  WizardSession wizard(package);
  wizard.press("btn_next");
  wizard.waitForVisible("btn_filename");
  ASSERT_NO_FATAL_FAILURE(runAndPictureTheCopyWindow(wizard));
  wizard.waitForText("btn_next", "&Finish");
  wizard.waitForVisible("lblSuccess1");
  EXPECT_TRUE(wizard.control("btn_next").enabled());
  EXPECT_FALSE(wizard.control("btn_back").enabled());
  EXPECT_FALSE(wizard.control("btn_cancel").enabled());
  saveScreenshot("wizard-finish");
  wizard.press("btn_next");
  EXPECT_EQ(wizard.waitForExit(), 0u);

  for (const ProductFile& file : productFiles(kProduct)) {
    const std::string installed = (file.toWindowsDir ? windowsDir() : installDir) + "\\" + file.name;
    EXPECT_EQ(readFile(installed), sources[file.name]) << installed;
  }
  EXPECT_EQ(readFile(installDir + "\\Uninstall.exe"), readFile(installExe()));
  EXPECT_EQ(readFile(installDir + "\\Wallpaper.bmp"), "wallpaper of E2EFull");
  EXPECT_FALSE(package.has("Wallpaper.bmp")) << "an extra file moves";
  EXPECT_TRUE(package.has("Saver.exe")) << "slot 3 held a shortcut when the wizard closed";
  for (const char* gone : {"Data.dat", "Movie.swf", "E2EFull.scr", "SWFlash.ocx", "Extras.txt", "After.txt"})
    EXPECT_FALSE(package.has(gone)) << gone;

  EXPECT_EQ(readFile(windowsDir() + "\\E2EFull.ini"), "[Data]\r\nPath=" + installDir + "\\\r\n");
  EXPECT_EQ(profileString("TSaver.ini", settingsSection(kProduct), "DataPath"), installDir);
  EXPECT_EQ(profileString("System.ini", "boot", "SCRNSAVE.EXE"), shortPath(windowsDir() + "\\E2EFull.scr"));
  EXPECT_EQ(userRegistryString(kDesktopKey, "ScreenSaveActive"), "1");
  EXPECT_EQ(userRegistryString(kRunKey, "E2EFull screen saver"), "\"" + installDir + "\\TaskTray.exe\"");

  const std::string icon = installDir + "\\E2EFull.ico";
  const struct {
    std::string file;
    LinkFields fields;
  } links[] = {
      {group + "\\E2EFull task tray program.lnk",
       {installDir + "\\TaskTray.exe", installDir, "E2EFull task tray program", "", icon, 0, SW_SHOWNORMAL}},
      {group + "\\E2EFull screen saver.lnk",
       {installDir + "\\RunSaver.exe", installDir, "E2EFull screen saver", "", icon, 0, SW_SHOWNORMAL}},
      {group + "\\Uninstall.lnk",
       {installDir + "\\Uninstall.exe", installDir, "Uninstall", "", installDir + "\\Uninstall.exe", 0, SW_SHOWNORMAL}},
      {shellFolder("Desktop") + "\\E2EFull screen saver.lnk",
       {installDir + "\\RunSaver.exe", installDir, "E2EFull screen saver", "", icon, 0, SW_SHOWNORMAL}},
  };
  for (const auto& link : links) EXPECT_EQ(readLink(link.file), link.fields) << link.file;
  for (const char* name : {"E2EFull task tray program.lnk", "E2EFull screen saver.lnk", "Uninstall.lnk"})
    EXPECT_FALSE(fileExists(shellFolder("Programs") + "\\" + name)) << name << " moved into the group";

  const std::vector<ProfileSection> log = {
      {"FILES",
       {{"FILE1", windowsDir() + "\\E2EFull.scr"}, {"FILE3", "Saver.exe"},     {"FILE4", "Movie.swf"},
        {"FILE5", "TaskTray.exe"},                 {"FILE6", "Data.dat"},      {"FILE8", "Contacts.bmp"},
        {"FILE9", "E2EFull.ico"},                  {"FILE10", "Readme.txt"},   {"FILE11", "RunSaver.exe"},
        {"FILE12", "Settings.txt"},                {"FILE13", "Preview.bmp"},  {"FILE14", "Path.dat"},
        {"FILE15", "Config.swf"},                  {"FILE16", "Config.bmp"},   {"FILE17", "Wallpaper.bmp"}}},
      {"UNINSTALLENTRY", {{"KEY", std::string(kProduct) + " screen saver"}}},
      {"SHORTCUTS",
       {{"SHORTCUT1", group + "\\E2EFull task tray program.lnk"},
        {"SHORTCUT2", group + "\\E2EFull screen saver.lnk"},
        {"SHORTCUT3", group + "\\Uninstall.lnk"}}},
      {"DESKTOP", {{"SHORTCUT4", "E2EFull screen saver.lnk"}}},
      {"REGISTRY", {{"KEY1", "E2EFull screen saver"}}},
      {"DIRECTORIES", {{"DIRECTORY1", installDir}, {"DIRECTORY2", group}}},
      {"INIFILE", {{"CFGFILE", "TSaver.ini"}, {"SECTION", settingsSection(kProduct)}}},
  };
  EXPECT_EQ(profileSections(installDir + "\\UNINSTALL.INI"), log);

  // Once by WinExec while copying, once by ShellExecute at Finish; neither is waited for.
  const auto registrations = waitForFixtureRecords("swflash", "DllRegisterServer", 2);
  for (const FixtureRecord& r : registrations) {
    EXPECT_EQ(r.module, windowsDir() + "\\SWFLASH.OCX");
    EXPECT_NE(r.commandLine.find("/s " + windowsDir() + "\\SWFLASH.OCX"), std::string::npos) << r.commandLine;
  }
  const auto trayStarts = waitForFixtureRecords("tasktray", "start", 1);
  EXPECT_EQ(trayStarts[0].module, installDir + "\\TaskTray.exe");
  EXPECT_EQ(fixtureRecords("tasktray").size(), 1u) << "started once and still running";
  // Post-install action 1 posts SC_SCREENSAVE to the desktop window; Wine's
  // desktop starts no screen saver for it, so there is nothing to observe here.
}

}  // namespace
}  // namespace e2e
