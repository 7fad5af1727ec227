#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <iterator>

#include "InstallerFixture.h"

namespace tsaver::testing {
namespace {

class InstallAbort : public InstallerFixture {
 protected:
  void SetUp() override { makePackage(); }
};

const std::string kAborted = "Installation aborted!, Files will not have been installed properly.";
const std::string kCopyFailed = "Unable to copy file, destination unable to be written. - ";

TEST_F(InstallAbort, BlockedInstallDirectoryEndsTheProgramBeforeAnythingIsWritten) {
  win.putDirectory("C:\\Program Files\\Tessaryn");
  win.putFile(kDefaultInstallDir, "a file where the directory should be");
  start();
  next();
  next();
  EXPECT_EQ(messages(), std::vector<std::string>{"Installation aborted, destination directory unable to be created."});
  EXPECT_TRUE(closed());
  EXPECT_FALSE(win.fileExists("C:\\WINDOWS\\Tessaryn.ini"));
  EXPECT_FALSE(win.fileExists("C:\\WINDOWS\\Tessaryn.scr"));
  EXPECT_TRUE(win.launches().empty());
}

TEST_F(InstallAbort, FailedProductCopyStopsTheLoopAndLogsNothing) {
  win.failCopiesTo(kDefaultInstallDir + "\\Movie.swf");
  start();
  next();
  next();
  EXPECT_EQ(messages(), (std::vector<std::string>{kCopyFailed + kDefaultInstallDir + "\\Movie.swf", kAborted}));
  EXPECT_TRUE(closed());
  for (const char* later : {"TaskTray.exe", "Data.dat", "Tessaryn.ico", "Config.bmp"})
    EXPECT_FALSE(win.fileExists(kDefaultInstallDir + "\\" + later)) << later;
  EXPECT_FALSE(win.fileExists(kDefaultInstallDir + "\\UNINSTALL.INI"));
  EXPECT_FALSE(win.fileExists("C:\\WINDOWS\\TSaver.ini"));
  EXPECT_EQ(frmCopying->Gauge->progress(), 4) << "slots 1 to 4 counted";
  EXPECT_FALSE(frmCopying->visible());
}

TEST_F(InstallAbort, FailedScreenSaverCopyGoesOnCopyingThenAborts) {
  win.failCopiesTo("C:\\WINDOWS\\Tessaryn.scr");
  start();
  next();
  next();
  EXPECT_EQ(messages(), (std::vector<std::string>{kCopyFailed + "C:\\WINDOWS\\Tessaryn.scr", kAborted}));
  EXPECT_EQ(frmCopying->lbl_file->caption(), "Copying to: " + kDefaultInstallDir + "\\Config.bmp");
  EXPECT_EQ(frmCopying->Gauge->progress(), 16);
  EXPECT_FALSE(win.fileExists(kDefaultInstallDir + "\\UNINSTALL.INI"));
}

struct LockedOlderCopyCase {
  const char* title;
  std::string older;  // an earlier copy in use, which cannot be replaced
};

class InstallLockedOlderCopy : public InstallAbort, public ::testing::WithParamInterface<LockedOlderCopyCase> {};

TEST_P(InstallLockedOlderCopy, IsAFailedCopyThatAbortsTheRun) {
  const std::string& older = GetParam().older;
  win.putFile(older, "older");
  win.lockFile(older);
  start();
  next();
  next();
  EXPECT_EQ(messages(), (std::vector<std::string>{kCopyFailed + older, kAborted}));
  EXPECT_TRUE(closed());
  EXPECT_EQ(win.fileContent(older), "older");
  EXPECT_FALSE(win.fileExists(kDefaultInstallDir + "\\UNINSTALL.INI"));
  EXPECT_FALSE(win.fileExists("C:\\WINDOWS\\TSaver.ini"));
}

INSTANTIATE_TEST_SUITE_P(Copies, InstallLockedOlderCopy,
                         ::testing::Values(LockedOlderCopyCase{"screenSaver", "C:\\WINDOWS\\Tessaryn.scr"},
                                           LockedOlderCopyCase{"productFile", kDefaultInstallDir + "\\Movie.swf"}),
                         [](const auto& info) { return std::string(info.param.title); });

struct RollbackCase {
  const char* title;
  // With an earlier installation: what its "Saver.exe" holds after the aborted run.
  const char* earlierSaverAfter;
  // What befalls the machine from outside once the wizard has read the package.
  std::function<void(SimulatedWindows&, tk::HeadlessBackend&)> meanwhile;
  std::vector<std::string> messages;
  std::vector<std::string> added;  // what the aborted run leaves beyond the earlier state
};

const std::string kMovieFailed = kCopyFailed + kDefaultInstallDir + "\\Movie.swf";

class InstallRollbackTest : public InstallAbort, public ::testing::WithParamInterface<RollbackCase> {};

// Only package files go (the wizard's clean-up) and only the shared Flash control comes.
TEST_P(InstallRollbackTest, AnAbortedRunTakesBackWhatItCreated) {
  if (GetParam().earlierSaverAfter) {
    win.putFile(kDefaultInstallDir + "\\Saver.exe", "older");
    win.putFile(kDefaultInstallDir + "\\Uninstall.exe", "older");
    win.putFile("C:\\WINDOWS\\Tessaryn.ini", "older");
  }
  win.failCopiesTo(kDefaultInstallDir + "\\Movie.swf");
  start();
  next();
  if (GetParam().meanwhile) GetParam().meanwhile(win, ui);
  std::vector<std::string> before = win.allPaths();
  next();
  EXPECT_EQ(messages(), GetParam().messages);
  std::vector<std::string> after = win.allPaths();
  std::sort(before.begin(), before.end());
  std::sort(after.begin(), after.end());
  std::vector<std::string> added, removed;
  std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::back_inserter(added));
  std::set_difference(before.begin(), before.end(), after.begin(), after.end(), std::back_inserter(removed));
  EXPECT_EQ(added, GetParam().added);
  for (const auto& path : removed) EXPECT_EQ(path.rfind(kPackage, 0), 0u) << path;
  if (GetParam().earlierSaverAfter) {
    // Replaced before the failure, the older copy cannot be brought back.
    EXPECT_EQ(win.fileContent(kDefaultInstallDir + "\\Saver.exe"), GetParam().earlierSaverAfter);
    EXPECT_EQ(win.fileContent("C:\\WINDOWS\\Tessaryn.ini"), "[Data]\r\nPath=" + kDefaultInstallDir + "\\\r\n");
  }
}

INSTANTIATE_TEST_SUITE_P(
    Machines, InstallRollbackTest,
    ::testing::Values(
        RollbackCase{"fresh", nullptr, nullptr, {kMovieFailed, kAborted}, {"C:\\WINDOWS\\SWFlash.ocx"}},
        RollbackCase{"earlierInstallation", "Saver.exe content", nullptr, {kMovieFailed, kAborted}, {"C:\\WINDOWS\\SWFlash.ocx"}},
        // Absent when the run began, but made by another run meanwhile: it stays.
        RollbackCase{"anotherRunsFile", nullptr,
                     [](SimulatedWindows& machine, tk::HeadlessBackend& ui) {
                       ui.onPump = [&machine, made = false]() mutable {
                         if (!made) machine.putFile(kDefaultInstallDir + "\\Readme.txt", "another run's");
                         made = true;
                       };
                     },
                     {kMovieFailed, kAborted},
                     // Its folders stay with it.
                     {"C:\\Program Files\\", "C:\\Program Files\\Tessaryn\\", kDefaultInstallDir + "\\",
                      kDefaultInstallDir + "\\Readme.txt", "C:\\WINDOWS\\SWFlash.ocx"}},
        // A file the package held when the wizard read it is no optional file when it has
        // gone: nothing is copied, and the older installation keeps its files.
        RollbackCase{"vanishedSource", "older",
                     [](SimulatedWindows& machine, tk::HeadlessBackend&) {
                       machine.deleteFile(kPackage + "Readme.txt");
                     },
                     {"Unable to copy file, it is no longer in the installation package. - " + kPackage + "Readme.txt",
                      kAborted},
                     {}}),
    [](const auto& info) { return std::string(info.param.title); });

}  // namespace
}  // namespace tsaver::testing
