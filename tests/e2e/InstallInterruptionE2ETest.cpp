// What reaches the real window while a run pumps its messages: the close box and
// the folder button during the installation run, a second click on Finish.
#include <gtest/gtest.h>

#include "e2e/FixtureRecords.h"
#include "e2e/MachineState.h"
#include "e2e/ProductPackage.h"
#include "e2e/WizardSession.h"
#include "e2e/robot/Files.h"

namespace e2e {
namespace {

const char kProduct[] = "E2EInterrupted";

class InstallInterruption : public ::testing::Test {
 protected:
  void SetUp() override {
    stopTrayPrograms();
    forgetProduct(kProduct);
    // The first registration happens only when the control is new to the Windows directory.
    removePath(windowsDir() + "\\SWFlash.ocx");
    for (const char* fixture : {"swflash", "tasktray"}) forgetFixtureRecords(fixture);
  }
  void TearDown() override {
    stopTrayPrograms();
    forgetProduct(kProduct);
  }

  // Welcome page, then the directory page.
  void toTheDirectoryPage(const WizardSession& wizard) const {
    wizard.press("btn_next");
    wizard.waitForVisible("btn_filename");
  }

  const std::string installDir = defaultInstallDir(kProduct);
};

TEST_F(InstallInterruption, CloseBoxAndFolderButtonDoNothingDuringTheRun) {
  const Package package = makeProductPackage(kProduct);
  WizardSession wizard(package);
  toTheDirectoryPage(wizard);
  // Queued right behind Next, so that they arrive while the run pumps messages.
  pressInQuickSuccession({wizard.control("btn_next"), wizard.control("btn_filename")});
  wizard.form().close();

  wizard.waitForText("btn_next", "&Finish");
  EXPECT_TRUE(wizard.process().running());
  EXPECT_FALSE(findWindow(wizard.process().id(), "Select Directory")) << "no chooser";
  EXPECT_TRUE(package.has("Data.dat")) << "the package is whole until the wizard closes";
  const std::string log = installDir + "\\UNINSTALL.INI";
  EXPECT_EQ(profileString(log, "FILES", "FILE16"), "Config.bmp");
  EXPECT_EQ(profileString(log, "INIFILE", "SECTION"), settingsSection(kProduct));

  wizard.form().close();
  EXPECT_EQ(wizard.waitForExit(), 0u) << "on the finish page the close box ends the program";
  EXPECT_FALSE(package.has("Data.dat"));
}

TEST_F(InstallInterruption, FinishPressedTwiceRunsTheFinishOnce) {
  Package package = makeProductPackage(kProduct);
  package.write("Extras.txt", "Wallpaper.bmp\r\n");
  package.write("Wallpaper.bmp", "wallpaper");
  WizardSession wizard(package);
  toTheDirectoryPage(wizard);
  wizard.press("btn_next");
  wizard.waitForText("btn_next", "&Finish");
  pressInQuickSuccession({wizard.control("btn_next"), wizard.control("btn_next")});
  EXPECT_EQ(wizard.waitForExit(), 0u);

  // One registration while copying, one at Finish; the tray program once. Neither
  // is waited for by the program: give a repeated start the time to show.
  waitForFixtureRecords("swflash", "DllRegisterServer", 2);
  waitForFixtureRecords("tasktray", "start", 1);
  Sleep(2000);
  EXPECT_EQ(fixtureRecords("swflash").size(), 2u);
  EXPECT_EQ(fixtureRecords("tasktray").size(), 1u);
  EXPECT_EQ(readFile(installDir + "\\Wallpaper.bmp"), "wallpaper");
  EXPECT_EQ(profileString(installDir + "\\UNINSTALL.INI", "FILES", "FILE17"), "Wallpaper.bmp");
  EXPECT_EQ(profileString(installDir + "\\UNINSTALL.INI", "FILES", "FILE18"), "<none>");
}

}  // namespace
}  // namespace e2e
