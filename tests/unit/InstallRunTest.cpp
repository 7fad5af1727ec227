#include <gtest/gtest.h>

#include "InstallerFixture.h"
#include "platform/Paths.h"

namespace tsaver::testing {
namespace {

using Section = SimulatedWindows::ProfileSection;

class InstallRun : public InstallerFixture {};

TEST_F(InstallRun, WritesTheCompleteLogOfAFullInstallation) {
  makePackage();
  win.putFile(kPackage + "Extras.txt", "Wallpaper.bmp\r\n");
  win.putFile(kPackage + "Wallpaper.bmp", "wall");
  installToTheEnd();

  const std::vector<Section> expected = {
      {"FILES",
       {{"FILE1", "C:\\WINDOWS\\Tessaryn.scr"}, {"FILE3", "Saver.exe"},     {"FILE4", "Movie.swf"},
        {"FILE5", "TaskTray.exe"},             {"FILE6", "Data.dat"},      {"FILE8", "Contacts.bmp"},
        {"FILE9", "Tessaryn.ico"},             {"FILE10", "Readme.txt"},   {"FILE11", "RunSaver.exe"},
        {"FILE12", "Settings.txt"},            {"FILE13", "Preview.bmp"},  {"FILE14", "Path.dat"},
        {"FILE15", "Config.swf"},              {"FILE16", "Config.bmp"},   {"FILE17", "Wallpaper.bmp"}}},
      {"UNINSTALLENTRY", {{"KEY", "Tessaryn screen saver"}}},
      {"SHORTCUTS",
       {{"SHORTCUT1", kGroupDir + "\\Tessaryn task tray program.lnk"},
        {"SHORTCUT2", kGroupDir + "\\Tessaryn screen saver.lnk"},
        {"SHORTCUT3", kGroupDir + "\\Uninstall.lnk"}}},
      {"DESKTOP", {{"SHORTCUT4", "Tessaryn screen saver.lnk"}}},
      {"REGISTRY", {{"KEY1", "Tessaryn screen saver"}}},
      {"DIRECTORIES", {{"DIRECTORY1", kDefaultInstallDir}, {"DIRECTORY2", kGroupDir}}},
      {"INIFILE", {{"CFGFILE", "TSaver.ini"}, {"SECTION", "Tessaryn"}}},
  };
  EXPECT_EQ(log(), expected);
  EXPECT_TRUE(messages().empty());
  EXPECT_TRUE(closed());
}

TEST_F(InstallRun, InstallsEveryFileWhereItBelongs) {
  makePackage();
  installToTheEnd();
  for (const auto& name : kProductFiles) {
    const bool inWindows = name == "Tessaryn.scr" || name == "SWFlash.ocx";
    const std::string where = inWindows ? "C:\\WINDOWS\\" : kDefaultInstallDir + "\\";
    EXPECT_EQ(win.fileContent(where + name), name + " content") << name;
  }
  EXPECT_EQ(win.fileContent(kDefaultInstallDir + "\\Data.dat"), "Tessaryn\r\nTessaryn\r\n");
  EXPECT_EQ(win.fileContent(kDefaultInstallDir + "\\Uninstall.exe"), "program");
  EXPECT_EQ(win.fileContent("C:\\WINDOWS\\Tessaryn.ini"), "[Data]\r\nPath=" + kDefaultInstallDir + "\\\r\n");
  EXPECT_EQ(win.getProfileString("Tessaryn", "DataPath", "", "TSaver.ini"), kDefaultInstallDir);
  EXPECT_EQ(frmCopying->Gauge->progress(), 16);
  EXPECT_EQ(frmCopying->Gauge->maxValue(), 16);
}

// A CD's files are read-only, and CopyFileA keeps that: every copy is made writable,
// also over the read-only copies that earlier versions left.
TEST_F(InstallRun, CopiesAreWritableWhateverTheSourceOrAnEarlierCopy) {
  const struct {
    const char* name;
    bool packageReadOnly;
  } rows[] = {{"a package on a CD", true}, {"over an earlier installation from a CD", false}};
  for (const auto& row : rows) {
    SCOPED_TRACE(row.name);
    WizardRun run;
    const std::vector<std::string> extras = {"Wallpaper.bmp"};
    std::vector<std::string> installed = {"C:\\WINDOWS\\Tessaryn.scr", "C:\\WINDOWS\\SWFlash.ocx",
                                          kDefaultInstallDir + "\\Uninstall.exe"};
    for (const auto& name : kProductFiles)
      if (name != "Tessaryn.scr" && name != "SWFlash.ocx") installed.push_back(kDefaultInstallDir + "\\" + name);
    installed.push_back(kDefaultInstallDir + "\\Wallpaper.bmp");

    SimulatedWindows& m = run.machine;
    m.putFile(kPackage + "INSTALL.EXE", "program");
    m.putFile(kPackage + "Install.exe", "program");
    m.putFile(kPackage + "Data.dat", "Tessaryn\r\nTessaryn\r\n");
    m.putFile(kPackage + "After.txt", "1\r\nTrue\r\nTrue\r\nTrue\r\n");
    m.putFile(kPackage + "Extras.txt", "Wallpaper.bmp\r\n");
    m.putFile(kPackage + "Wallpaper.bmp", "new");
    for (const auto& name : kProductFiles) m.putFile(kPackage + name, "new");
    if (row.packageReadOnly) {
      for (const auto& path : m.allPaths())
        if (path.rfind(kPackage, 0) == 0 && path.back() != '\\') m.setReadOnly(path);
    } else {
      for (const auto& path : installed) {
        if (fileNamePart(path) == "SWFlash.ocx") continue;  // one already there is not copied again
        m.putFile(path, "older");
        m.setReadOnly(path);
      }
    }
    run.start();
    for (int press = 0; press < 3; ++press) run.install->btn_next->click();

    EXPECT_TRUE(run.headless.messageTexts().empty());
    EXPECT_EQ(m.getProfileString("FILES", "FILE17", "", kDefaultInstallDir + "\\UNINSTALL.INI"), "Wallpaper.bmp");
    for (const auto& path : installed) {
      EXPECT_EQ(m.fileContent(path), path.find("Uninstall") != std::string::npos ? "program" : "new") << path;
      EXPECT_FALSE(m.isReadOnly(path)) << path;
    }
    // The package's clean-up cannot delete from a CD, and says nothing.
    EXPECT_EQ(m.fileExists(kPackage + "Movie.swf"), row.packageReadOnly);
    EXPECT_EQ(m.fileExists(kPackage + "Wallpaper.bmp"), row.packageReadOnly);
  }
}

TEST_F(InstallRun, WritesTheShortcutsWithTheirFields) {
  makePackage();
  installToTheEnd();
  const auto tray = win.shellLink(kGroupDir + "\\Tessaryn task tray program.lnk");
  ASSERT_TRUE(tray);
  EXPECT_EQ(tray->target, kDefaultInstallDir + "\\TaskTray.exe");
  EXPECT_EQ(tray->workingDir, kDefaultInstallDir);
  EXPECT_EQ(tray->description, "Tessaryn task tray program");
  EXPECT_EQ(tray->arguments, "");
  EXPECT_EQ(tray->showCommand, 1);
  EXPECT_EQ(tray->iconFile, kDefaultInstallDir + "\\Tessaryn.ico");
  const auto uninstall = win.shellLink(kGroupDir + "\\Uninstall.lnk");
  ASSERT_TRUE(uninstall);
  EXPECT_EQ(uninstall->target, kDefaultInstallDir + "\\Uninstall.exe");
  EXPECT_EQ(uninstall->iconFile, kDefaultInstallDir + "\\Uninstall.exe");
  const auto desktop = win.shellLink("C:\\WINDOWS\\Desktop\\Tessaryn screen saver.lnk");
  ASSERT_TRUE(desktop);
  EXPECT_EQ(desktop->target, kDefaultInstallDir + "\\RunSaver.exe");
  EXPECT_FALSE(win.fileExists(kProgramsDir + "\\Uninstall.lnk")) << "moved into the group";
}

TEST_F(InstallRun, FinishIntegratesWithTheSystem) {
  makePackage();
  win.putRegistryValue("Control Panel\\desktop", "ScreenSaveActive", "0");
  win.putFile(kPackage + "Extras.txt", "");
  installToTheEnd();
  EXPECT_EQ(win.getProfileString("boot", "SCRNSAVE.EXE", "", "System.ini"), win.shortPathName("C:\\WINDOWS\\Tessaryn.scr"));
  EXPECT_EQ(win.registryValue("Control Panel\\desktop", "ScreenSaveActive"), "1");
  EXPECT_EQ(win.registryValue("Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Tessaryn screen saver"),
            "\"" + kDefaultInstallDir + "\\TaskTray.exe\"");

  const std::vector<std::string> launches = [this] {
    std::vector<std::string> all;
    for (const auto& l : win.launches()) all.push_back(l.file + (l.parameters.empty() ? "" : " " + l.parameters));
    return all;
  }();
  const std::vector<std::string> expected = {"REGSVR32.EXE /s C:\\WINDOWS\\SWFLASH.OCX",
                                             "REGSVR32.EXE /s C:\\WINDOWS\\SWFLASH.OCX",
                                             kDefaultInstallDir + "\\TaskTray.exe"};
  EXPECT_EQ(launches, expected);
  ASSERT_EQ(win.launches().size(), 3u);
  EXPECT_EQ(win.launches()[0].kind, SimulatedWindows::Launch::WinExec);
  EXPECT_EQ(win.launches()[1].kind, SimulatedWindows::Launch::ShellExecute);

  const std::vector<std::string>& journal = win.journal();
  const auto at = [&journal](const std::string& call) {
    return std::find(journal.begin(), journal.end(), call) - journal.begin();
  };
  EXPECT_LT(at("SystemParametersInfoA(17,1,0,2)"), static_cast<long>(journal.size()));
  EXPECT_LT(at("Sleep(500)"), at("PostMessageA(desktop,WM_SYSCOMMAND,0xF140,0)"));
  EXPECT_LT(at("PostMessageA(desktop,WM_SYSCOMMAND,0xF140,0)"), static_cast<long>(journal.size()));
}

// The four bytes of a REG_DWORD as the simulated machine stores them, low byte first.
std::string dword(std::uint32_t value) {
  std::string bytes;
  for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((value >> shift) & 0xFF);
  return bytes;
}

TEST_F(InstallRun, ListsTheProductAmongInstalledProgramsWithTheSizeOfItsFilesAndExtras) {
  const std::string key = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessaryn screen saver";
  const struct {
    const char* title;
    bool icon;
    std::string displayIcon;
  } rows[] = {
      {"with the product's icon", true, kDefaultInstallDir + "\\Tessaryn.ico"},
      {"without it", false, kDefaultInstallDir + "\\Uninstall.exe,0"},
  };
  for (const auto& row : rows) {
    SCOPED_TRACE(row.title);
    WizardRun run;
    SimulatedWindows& machine = run.machine;
    machine.putFile(kPackage + "Install.exe", "program");
    machine.putFile(kPackage + "Data.dat", "Tessaryn\r\nTessaryn\r\n");
    machine.putFile(kPackage + "After.txt", "0\r\nFalse\r\nTrue\r\nTrue\r\n");
    for (const auto& name : kProductFiles) machine.putFile(kPackage + name, "small");
    if (!row.icon) machine.deleteFile(kPackage + "Tessaryn.ico");
    // FILE1 is a full path, the others lie in the install directory; the tray program is logged, not copied.
    machine.putFile(kPackage + "Tessaryn.scr", std::string(2048, 's'));
    machine.putFile(kPackage + "Movie.swf", std::string(10240, 'm'));
    machine.putFile(kPackage + "Extras.txt", "Wallpaper.bmp\r\n");
    machine.putFile(kPackage + "Wallpaper.bmp", std::string(4096, 'w'));
    const auto entry = [&machine] {
      std::vector<SimulatedWindows::RegistryEntry> values;
      for (const auto& value : machine.registryValues())
        if (value.root == RegRoot::LocalMachine) values.push_back(value);
      return values;
    };
    const auto expected = [&](std::uint32_t kb) {
      using Type = SimulatedWindows::ValueType;
      return std::vector<SimulatedWindows::RegistryEntry>{
          {RegRoot::LocalMachine, key, "DisplayIcon", row.displayIcon, Type::String},
          {RegRoot::LocalMachine, key, "DisplayName", "Tessaryn screen saver", Type::String},
          {RegRoot::LocalMachine, key, "EstimatedSize", dword(kb), Type::DWord},
          {RegRoot::LocalMachine, key, "InstallLocation", kDefaultInstallDir, Type::String},
          {RegRoot::LocalMachine, key, "NoModify", dword(1), Type::DWord},
          {RegRoot::LocalMachine, key, "NoRepair", dword(1), Type::DWord},
          {RegRoot::LocalMachine, key, "UninstallString", "\"" + kDefaultInstallDir + "\\Uninstall.exe\"", Type::String},
      };
    };

    run.start();
    run.install->btn_next->click();
    EXPECT_TRUE(entry().empty());
    run.install->btn_next->click();
    // 12288 bytes and at most twelve small files and the uninstaller, rounded up.
    EXPECT_EQ(entry(), expected(13));
    run.install->btn_next->click();
    EXPECT_EQ(entry(), expected(17));
  }
}

TEST_F(InstallRun, AlreadyInstalledControlIsNeitherCopiedNorRegisteredDuringCopying) {
  makePackage();
  win.putFile("C:\\WINDOWS\\SWFlash.ocx", "older control");
  start();
  next();
  next();
  EXPECT_EQ(win.fileContent("C:\\WINDOWS\\SWFlash.ocx"), "older control");
  EXPECT_TRUE(win.launches().empty());
  EXPECT_EQ(frmCopying->Gauge->progress(), 15);
  next();
  ASSERT_EQ(win.launches().size(), 2u) << "registered once at Finish, then the tray program";
  EXPECT_EQ(win.launches()[0].file, "REGSVR32.EXE");
}

struct OptionCase {
  const char* title;
  std::string afterTxt;
  std::vector<std::string> shortcutKeys;  // in SHORTCUTS
  bool desktopLink, runValue, groupDir, trayCopied, runSaverCopied;
  std::vector<std::string> launchedFiles;
};

void PrintTo(const OptionCase& c, std::ostream* os) { *os << c.title; }

class InstallOptionsDecide : public InstallerFixture, public ::testing::WithParamInterface<OptionCase> {};

TEST_P(InstallOptionsDecide, WhatIsMadeAndLogged) {
  const OptionCase& c = GetParam();
  makePackage(c.afterTxt);
  if (c.afterTxt.empty()) win.deleteFile(kPackage + "After.txt");
  installToTheEnd();

  std::vector<std::string> shortcutKeys;
  bool desktopLogged = false, runLogged = false, groupLogged = false;
  for (const auto& [section, keys] : log()) {
    for (const auto& [key, value] : keys) {
      if (section == "SHORTCUTS") shortcutKeys.push_back(key);
      desktopLogged |= section == "DESKTOP";
      runLogged |= section == "REGISTRY";
      groupLogged |= key == "DIRECTORY2";
    }
  }
  EXPECT_EQ(shortcutKeys, c.shortcutKeys);
  EXPECT_EQ(desktopLogged, c.desktopLink);
  EXPECT_EQ(win.fileExists("C:\\WINDOWS\\Desktop\\Tessaryn screen saver.lnk"), c.desktopLink);
  EXPECT_EQ(runLogged, c.runValue);
  EXPECT_EQ(win.registryValue("Software\\Microsoft\\Windows\\CurrentVersion\\Run", "Tessaryn screen saver").has_value(),
            c.runValue);
  EXPECT_EQ(groupLogged, c.groupDir);
  EXPECT_EQ(win.directoryExists(kGroupDir), c.groupDir);
  EXPECT_EQ(win.fileExists(kDefaultInstallDir + "\\TaskTray.exe"), c.trayCopied);
  EXPECT_EQ(win.fileExists(kDefaultInstallDir + "\\Contacts.bmp"), c.trayCopied);
  EXPECT_EQ(win.fileExists(kDefaultInstallDir + "\\RunSaver.exe"), c.runSaverCopied);
  // An option that leaves a file out does not keep it out of the log.
  EXPECT_EQ(win.getProfileString("FILES", "FILE5", "NONE", kDefaultInstallDir + "\\UNINSTALL.INI"), "TaskTray.exe");

  std::vector<std::string> launched;
  for (const auto& l : win.launches()) launched.push_back(l.file);
  EXPECT_EQ(launched, c.launchedFiles);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, InstallOptionsDecide,
    ::testing::Values(
        OptionCase{"all True", "1\r\nTrue\r\nTrue\r\nTrue", {"SHORTCUT1", "SHORTCUT2", "SHORTCUT3"}, true, true,
                   true, true, true, {"REGSVR32.EXE /s C:\\WINDOWS\\SWFLASH.OCX", "REGSVR32.EXE", kDefaultInstallDir + "\\TaskTray.exe"}},
        OptionCase{"no group", "0\r\nTrue\r\nTrue\r\nFalse", {}, true, true, false, true, true,
                   {"REGSVR32.EXE /s C:\\WINDOWS\\SWFLASH.OCX", "REGSVR32.EXE", kDefaultInstallDir + "\\TaskTray.exe"}},
        OptionCase{"group without tray", "0\r\nFalse\r\nTrue\r\nTrue", {"SHORTCUT2", "SHORTCUT3"}, true, false,
                   true, false, true, {"REGSVR32.EXE /s C:\\WINDOWS\\SWFLASH.OCX", "REGSVR32.EXE"}},
        OptionCase{"lower-case true is neither", "0\r\ntrue\r\ntrue\r\ntrue", {}, false, false, false, true, true,
                   {"REGSVR32.EXE /s C:\\WINDOWS\\SWFLASH.OCX", "REGSVR32.EXE"}},
        OptionCase{"no After.txt", "", {}, false, false, false, true, true,
                   {"REGSVR32.EXE /s C:\\WINDOWS\\SWFLASH.OCX", "REGSVR32.EXE"}},
        OptionCase{"desktop False, group True", "0\r\nTrue\r\nFalse\r\nTrue", {"SHORTCUT1", "SHORTCUT3"}, false,
                   true, true, true, false,
                   {"REGSVR32.EXE /s C:\\WINDOWS\\SWFLASH.OCX", "REGSVR32.EXE", kDefaultInstallDir + "\\TaskTray.exe"}}));

}  // namespace
}  // namespace tsaver::testing
