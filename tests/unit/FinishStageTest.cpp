#include <gtest/gtest.h>

#include <algorithm>

#include "InstallerFixture.h"

namespace tsaver::testing {
namespace {

class FinishStage : public InstallerFixture {
 protected:
  bool journalled(const std::string& call) const {
    return std::find(win.journal().begin(), win.journal().end(), call) != win.journal().end();
  }
  std::string logValue(const std::string& key) {
    return win.getProfileString("FILES", key, "NONE", kDefaultInstallDir + "\\UNINSTALL.INI");
  }
};

TEST_F(FinishStage, ExtraFilesEndAtTheFirstEmptyLine) {
  makePackage();
  win.putFile(kPackage + "Extras.txt", "One.bmp\r\n\r\nTwo.bmp\r\n");
  win.putFile(kPackage + "One.bmp", "1");
  win.putFile(kPackage + "Two.bmp", "2");
  installToTheEnd();
  EXPECT_EQ(win.fileContent(kDefaultInstallDir + "\\One.bmp"), "1");
  EXPECT_FALSE(win.fileExists(kPackage + "One.bmp"));
  EXPECT_EQ(logValue("FILE17"), "One.bmp");
  EXPECT_FALSE(win.fileExists(kDefaultInstallDir + "\\Two.bmp"));
  EXPECT_TRUE(win.fileExists(kPackage + "Two.bmp"));
  EXPECT_EQ(logValue("FILE18"), "NONE");
}

TEST_F(FinishStage, ExtraFilesReplaceTheKeysThatAnEarlierInstallationLogged) {
  makePackage();
  win.putFile(kPackage + "Extras.txt", "New.bmp\r\n");
  win.putFile(kPackage + "New.bmp", "n");
  win.putDirectory(kDefaultInstallDir);
  ASSERT_TRUE(win.writeProfileString("FILES", std::string("file17"), std::string("Old.bmp"),
                                     kDefaultInstallDir + "\\UNINSTALL.INI"));
  ASSERT_TRUE(win.writeProfileString("FILES", std::string("FILE18"), std::string("Kept.bmp"),
                                     kDefaultInstallDir + "\\UNINSTALL.INI"));
  installToTheEnd();
  const auto files = log().front();
  ASSERT_EQ(files.first, "FILES");
  EXPECT_EQ(std::count_if(files.second.begin(), files.second.end(), [](const auto& k) { return k.first == "file17"; }),
            1);
  EXPECT_EQ(logValue("FILE17"), "New.bmp");
  EXPECT_EQ(logValue("FILE18"), "Kept.bmp");
}

TEST_F(FinishStage, ExtraFileThatFailsToCopyStaysInThePackageUnlogged) {
  makePackage();
  win.putFile(kPackage + "Extras.txt", "Lost.bmp\r\nMissing.bmp\r\nHeld.bmp\r\nKept.bmp\r\n");
  win.putFile(kPackage + "Lost.bmp", "precious");
  win.putFile(kPackage + "Held.bmp", "new");
  win.putFile(kPackage + "Kept.bmp", "k");
  win.failCopiesTo(kDefaultInstallDir + "\\Lost.bmp");
  // An older copy in use: the copy fails while a file stays at the destination.
  win.putFile(kDefaultInstallDir + "\\Held.bmp", "older");
  win.lockFile(kDefaultInstallDir + "\\Held.bmp");
  installToTheEnd();
  EXPECT_EQ(win.fileContent(kPackage + "Lost.bmp"), "precious");
  EXPECT_EQ(win.fileContent(kPackage + "Held.bmp"), "new");
  EXPECT_EQ(logValue("FILE17"), "Kept.bmp");
  EXPECT_EQ(logValue("FILE18"), "NONE");
  EXPECT_TRUE(journalled("Sleep(500)")) << "the stage went on";
}

TEST_F(FinishStage, ExtraFileLinesThatTheRemovalWouldNotTakeAreSkipped) {
  makePackage();
  win.putFile(kPackage + "Extras.txt",
              "C:\\WINDOWS\\win.ini\r\n\\Root.txt\r\n..\\Outside.txt\r\nsub\\..\\..\\Up.txt\r\nD:Drive.txt\r\n"
              "sub/../../Slash.txt\r\nsub\\Sub.txt\r\n.\\Dot.txt\r\nUninstall.exe\r\nuninstall.ini\r\n" +
                  std::string(1023, 'x') + "\r\nGood.bmp\r\n");
  for (const char* name : {"sub\\Sub.txt", "Dot.txt", "Uninstall.exe", "uninstall.ini"}) win.putFile(kPackage + name);
  win.putFile(kPackage + std::string(1023, 'x'));
  win.putDirectory(kDefaultInstallDir + "\\sub");
  win.putFile("C:\\WINDOWS\\win.ini", "system");
  win.putFile("C:\\Root.txt", "root");
  win.putFile("C:\\Outside.txt", "outside");
  win.putFile(kPackage + "Good.bmp", "g");
  installToTheEnd();
  EXPECT_EQ(win.fileContent("C:\\WINDOWS\\win.ini"), "system");
  EXPECT_TRUE(win.fileExists("C:\\Root.txt"));
  EXPECT_TRUE(win.fileExists("C:\\Outside.txt"));
  EXPECT_FALSE(win.fileExists("C:\\Program Files\\Tessaryn\\Outside.txt"));
  for (const char* name : {"sub\\Sub.txt", "Dot.txt"})
    EXPECT_FALSE(win.fileExists(kDefaultInstallDir + "\\" + name)) << "a bare name only: " << name;
  EXPECT_EQ(win.fileContent(kDefaultInstallDir + "\\Uninstall.exe"), "program");
  EXPECT_FALSE(win.fileExists(kDefaultInstallDir + "\\" + std::string(1023, 'x'))) << "the log cannot hold its name";
  EXPECT_EQ(logValue("FILE17"), "Good.bmp");
  EXPECT_EQ(logValue("FILE18"), "NONE");
}

TEST_F(FinishStage, MissingExtrasListEndsTheStageBeforeTheWaitAndTheAction) {
  makePackage();
  installToTheEnd();
  EXPECT_FALSE(journalled("Sleep(500)"));
  EXPECT_FALSE(journalled("PostMessageA(desktop,WM_SYSCOMMAND,0xF140,0)"));
  EXPECT_TRUE(win.registryValue("Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Tessaryn screen saver"));
  EXPECT_TRUE(closed());
}

TEST_F(FinishStage, PackageFilesGoneByFinishAreReportedAndWhatNeedsNoneOfThemIsDone) {
  makePackage();
  win.putFile(kPackage + "Extras.txt", "One.bmp\r\n");
  start();
  next();
  next();
  win.deleteFile(kPackage + "Data.dat");
  win.deleteFile(kPackage + "Extras.txt");
  next();
  EXPECT_EQ(messages(),
            (std::vector<std::string>{
                "Unable to read " + kPackage + "Data.dat from the installation package (File not found). "
                "The screen saver is selected by its file name only.",
                "Unable to read " + kPackage + "Extras.txt from the installation package (File not found). "
                "Its extra files were not installed."}));
  EXPECT_EQ(win.getProfileString("boot", "SCRNSAVE.EXE", "", "System.ini"), "Tessaryn.scr");
  EXPECT_TRUE(win.registryValue("Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Tessaryn screen saver"));
  EXPECT_TRUE(closed());
}

struct ActionCase {
  std::string action;
  std::vector<std::string> launched;  // after the two REGSVR32 starts and the tray program
  bool screenSaverStarted;
};

TEST_F(FinishStage, PostInstallActionByNumber) {
  const std::vector<ActionCase> cases = {
      {"1", {}, true},
      {"2", {"rundll32 shell32.dll,Control_RunDLL Desk.cpl,,1/5"}, false},
      {"3", {kDefaultInstallDir + "\\Readme.txt/3"}, false},
      {"4", {}, false},
      {"", {}, false},
      {"two", {}, false},
  };
  for (const auto& c : cases) {
    WizardRun run;
    SimulatedWindows& machine = run.machine;
    machine.putFile(kPackage + "Install.exe");
    machine.putFile(kPackage + "Data.dat", "Tessaryn\r\nTessaryn");
    machine.putFile(kPackage + "Readme.txt");
    machine.putFile(kPackage + "After.txt", c.action + "\r\nFalse\r\nFalse\r\nFalse");
    machine.putFile(kPackage + "Extras.txt", "");
    run.start();
    tk::Application& application = run.application;
    TfrmInstall* install = run.install;
    for (int i = 0; i < 3; ++i) install->btn_next->click();
    std::vector<std::string> launched;
    for (size_t i = 2; i < machine.launches().size(); ++i)
      launched.push_back(machine.launches()[i].file + "/" + std::to_string(machine.launches()[i].show));
    EXPECT_EQ(launched, c.launched) << "action " << c.action;
    const auto& journal = machine.journal();
    EXPECT_EQ(std::count(journal.begin(), journal.end(), "PostMessageA(desktop,WM_SYSCOMMAND,0xF140,0)"),
              c.screenSaverStarted ? 1 : 0)
        << "action " << c.action;
    EXPECT_TRUE(application.terminated()) << "action " << c.action;
  }
}

TEST_F(FinishStage, FailedShortPathKeepsTheBareScreenSaverName) {
  makePackage();
  win.putFile("C:\\WINDOWS\\System.ini", "[boot]\r\nSCRNSAVE.EXE=Earlier.scr\r\n");
  win.failShortPathNames();
  installToTheEnd();
  EXPECT_EQ(win.getProfileString("boot", "SCRNSAVE.EXE", "", "System.ini"), "Tessaryn.scr");
}

TEST_F(FinishStage, CloseBoxOnTheFinishPageSkipsTheStage) {
  makePackage();
  start();
  next();
  next();
  frmInstall->close();
  EXPECT_TRUE(closed());
  EXPECT_EQ(win.getProfileString("boot", "SCRNSAVE.EXE", "none", "System.ini"), "none");
  EXPECT_EQ(win.launches().size(), 1u) << "only the registration during copying";
  EXPECT_TRUE(win.fileExists(kPackage + "Saver.exe")) << "slots 1 to 3 now hold shortcut specifications";
  EXPECT_FALSE(win.fileExists(kPackage + "Movie.swf"));
  EXPECT_FALSE(win.fileExists(kPackage + "Tessaryn.scr"));
}

}  // namespace
}  // namespace tsaver::testing
