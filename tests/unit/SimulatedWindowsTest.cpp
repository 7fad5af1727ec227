// What only the simulated machine does: its set-up, its faults, its journal and
// the views a test takes of it. Behaviour shared with Windows is in tests/contract/.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Errors.h"
#include "platform/Registry.h"
#include "platform/SimulatedWindows.h"

namespace tsaver {
namespace {

int ioErrorOf(const std::function<void()>& call) {
  try {
    call();
  } catch (const EInOutError& e) {
    return e.code();
  }
  return 0;
}

TEST(SimulatedWindows, StartsAsTheHeaderDescribes) {
  SimulatedWindows win;
  EXPECT_EQ(win.windowsDirectory(), "C:\\WINDOWS");
  EXPECT_EQ(win.currentDirectory(), "C:\\");
  EXPECT_EQ(win.moduleFileName(), "C:\\INSTALL.EXE");
  EXPECT_EQ(win.desktopDirectory(), "C:\\WINDOWS\\Desktop");
  for (const char* dir : {"C:\\WINDOWS", "C:\\WINDOWS\\Desktop", "C:\\WINDOWS\\Start Menu\\Programs"})
    EXPECT_TRUE(win.directoryExists(dir)) << dir;
  EXPECT_FALSE(win.fileExists("C:\\WINDOWS\\System.ini"));
  const std::string shellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  EXPECT_EQ(win.registryValue(shellFolders, "Programs"), "C:\\WINDOWS\\Start Menu\\Programs");
  EXPECT_EQ(win.registryValue(shellFolders, "Desktop"), "C:\\WINDOWS\\Desktop");
  EXPECT_FALSE(win.directoryExists("D:\\"));
}

TEST(SimulatedWindows, DrivesAndDriveRelativePaths) {
  SimulatedWindows win;
  EXPECT_FALSE(win.createDirectory("D:\\x")) << "no drive D: yet";
  win.addDrive('d');
  EXPECT_TRUE(win.directoryExists("D:\\"));
  win.putDirectory("D:\\Data");
  win.putDirectory("C:\\Work");
  win.setCurrentDirectory("C:\\Work");
  win.putFile("D:\\root.txt", "d root");
  EXPECT_EQ(win.readFile("D:root.txt"), "d root") << "another drive: from its root";
  win.putFile("C:\\Work\\here.txt", "here");
  EXPECT_EQ(win.readFile("C:here.txt"), "here") << "the current drive: from the current directory";
  EXPECT_EQ(win.readFile("\\Work\\here.txt"), "here");
  EXPECT_TRUE(win.moveFile("D:\\root.txt", "C:\\Work\\moved.txt")) << "files move across drives";
  EXPECT_FALSE(win.moveFile("D:\\Data", "C:\\Data")) << "directories do not";
}

TEST(SimulatedWindows, ShortNamesAreUpperCaseAliasesThatResolve) {
  SimulatedWindows win;
  win.putFile("C:\\Program Files\\Tessaryn\\Screen Saver\\Tessaryn.scr", "saver");
  win.putFile("C:\\Program Files\\Tessaryn\\Screen Saver\\Long name.text");
  win.putDirectory("C:\\Program Stuff");
  EXPECT_EQ(win.shortPathName("C:\\Program Files\\Tessaryn\\Screen Saver\\Tessaryn.scr"),
            "C:\\PROGRA~1\\Tessaryn\\SCREEN~1\\Tessaryn.scr");
  EXPECT_EQ(win.shortPathName("C:\\Program Stuff"), "C:\\PROGRA~2");
  EXPECT_EQ(win.shortPathName("c:\\program files\\tessaryn\\screen saver\\long name.text"),
            "c:\\PROGRA~1\\Tessaryn\\SCREEN~1\\LONGNA~1.TEX");
  EXPECT_EQ(win.readFile("C:\\PROGRA~1\\TESSARYN\\SCREEN~1\\TESSARYN.SCR"), "saver");
  EXPECT_EQ(win.shortPathName("C:\\Program Files\\Missing.scr"), "");
  win.failShortPathNames();
  EXPECT_EQ(win.shortPathName("C:\\Program Stuff"), "");
}

TEST(SimulatedWindows, ALockedFileCanNeitherBeReadNorChanged) {
  SimulatedWindows win;
  win.putFile("C:\\PKG\\Data.dat", "data");
  win.putFile("C:\\PKG\\Other.dat", "other");
  win.lockFile("C:\\PKG\\DATA.DAT");
  EXPECT_EQ(ioErrorOf([&] { win.readFile("C:\\PKG\\Data.dat"); }), 32);
  EXPECT_EQ(ioErrorOf([&] { win.writeFile("C:\\PKG\\Data.dat", "x"); }), 32);
  EXPECT_FALSE(win.deleteFile("C:\\PKG\\Data.dat"));
  EXPECT_FALSE(win.moveFile("C:\\PKG\\Data.dat", "C:\\PKG\\Moved.dat"));
  EXPECT_FALSE(win.copyFile("C:\\PKG\\Other.dat", "C:\\PKG\\Data.dat"));
  EXPECT_FALSE(win.writeProfileString("S", std::string("k"), std::string("v"), "C:\\PKG\\Data.dat"));
  EXPECT_TRUE(win.fileExists("C:\\PKG\\Data.dat"));
  win.lockFile("C:\\PKG\\Data.dat", false);
  EXPECT_EQ(win.readFile("C:\\PKG\\Data.dat"), "data");
}

// As Windows does; Wine replaces a read-only file, so the contract cannot hold this.
TEST(SimulatedWindows, AReadOnlyFileIsNeitherReplacedNorRewritten) {
  SimulatedWindows win;
  win.putFile("C:\\PKG\\Movie.swf", "new");
  win.putFile("C:\\Saver\\Movie.swf", "older");
  win.setReadOnly("C:\\Saver\\Movie.swf");
  EXPECT_FALSE(win.copyFile("C:\\PKG\\Movie.swf", "C:\\Saver\\Movie.swf"));
  EXPECT_EQ(ioErrorOf([&] { win.writeFile("C:\\Saver\\Movie.swf", "new"); }), 5);
  EXPECT_EQ(win.fileContent("C:\\Saver\\Movie.swf"), "older");
}

TEST(SimulatedWindows, AFailingCopyReportsSuccessAndLeavesNoFile) {
  SimulatedWindows win;
  win.putFile("C:\\PKG\\Movie.swf", "movie");
  win.putFile("C:\\Saver\\Movie.swf", "older");
  win.failCopiesTo("c:\\saver\\movie.swf");
  EXPECT_TRUE(win.copyFile("C:\\PKG\\Movie.swf", "C:\\Saver\\Movie.swf"));
  EXPECT_FALSE(win.fileExists("C:\\Saver\\Movie.swf"));
  EXPECT_TRUE(win.copyFile("C:\\PKG\\Movie.swf", "C:\\Saver\\Other.swf"));
  EXPECT_EQ(win.fileContent("C:\\Saver\\Other.swf"), "movie");
}

TEST(SimulatedWindows, AFailingProfileFileIsFoundAsWindowsWouldFindIt) {
  SimulatedWindows win;
  win.failProfileWrites("TSaver.ini");
  EXPECT_FALSE(win.writeProfileString("S", std::string("k"), std::string("v"), "C:\\WINDOWS\\TSAVER.INI"));
  EXPECT_FALSE(win.writeProfileString("S", std::string("k"), std::string("v"), "tsaver.ini"));
  EXPECT_FALSE(win.fileExists("C:\\WINDOWS\\TSaver.ini"));
  EXPECT_TRUE(win.writeProfileString("S", std::string("k"), std::string("v"), "Other.ini"));
}

TEST(SimulatedWindows, ProfileFilesAreFilesAndTheirSectionsCanBeListed) {
  SimulatedWindows win;
  win.putDirectory("C:\\Saver");
  ASSERT_TRUE(win.writeProfileString("FILES", std::string("FILE1"), std::string("Saver.exe"),
                                     "C:\\Saver\\UNINSTALL.INI"));
  ASSERT_TRUE(win.writeProfileString("FILES", std::string("FILE2"), std::string("Movie.swf"),
                                     "C:\\Saver\\UNINSTALL.INI"));
  ASSERT_TRUE(win.writeProfileString("DIRS", std::string("DIR1"), std::string("C:\\Saver"), "C:\\Saver\\UNINSTALL.INI"));
  EXPECT_EQ(win.fileContent("C:\\Saver\\uninstall.ini"),
            "[FILES]\r\nFILE1=Saver.exe\r\nFILE2=Movie.swf\r\n[DIRS]\r\nDIR1=C:\\Saver\r\n");
  const std::vector<SimulatedWindows::ProfileSection> expected = {
      {"FILES", {{"FILE1", "Saver.exe"}, {"FILE2", "Movie.swf"}}}, {"DIRS", {{"DIR1", "C:\\Saver"}}}};
  EXPECT_EQ(win.profileSections("C:\\Saver\\UNINSTALL.INI"), expected);
  ASSERT_TRUE(win.writeProfileString("boot", std::string("SCRNSAVE.EXE"), std::string("x.scr"), "System.ini"));
  EXPECT_EQ(win.profileSections("SYSTEM.INI").size(), 1u) << "a bare name: the Windows directory";
  EXPECT_EQ(win.getProfileString("boot", "scrnsave.exe", "", "C:\\WINDOWS\\System.ini"), "x.scr");
}

TEST(SimulatedWindows, CurrentDirectoryFaultRaisesAsAMissingDirectory) {
  SimulatedWindows win;
  win.putDirectory("C:\\PKG");
  win.failSetCurrentDirectory("C:\\PKG\\");
  EXPECT_EQ(ioErrorOf([&] { win.setCurrentDirectory("C:\\PKG"); }), 2);
  EXPECT_EQ(win.currentDirectory(), "C:\\");
}

TEST(SimulatedWindows, ShellLinksReadBackAndCanFail) {
  SimulatedWindows win;
  ShellLinkData link;
  link.target = "C:\\Saver\\RunSaver.exe";
  link.description = std::string(300, 'd');
  link.showCommand = kShowMinNoActive;
  link.hotKey = 0x0674;
  link.iconIndex = 2;
  EXPECT_EQ(win.saveShellLink(link, "C:\\WINDOWS\\Desktop\\Saver.lnk"), ShellLinkResult::Saved);
  const auto saved = win.shellLink("c:\\windows\\desktop\\saver.LNK");
  ASSERT_TRUE(saved);
  EXPECT_EQ(saved->target, link.target);
  EXPECT_EQ(saved->description, std::string(255, 'd')) << "cut as the shell cuts it";
  EXPECT_EQ(saved->showCommand, kShowMinNoActive);
  EXPECT_EQ(saved->hotKey, 0x0674);
  EXPECT_EQ(saved->iconIndex, 2);
  EXPECT_TRUE(win.fileExists("C:\\WINDOWS\\Desktop\\Saver.lnk"));

  EXPECT_TRUE(win.moveFile("C:\\WINDOWS\\Desktop\\Saver.lnk", "C:\\WINDOWS\\Saver.lnk"));
  EXPECT_TRUE(win.shellLink("C:\\WINDOWS\\Saver.lnk")) << "a link moves with its file";
  EXPECT_EQ(win.saveShellLink(link, "C:\\WINDOWS\\Desktop\\" + std::string(250, 'p') + ".lnk"),
            ShellLinkResult::SaveFailed);
  EXPECT_EQ(win.saveShellLink(link, "C:\\Missing\\Saver.lnk"), ShellLinkResult::SaveFailed);

  win.failShellLinks(ShellLinkResult::CreateFailed);
  EXPECT_EQ(win.saveShellLink(link, "C:\\WINDOWS\\Desktop\\Other.lnk"), ShellLinkResult::CreateFailed);
  EXPECT_FALSE(win.fileExists("C:\\WINDOWS\\Desktop\\Other.lnk"));
}

TEST(SimulatedWindows, TheJournalKeepsLaunchesAndSystemCallsInOrder) {
  SimulatedWindows win;
  std::vector<unsigned> slept;
  win.onSleep = [&slept](unsigned ms) { slept.push_back(ms); };
  win.winExec("REGSVR32.EXE /s C:\\WINDOWS\\SWFLASH.OCX", kShowNormal);
  win.setScreenSaveActive();
  win.shellExecute("C:\\Saver\\TaskTray.exe", "", kShowNormal);
  win.sleep(500);
  win.startScreenSaver();
  Registry desktop(win);
  ASSERT_TRUE(desktop.OpenKey("Control Panel\\desktop", true));
  desktop.FlushKey();
  const std::vector<std::string> expected = {"WinExec(REGSVR32.EXE /s C:\\WINDOWS\\SWFLASH.OCX,1)",
                                             "SystemParametersInfoA(17,1,0,2)",
                                             "ShellExecuteA(C:\\Saver\\TaskTray.exe,,1)",
                                             "Sleep(500)",
                                             "PostMessageA(desktop,WM_SYSCOMMAND,0xF140,0)",
                                             "RegFlushKey(Control Panel\\desktop)"};
  EXPECT_EQ(win.journal(), expected);
  ASSERT_EQ(win.launches().size(), 2u);
  EXPECT_EQ(win.launches()[0].kind, SimulatedWindows::Launch::WinExec);
  EXPECT_EQ(win.launches()[0].file, "REGSVR32.EXE /s C:\\WINDOWS\\SWFLASH.OCX");
  EXPECT_EQ(win.launches()[1].kind, SimulatedWindows::Launch::ShellExecute);
  EXPECT_EQ(win.launches()[1].file, "C:\\Saver\\TaskTray.exe");
  EXPECT_EQ(win.launches()[1].show, kShowNormal);
  EXPECT_EQ(slept, std::vector<unsigned>{500});
}

TEST(SimulatedWindows, RegistryKeysAndValuesAsATestSeesThem) {
  SimulatedWindows win;
  win.putRegistryValue("Software\\Vendor\\Product", "Number", std::string("\x05\0\0\0", 4),
                       SimulatedWindows::ValueType::DWord);
  EXPECT_TRUE(win.registryKeyExists("SOFTWARE\\vendor"));
  const RegKey key = win.regOpenKey(RegRoot::CurrentUser, "software\\vendor\\product", false);
  ASSERT_NE(key, 0u);
  EXPECT_THROW(win.regReadString(key, "number"), ERegistryException);
  win.regWriteString(key, "Name", "value");
  EXPECT_EQ(win.registryValue("Software\\Vendor\\Product", "NAME"), "value");
  win.deleteRegistryKey("Software\\Vendor");
  EXPECT_FALSE(win.registryKeyExists("Software\\Vendor\\Product"));
  EXPECT_EQ(win.regReadString(key, "Name"), std::nullopt) << "the key went while open";
  EXPECT_THROW(win.regWriteString(key, "Name", "v"), ERegistryException);
  win.regCloseKey(key);
}

TEST(SimulatedWindows, AllPathsListsWhatWasCreatedInOrder) {
  SimulatedWindows win;
  const auto before = win.allPaths();
  win.putFile("C:\\New Dir\\File.txt");
  auto after = win.allPaths();
  ASSERT_EQ(after.size(), before.size() + 2);
  EXPECT_EQ(after[after.size() - 2], "C:\\New Dir\\");
  EXPECT_EQ(after.back(), "C:\\New Dir\\File.txt");
  EXPECT_TRUE(win.moveFile("C:\\New Dir", "C:\\Renamed"));
  EXPECT_EQ(win.fileContent("C:\\Renamed\\FILE.TXT"), "");
  EXPECT_FALSE(win.fileContent("C:\\New Dir\\File.txt"));
}

}  // namespace
}  // namespace tsaver
