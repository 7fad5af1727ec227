// The installation run's failure paths under Wine: the messages, in order,
// and what each leaves behind.
#include <gtest/gtest.h>

#include "e2e/FixtureRecords.h"
#include "e2e/MachineState.h"
#include "e2e/ProductPackage.h"
#include "e2e/WizardSession.h"
#include "e2e/robot/Files.h"
#include "e2e/robot/Process.h"
#include "e2e/robot/Screen.h"

namespace e2e {
namespace {

const char kCopyFailed[] = "Unable to copy file, destination unable to be written. - ";
const char kAborted[] = "Installation aborted!, Files will not have been installed properly.";

// A directory where the installation expects to write a file, removed again
// whatever the test's outcome: under Wine CopyFileA overwrites read-only files,
// so only a directory makes a destination unwritable.
class BlockingDirectory {
 public:
  explicit BlockingDirectory(std::string path) : path_(std::move(path)) {
    removePath(path_);
    makeDirectories(path_);
  }
  ~BlockingDirectory() { removePath(path_); }
  BlockingDirectory(const BlockingDirectory&) = delete;
  BlockingDirectory& operator=(const BlockingDirectory&) = delete;

 private:
  std::string path_;
};

// After the abort: what the run created is gone again, and nothing was logged.
void expectTakenBack(const std::string& product) {
  const std::string installDir = defaultInstallDir(product);
  for (const char* copied : {"Saver.exe", "Movie.swf", "Uninstall.exe", "UNINSTALL.INI"})
    EXPECT_FALSE(fileExists(installDir + "\\" + copied)) << copied;
  EXPECT_FALSE(fileExists(windowsDir() + "\\" + product + ".scr"));
  EXPECT_FALSE(fileExists(windowsDir() + "\\" + product + ".ini")) << "the path file";
  EXPECT_EQ(profileString("TSaver.ini", settingsSection(product), "DataPath"), "<none>");
}

// Starts the wizard and presses Next on the welcome and the directory page.
void startTheRun(const WizardSession& wizard) {
  wizard.press("btn_next");
  wizard.waitForVisible("btn_filename");
  wizard.press("btn_next");
}

// A fresh package's run whose copy to `destination` fails: that message, the abort, the end.
void installUntilTheCopyFails(const std::string& product, const std::string& destination) {
  const Package package = makeProductPackage(product);
  WizardSession wizard(package);
  startTheRun(wizard);
  EXPECT_EQ(wizard.answer(kInstallTitle, "OK").text, kCopyFailed + destination);
  EXPECT_EQ(wizard.answer(kInstallTitle, "OK").text, kAborted);
  EXPECT_EQ(wizard.waitForExit(), 0u);
}

TEST(InstallAbort, BlockedInstallDirectoryEndsTheProgram) {
  const std::string product = "E2EBlockedDir";
  forgetProduct(product);
  makeDirectories("C:\\Program Files\\" + product);
  writeFile(defaultInstallDir(product), "a file where the directory should be");
  const Package package = makeProductPackage(product);
  WizardSession wizard(package);
  startTheRun(wizard);
  EXPECT_EQ(wizard.answer(kInstallTitle, "OK").text, "Installation aborted, destination directory unable to be created.");
  EXPECT_EQ(wizard.waitForExit(), 0u);
  EXPECT_FALSE(fileExists(windowsDir() + "\\" + product + ".ini")) << "nothing written";
  EXPECT_FALSE(fileExists(windowsDir() + "\\" + product + ".scr"));
  EXPECT_FALSE(package.has("Data.dat")) << "the closing wizard cleaned up";
  forgetProduct(product);
}

TEST(InstallAbort, UnwritableProductFileStopsTheCopyingAndLogsNothing) {
  const std::string product = "E2EBlockedFile";
  forgetProduct(product);
  const std::string installDir = defaultInstallDir(product);
  const BlockingDirectory movie(installDir + "\\Movie.swf");
  installUntilTheCopyFails(product, installDir + "\\Movie.swf");
  for (const char* later : {"TaskTray.exe", "Data.dat", "Readme.txt", "Config.bmp"})
    EXPECT_FALSE(fileExists(installDir + "\\" + later)) << later << " lies after the failed copy";
  expectTakenBack(product);
}

// The easy older copy that cannot be replaced: a program running from the install directory.
TEST(InstallAbort, OlderCopyInUseAbortsTheRunAndTakesBackTheRest) {
  const std::string product = "E2EOlderInUse";
  stopTrayPrograms();
  forgetProduct(product);
  const std::string installDir = defaultInstallDir(product);
  makeDirectories(installDir);
  copyFile(fixturesDir() + "TaskTray.exe", installDir + "\\TaskTray.exe");
  forgetFixtureRecords("tasktray");
  const Process older = Process::start(installDir + "\\TaskTray.exe", installDir);
  waitForFixtureRecords("tasktray", "start", 1);
  installUntilTheCopyFails(product, installDir + "\\TaskTray.exe");
  EXPECT_EQ(readFile(installDir + "\\TaskTray.exe"), readFile(fixturesDir() + "TaskTray.exe"))
      << "the older copy stays";
  expectTakenBack(product);
  stopTrayPrograms();
  forgetProduct(product);
}

TEST(InstallAbort, UnwritableSettingsFileLeavesTheWizardStuckOnTheDirectoryPage) {
  const std::string product = "E2EBlockedIni";
  forgetProduct(product);
  const std::string installDir = defaultInstallDir(product);
  const BlockingDirectory settings(windowsDir() + "\\TSaver.ini");
  const Package package = makeProductPackage(product);
  WizardSession wizard(package);
  startTheRun(wizard);
  const Dialog error = waitForDialog(wizard.process().id(), kInstallTitle);
  EXPECT_EQ(error.message(), "Unable to write to TSaver.ini.");
  ASSERT_TRUE(error.icon());
  EXPECT_TRUE(showsSystemIcon(error.icon(), IDI_HAND)) << "a stop icon";
  error.press("OK");
  waitUntilGone(error.window(), "the error box");

  EXPECT_TRUE(wizard.process().running());
  EXPECT_TRUE(wizard.control("btn_filename").visible()) << "still the directory page";
  for (const char* button : {"btn_next", "btn_back", "btn_cancel"})
    EXPECT_FALSE(wizard.control(button).enabled()) << button;
  EXPECT_TRUE(fileExists(installDir + "\\Config.bmp")) << "every file was copied";
  EXPECT_EQ(profileString(installDir + "\\UNINSTALL.INI", "FILES", "FILE16"), "Config.bmp")
      << "the uninstaller can remove what was copied";
  wizard.form().close();
  EXPECT_EQ(wizard.waitForExit(), 0u);
}

}  // namespace
}  // namespace e2e
