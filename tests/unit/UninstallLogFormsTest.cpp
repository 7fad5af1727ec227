// A corrupted or planted log: the removal run acts only on values of the forms
// an installation writes and passes over the rest without a message.
#include "UninstallFixture.h"
#include "platform/Errors.h"

namespace tsaver::testing {
namespace {

class UninstallLogForms : public UninstallFixture {};

TEST_F(UninstallLogForms, FilesAndLinksOfOtherFormsStay) {
  const struct {
    const char* section;
    const char* key;
    std::string value;
    std::string path;  // what the value would delete
    bool removed;
  } entries[] = {
      {"FILES", "FILE1", "C:\\WINDOWS\\System32\\Evil.scr", "C:\\WINDOWS\\System32\\Evil.scr", false},
      {"FILES", "FILE2", "C:\\WINDOWS\\Other.scr", "C:\\WINDOWS\\Other.scr", false},
      {"FILES", "FILE3", "..\\Outside.txt", "C:\\Program Files\\Tessaryn\\Outside.txt", false},
      {"FILES", "FILE4", "C:\\Victim.txt", "C:\\Victim.txt", false},
      {"FILES", "FILE5", "sub/Victim.txt", kInstallDir + "\\sub\\Victim.txt", false},
      {"FILES", "FILE6", "C:Victim.txt", kInstallDir + "\\Victim.txt", false},
      {"FILES", "FILE8", "UNINSTALL.INI", kLogPath, false},
      {"FILES", "FILE9", "uninstall.EXE", kUninstaller, false},
      {"FILES", "FILE10", "Ours.txt", kInstallDir + "\\Ours.txt", true},
      {"SHORTCUTS", "SHORTCUT1", "C:\\Victim.doc", "C:\\Victim.doc", false},
      {"SHORTCUTS", "SHORTCUT2", kGroup + "\\Ours.LNK", kGroup + "\\Ours.LNK", true},
      {"DESKTOP", "SHORTCUT1", "..\\Outside.lnk", "C:\\WINDOWS\\Outside.lnk", false},
      {"DESKTOP", "SHORTCUT2", "Victim.txt", kDesktop + "\\Victim.txt", false},
      {"DESKTOP", "SHORTCUT4", "Ours.lnk", kDesktop + "\\Ours.lnk", true},
  };
  for (const auto& e : entries) {
    win.putFile(e.path);
    logEntry(e.section, e.key, e.value);
  }
  int filesStepDone = -1;
  ui.onPump = [&] {
    if (filesStepDone < 0 && frmUninstall->gProgress->progress() == 4) {
      filesStepDone = 1;
      EXPECT_TRUE(win.fileExists(kLogPath));
      EXPECT_TRUE(win.fileExists(kUninstaller));
    }
  };

  runRemoval();

  EXPECT_EQ(filesStepDone, 1);
  for (const auto& e : entries) {
    if (e.path == kLogPath || e.path == kUninstaller) continue;  // the run's own end deletes those
    EXPECT_EQ(exists(e.path), !e.removed) << e.section << " " << e.key << " = " << e.value;
  }
  EXPECT_TRUE(messages().empty());
  EXPECT_TRUE(ended());
}

TEST_F(UninstallLogForms, OnlyARunValueThatStartsThisTrayProgramGoes) {
  const struct {
    const char* name;
    std::string data;
    SimulatedWindows::ValueType type;
    bool removed;
  } values[] = {
      {"Tessaryn screen saver", kRunValueData, SimulatedWindows::ValueType::String, true},
      {"Other program", "C:\\other.exe", SimulatedWindows::ValueType::String, false},
      {"Other tray", "\"C:\\Elsewhere\\TaskTray.exe\"", SimulatedWindows::ValueType::String, false},
      {"Unquoted", kInstallDir + "\\TaskTray.exe", SimulatedWindows::ValueType::String, false},
      {"Number", "1", SimulatedWindows::ValueType::DWord, false},
  };
  putEmptyLog();
  int n = 1;
  for (const auto& v : values) {
    win.putRegistryValue(kRunKey, v.name, v.data, v.type);
    logEntry("REGISTRY", "KEY" + std::to_string(n++), v.name);
  }

  runRemoval();

  const RegKey run = win.regOpenKey(RegRoot::CurrentUser, kRunKey, false);
  for (const auto& v : values) {
    bool present = true;  // a value of another type raises when read as a string
    try {
      present = win.regReadString(run, v.name).has_value();
    } catch (const ERegistryException&) {
    }
    EXPECT_EQ(present, !v.removed) << v.name;
  }
  win.regCloseKey(run);
  EXPECT_TRUE(messages().empty());
  EXPECT_TRUE(ended());
}

struct SettingsCase {
  const char* title;
  std::string file;
  std::string section;
  bool erased;
};

class UninstallSettingsForms : public UninstallFixture, public ::testing::WithParamInterface<SettingsCase> {};

TEST_P(UninstallSettingsForms, OnlyTheProductsSectionOfAProductSettingsFileIsErased) {
  const SettingsCase& c = GetParam();
  putEmptyLog();
  ASSERT_TRUE(win.writeProfileString(c.section, "key", "value", c.file));
  logEntry("INIFILE", "CFGFILE", c.file);
  logEntry("INIFILE", "SECTION", c.section);
  // By its content: a section without a name is there, but no read finds it.
  const std::string path = c.file.find('\\') == std::string::npos ? "C:\\WINDOWS\\" + c.file : c.file;
  const auto before = win.fileContent(path);

  runRemoval();

  EXPECT_EQ(win.fileContent(path) != before, c.erased);
  EXPECT_TRUE(messages().empty());
  EXPECT_FALSE(exists(kLogPath)) << "the run went to its end";
}

INSTANTIATE_TEST_SUITE_P(
    Forms, UninstallSettingsForms,
    ::testing::Values(SettingsCase{"product", "TSaver.ini", "Tessaryn", true},
                      SettingsCase{"systemIni", "system.ini", "boot", false},
                      SettingsCase{"systemIniInCapitals", "SYSTEM.INI", "boot", false},
                      SettingsCase{"winIni", "win.ini", "windows", false},
                      SettingsCase{"withADirectory", "C:\\WINDOWS\\TSaver.ini", "Tessaryn", false},
                      SettingsCase{"emptySection", "TSaver.ini", "", false}),
    [](const auto& info) { return std::string(info.param.title); });

struct EntryCase {
  const char* title;
  std::string logged;  // the key name the log gives
  std::string uninstallString;
  SimulatedWindows::ValueType type;
  bool removed;
};

class UninstallEntryForms : public UninstallFixture, public ::testing::WithParamInterface<EntryCase> {};

// Only the entry that starts this very uninstaller: a planted log could name another
// program's, and the product may have been installed elsewhere since.
TEST_P(UninstallEntryForms, OnlyAnEntryThatStartsThisUninstallerGoes) {
  const EntryCase& c = GetParam();
  const std::string key = kUninstallEntries + "\\" + c.logged;
  putEmptyLog();
  win.putRegistryValue(key, "UninstallString", c.uninstallString, c.type, RegRoot::LocalMachine);
  logEntry("UNINSTALLENTRY", "KEY", c.logged);

  runRemoval();

  EXPECT_EQ(win.registryKeyExists(key, RegRoot::LocalMachine), !c.removed);
  EXPECT_FALSE(exists(kLogPath)) << "the run went to its end";
}

INSTANTIATE_TEST_SUITE_P(
    Forms, UninstallEntryForms,
    ::testing::Values(
        EntryCase{"thisUninstaller", "Tessaryn screen saver", "\"" + kUninstaller + "\"",
                  SimulatedWindows::ValueType::String, true},
        EntryCase{"inOtherCapitals", "Tessaryn screen saver", "\"" + upperAscii(kUninstaller) + "\"",
                  SimulatedWindows::ValueType::String, true},
        EntryCase{"anotherProgram", "Other", "\"C:\\Other\\Uninstall.exe\"", SimulatedWindows::ValueType::String,
                  false},
        EntryCase{"unquoted", "Tessaryn screen saver", kUninstaller, SimulatedWindows::ValueType::String, false},
        EntryCase{"notAString", "Tessaryn screen saver", "1", SimulatedWindows::ValueType::DWord, false},
        EntryCase{"belowAnotherEntry", "Other\\Tessaryn screen saver", "\"" + kUninstaller + "\"",
                  SimulatedWindows::ValueType::String, false}),
    [](const auto& info) { return std::string(info.param.title); });

TEST_F(UninstallLogForms, WithoutADesktopDirectoryTheDesktopStepIsSkipped) {
  putEmptyLog();
  win.setDesktopDirectory("");
  win.putFile("C:\\Ours.lnk");
  logEntry("DESKTOP", "SHORTCUT4", "Ours.lnk");

  runRemoval();

  EXPECT_TRUE(exists("C:\\Ours.lnk")) << "not taken from the drive's root";
  EXPECT_TRUE(ended());
}

}  // namespace
}  // namespace tsaver::testing
