#include <gtest/gtest.h>

#include <algorithm>
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
  bool earlierInstallation;
};

class InstallRollbackTest : public InstallAbort, public ::testing::WithParamInterface<RollbackCase> {};

// Only package files go (the wizard's clean-up) and only the shared Flash control comes.
TEST_P(InstallRollbackTest, AnAbortedRunTakesBackWhatItCreated) {
  if (GetParam().earlierInstallation) {
    win.putFile(kDefaultInstallDir + "\\Saver.exe", "older");
    win.putFile(kDefaultInstallDir + "\\Uninstall.exe", "older");
    win.putFile("C:\\WINDOWS\\Tessaryn.ini", "older");
  }
  win.failCopiesTo(kDefaultInstallDir + "\\Movie.swf");
  start();
  next();
  std::vector<std::string> before = win.allPaths();
  next();
  ASSERT_EQ(messages().back(), kAborted);
  std::vector<std::string> after = win.allPaths();
  std::sort(before.begin(), before.end());
  std::sort(after.begin(), after.end());
  std::vector<std::string> added, removed;
  std::set_difference(after.begin(), after.end(), before.begin(), before.end(), std::back_inserter(added));
  std::set_difference(before.begin(), before.end(), after.begin(), after.end(), std::back_inserter(removed));
  EXPECT_EQ(added, std::vector<std::string>{"C:\\WINDOWS\\SWFlash.ocx"});
  for (const auto& path : removed) EXPECT_EQ(path.rfind(kPackage, 0), 0u) << path;
  if (GetParam().earlierInstallation) {
    // Replaced before the failure: the older copy cannot be brought back.
    EXPECT_EQ(win.fileContent(kDefaultInstallDir + "\\Saver.exe"), "Saver.exe content");
    EXPECT_EQ(win.fileContent("C:\\WINDOWS\\Tessaryn.ini"), "[Data]\r\nPath=" + kDefaultInstallDir + "\\\r\n");
  }
}

INSTANTIATE_TEST_SUITE_P(Machines, InstallRollbackTest,
                         ::testing::Values(RollbackCase{"fresh", false}, RollbackCase{"earlierInstallation", true}),
                         [](const auto& info) { return std::string(info.param.title); });

TEST_F(InstallAbort, UnwritableSettingsFileStopsTheRunOnTheDirectoryPage) {
  win.failProfileWrites("TSaver.ini");
  start();
  next();
  next();
  EXPECT_EQ(messages(), std::vector<std::string>{"Unable to write to TSaver.ini."});
  EXPECT_FALSE(closed());
  EXPECT_EQ(frmInstall->Notebook->activePage(), "P4");
  EXPECT_FALSE(frmInstall->btn_next->enabled());
  EXPECT_FALSE(frmInstall->btn_back->enabled());
  EXPECT_FALSE(frmInstall->btn_cancel->enabled());
  EXPECT_FALSE(win.fileExists(kDefaultInstallDir + "\\UNINSTALL.INI"));
}

TEST_F(InstallAbort, UnwritablePathFileKeepsTheDirectoryPageUsable) {
  win.putDirectory("C:\\WINDOWS\\Tessaryn.ini");
  start();
  next();
  next();
  ASSERT_EQ(messages().size(), 1u);
  EXPECT_EQ(messages()[0], "File access denied.");
  EXPECT_TRUE(frmInstall->btn_next->enabled());
  EXPECT_TRUE(frmInstall->btn_back->enabled());
  EXPECT_FALSE(frmCopying->visible());
}

TEST_F(InstallAbort, FailingShortcutSaveShowsTheComponentsError) {
  win.failShellLinks(ShellLinkResult::CreateFailed);
  start();
  next();
  next();
  EXPECT_EQ(messages(), std::vector<std::string>{"\"CoCreateInstance\" failed."});
  EXPECT_EQ(frmInstall->Notebook->activePage(), "P4");
  EXPECT_EQ(win.getProfileString("FILES", "FILE3", "NONE", kDefaultInstallDir + "\\UNINSTALL.INI"), "Saver.exe");
  EXPECT_EQ(win.getProfileString("SHORTCUTS", "SHORTCUT1", "NONE", kDefaultInstallDir + "\\UNINSTALL.INI"), "NONE");
}

TEST_F(InstallAbort, MistypedProgramsFolderIsShownAtCreationAndStopsTheShortcutStageBeforeTheGroup) {
  win.putRegistryValue("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Programs", "1",
                       SimulatedWindows::ValueType::DWord);
  start();
  const std::string error = "Invalid data type for 'Programs'.";
  EXPECT_EQ(messages(), std::vector<std::string>{error});
  EXPECT_TRUE(frmInstall->visible()) << "the wizard opens all the same";
  next();
  next();
  EXPECT_EQ(messages(), (std::vector<std::string>{error, error}));
  EXPECT_EQ(frmInstall->Notebook->activePage(), "P4");
  EXPECT_FALSE(win.directoryExists(kPackage + "Tessaryn screen saver")) << "no group in the current directory";
}

TEST_F(InstallAbort, InstallingAgainReplacesEarlierCopiesAndKeepsOtherLogKeys) {
  win.putFile(kDefaultInstallDir + "\\Movie.swf", "older movie");
  win.putFile(kDefaultInstallDir + "\\UNINSTALL.INI", "[FILES]\r\nFILE40=Old.bmp\r\nFILE4=Old.swf\r\n");
  win.deleteFile(kPackage + "Movie.swf");
  start();
  next();
  next();
  EXPECT_FALSE(win.fileExists(kDefaultInstallDir + "\\Movie.swf")) << "the earlier copy is deleted first";
  EXPECT_EQ(win.getProfileString("FILES", "FILE40", "NONE", kDefaultInstallDir + "\\UNINSTALL.INI"), "Old.bmp");
  EXPECT_EQ(win.getProfileString("FILES", "FILE4", "NONE", kDefaultInstallDir + "\\UNINSTALL.INI"), "Old.swf");
  EXPECT_EQ(win.getProfileString("FILES", "FILE3", "NONE", kDefaultInstallDir + "\\UNINSTALL.INI"), "Saver.exe");
}

}  // namespace
}  // namespace tsaver::testing
