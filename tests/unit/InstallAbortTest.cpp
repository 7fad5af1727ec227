#include <gtest/gtest.h>

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
  EXPECT_TRUE(win.fileExists(kDefaultInstallDir + "\\Saver.exe"));
  for (const char* later : {"TaskTray.exe", "Data.dat", "Tessaryn.ico", "Config.bmp"})
    EXPECT_FALSE(win.fileExists(kDefaultInstallDir + "\\" + later)) << later;
  EXPECT_FALSE(win.fileExists(kDefaultInstallDir + "\\UNINSTALL.INI"));
  EXPECT_FALSE(win.fileExists("C:\\WINDOWS\\TSaver.ini"));
  EXPECT_TRUE(win.fileExists("C:\\WINDOWS\\Tessaryn.ini")) << "the path file stays";
  EXPECT_EQ(frmCopying->Gauge->progress(), 4) << "slots 1 to 4 counted";
  EXPECT_FALSE(frmCopying->visible());
}

TEST_F(InstallAbort, FailedScreenSaverCopyGoesOnCopyingThenAborts) {
  win.failCopiesTo("C:\\WINDOWS\\Tessaryn.scr");
  start();
  next();
  next();
  EXPECT_EQ(messages(), (std::vector<std::string>{kCopyFailed + "C:\\WINDOWS\\Tessaryn.scr", kAborted}));
  EXPECT_TRUE(win.fileExists(kDefaultInstallDir + "\\Config.bmp"));
  EXPECT_EQ(frmCopying->Gauge->progress(), 16);
  EXPECT_FALSE(win.fileExists(kDefaultInstallDir + "\\UNINSTALL.INI"));
}

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
