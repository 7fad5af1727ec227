// The removal run as a whole: what it removes, in which order, what it leaves.
#include "UninstallFixture.h"

namespace tsaver::testing {
namespace {

using Section = SimulatedWindows::ProfileSection;
using Sections = std::vector<Section>;

class UninstallRunTest : public UninstallFixture {};

// Pumps of a run over a log without entries: step 1, gauge 2, 999 file probes, gauge 4,
// 999 shortcut and 999 desktop probes, gauge 6, gauge 8, gauge 10, before the close.
constexpr int kPumpsWithoutEntries = 1 + 1 + 999 + 1 + 999 + 999 + 1 + 1 + 1 + 1;

TEST_F(UninstallRunTest, EmptyLogRunsEveryStepAndErasesTheDefaultSection) {
  putEmptyLog();
  ASSERT_TRUE(win.writeProfileString("NONE", "a", "1", "VELUMINA.INI"));
  ASSERT_TRUE(win.writeProfileString("Keep", "b", "2", "VELUMINA.INI"));

  runRemoval();

  EXPECT_EQ(win.profileSections("C:\\WINDOWS\\VELUMINA.INI"), (Sections{{"Keep", {{"b", "2"}}}}));
  EXPECT_EQ(frmUninstall->gProgress->progress(), 10);
  EXPECT_EQ(frmUninstall->gProgress->percentDone(), 100);
  EXPECT_FALSE(exists(kLogPath));
  EXPECT_FALSE(exists(kUninstaller));
  EXPECT_TRUE(frmUninstall->btn_ok->enabled());
  EXPECT_FALSE(frmUninstall->Timer->enabled());
  EXPECT_EQ(ui.pumps(), kPumpsWithoutEntries);
  EXPECT_TRUE(messages().empty());
  EXPECT_TRUE(ended());
}

TEST_F(UninstallRunTest, OnlyRegistryAndDirectoryEntriesAddPumps) {
  putEmptyLog();
  logEntry("REGISTRY", "KEY1", "a");
  logEntry("REGISTRY", "KEY7", "b");
  logEntry("DIRECTORIES", "DIRECTORY3", "C:\\gone");
  logEntry("FILES", "FILE3", "x.txt");
  logEntry("SHORTCUTS", "SHORTCUT1", "C:\\y.lnk");

  runRemoval();

  EXPECT_EQ(ui.pumps(), kPumpsWithoutEntries + 3);
}

// Earlier versions kept the read-only attribute of a package on a CD in every copy.
class UninstallCompleteTest : public UninstallFixture, public ::testing::WithParamInterface<bool> {};

TEST_P(UninstallCompleteTest, CompleteInstallationLeavesOnlyWhatWasNeverLogged) {
  putInstalledProduct();
  const auto before = win.allPaths();
  if (GetParam()) {
    for (const auto& path : before)
      if (path.rfind(kInstallDir + "\\", 0) == 0 && path != kLogPath) win.setReadOnly(path);
    win.setReadOnly("C:\\WINDOWS\\Tessaryn.scr");
  }

  runRemoval();

  std::vector<std::string> left = win.allPaths();
  // Everything else of the machine stays as it was; of the product only the unlogged files.
  std::vector<std::string> expected;
  for (const auto& path : before) {
    const bool product = path.find("Tessaryn") != std::string::npos || path.find("Screen Saver") != std::string::npos;
    if (!product) expected.push_back(path);
  }
  expected.push_back("C:\\WINDOWS\\Tessaryn.ini");
  std::sort(left.begin(), left.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(left, expected);

  EXPECT_FALSE(win.registryValue(kRunKey, "Tessaryn screen saver"));
  EXPECT_EQ(win.registryValue(kRunKey, "Other program"), "C:\\other.exe");
  EXPECT_FALSE(win.registryKeyExists(kEntryKey, RegRoot::LocalMachine));
  EXPECT_EQ(win.profileSections("TSaver.ini"), (Sections{{"Other", {{"DataPath", "C:\\other"}}}}));
  EXPECT_TRUE(messages().empty()) << "no tray program runs";
  EXPECT_TRUE(ended());
}

INSTANTIATE_TEST_SUITE_P(Copies, UninstallCompleteTest, ::testing::Values(false, true),
                         [](const auto& info) { return std::string(info.param ? "readOnly" : "writable"); });

TEST_F(UninstallRunTest, EachKindGoesInItsStepAndBeforeItsDirectory) {
  putInstalledProduct();

  runRemoval();

  // The gauge value at the pump where each item was first gone tells its step.
  const struct {
    std::string path;
    int gauge;
  } removals[] = {
      {"C:\\WINDOWS\\Tessaryn.scr", 2},
      {kInstallDir + "\\Wallpaper.bmp", 2},
      {kGroup + "\\Uninstall.lnk", 4},
      {kDesktop + "\\Tessaryn screen saver.lnk", 4},
      {kGroup, 8},
      // The directory step found the install directory still holding the log and the uninstaller.
      {kLogPath, 10},
      {kUninstaller, 10},
      {kInstallDir, 10},
      {kProductDir, 10},
  };
  for (const auto& r : removals) {
    SCOPED_TRACE(r.path);
    const int pump = goneAtPump(r.path);
    ASSERT_GE(pump, 0);
    EXPECT_EQ(pumpGauge[pump], r.gauge);
  }
  EXPECT_LT(goneAtPump(kInstallDir + "\\Wallpaper.bmp"), goneAtPump(kGroup + "\\Tessaryn task tray program.lnk"));
  EXPECT_LT(goneAtPump(kGroup + "\\Uninstall.lnk"), goneAtPump(kGroup));
}

struct RunKeyCase {
  const char* name;
  bool keyExists;
};

class UninstallRunKeyTest : public UninstallFixture, public ::testing::WithParamInterface<RunKeyCase> {};

TEST_P(UninstallRunKeyTest, RunValueGoesAndAMissingRunKeyIsCreatedEmpty) {
  putEmptyLog();
  logEntry("REGISTRY", "KEY1", "Tessaryn screen saver");
  if (GetParam().keyExists)
    win.putRegistryValue(kRunKey, "Tessaryn screen saver", kRunValueData);
  else
    win.deleteRegistryKey(kRunKey);

  runRemoval();

  EXPECT_TRUE(win.registryKeyExists(kRunKey));
  EXPECT_FALSE(win.registryValue(kRunKey, "Tessaryn screen saver"));
}

INSTANTIATE_TEST_SUITE_P(RunKey, UninstallRunKeyTest,
                         ::testing::Values(RunKeyCase{"existing", true}, RunKeyCase{"missing", false}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(UninstallRunTest, FailedSectionEraseShowsTheErrorAndEndsWithLogAndUninstallerInPlace) {
  putInstalledProduct();
  win.failProfileWrites("TSaver.ini");

  runRemoval();

  ASSERT_EQ(ui.dialogs().size(), 2u);
  const tk::DialogRecord& error = ui.dialogs()[1];
  EXPECT_EQ(error.text, "Unable to write to TSaver.ini.");
  EXPECT_EQ(error.caption, kUninstallTitle);
  EXPECT_EQ(error.icon, tk::MessageIcon::Error);
  EXPECT_TRUE(ended());
  EXPECT_TRUE(exists(kLogPath));
  EXPECT_TRUE(exists(kUninstaller));
  EXPECT_TRUE(win.registryKeyExists(kEntryKey, RegRoot::LocalMachine)) << "the removal can be started from the list";
  EXPECT_EQ(frmUninstall->gProgress->progress(), 8);
  EXPECT_FALSE(frmUninstall->btn_ok->enabled());
  // What came before the erase is gone, so a second run finds less to do.
  EXPECT_FALSE(exists(kGroup));
}

struct EndCase {
  const char* name;
  bool runByCopy;          // a temporary copy runs the removal: the first process is waited for
  bool uninstallerLocked;  // still running: the run was not handed off
  const char* userFile;    // put in by the user, nothing logs it
  std::vector<std::string> left;
  std::vector<std::string> waits;  // the journal's waits, in order
};

class UninstallEndTest : public UninstallFixture, public ::testing::WithParamInterface<EndCase> {};

TEST_P(UninstallEndTest, UninstallerAndTheDirectoriesMadeForItGoWhenNothingElseIsInThem) {
  const EndCase& c = GetParam();
  if (c.runByCopy) win.setEnvironmentVariable("TSAVER_FIRST_PROCESS", "7.1234");
  win.lockFile(kUninstaller, c.uninstallerLocked);
  if (*c.userFile) win.putFile(c.userFile, "mine");
  putEmptyLog();
  logEntry("DIRECTORIES", "DIRECTORY1", kInstallDir);

  runRemoval();

  std::vector<std::string> left;
  for (const std::string& path : {kUninstaller, kInstallDir, kProductDir, kLogPath})
    if (exists(path)) left.push_back(path);
  if (*c.userFile && exists(c.userFile)) left.push_back(c.userFile);
  EXPECT_EQ(left, c.left);
  std::vector<std::string> waits;
  for (const auto& call : win.journal())
    if (call.rfind("WaitForProcess(", 0) == 0 || call.rfind("Sleep(", 0) == 0) waits.push_back(call);
  EXPECT_EQ(waits, c.waits);
  EXPECT_TRUE(ended());
}

const std::vector<std::string> kFourRetries(4, "Sleep(200)");

INSTANTIATE_TEST_SUITE_P(
    End, UninstallEndTest,
    ::testing::Values(
        EndCase{"inPlace", false, false, "", {}, {}},
        EndCase{"byCopy", true, false, "", {}, {"WaitForProcess(7.1234,30000)"}},
        // The first process still runs the uninstaller after the wait: a few tries, then it stays.
        EndCase{"byCopyFirstProcessStuck",
                true,
                true,
                "",
                {kUninstaller, kInstallDir, kProductDir},
                [] {
                  std::vector<std::string> waits = {"WaitForProcess(7.1234,30000)"};
                  waits.insert(waits.end(), kFourRetries.begin(), kFourRetries.end());
                  return waits;
                }()},
        EndCase{"userFileInInstallDir",
                false,
                false,
                "C:\\Program Files\\Tessaryn\\Screen Saver\\notes.txt",
                {kInstallDir, kProductDir, "C:\\Program Files\\Tessaryn\\Screen Saver\\notes.txt"},
                {}},
        EndCase{"userFileBesideInstallDir",
                false,
                false,
                "C:\\Program Files\\Tessaryn\\notes.txt",
                {kProductDir, "C:\\Program Files\\Tessaryn\\notes.txt"},
                {}}),
    [](const auto& info) { return std::string(info.param.name); });

struct SaverSettingCase {
  const char* name;
  std::string setting;  // SCRNSAVE.EXE before the run
  bool saverLocked;     // the removal cannot delete the screen saver file
  bool cleared;
};

class UninstallSaverSettingTest : public UninstallFixture, public ::testing::WithParamInterface<SaverSettingCase> {};

TEST_P(UninstallSaverSettingTest, SettingGoesOnlyWhenItNamedTheScreenSaverThatWasDeleted) {
  const SaverSettingCase& c = GetParam();
  const std::string saver = "C:\\WINDOWS\\Tessaryn Saver.scr";
  win.putFile(saver);
  win.putFile("C:\\WINDOWS\\Other.scr");
  win.lockFile(saver, c.saverLocked);
  putEmptyLog();
  logEntry("FILES", "FILE1", saver);
  const std::string setting = c.setting == "short" ? win.shortPathName(saver) : c.setting;
  ASSERT_FALSE(setting.empty());
  ASSERT_TRUE(win.writeProfileString("boot", "SCRNSAVE.EXE", setting, "System.ini"));
  ASSERT_TRUE(win.writeProfileString("boot", "shell", "Explorer.exe", "System.ini"));

  runRemoval();

  using Keys = std::vector<std::pair<std::string, std::string>>;
  const Keys expected = c.cleared ? Keys{{"shell", "Explorer.exe"}}
                                  : Keys{{"SCRNSAVE.EXE", setting}, {"shell", "Explorer.exe"}};
  EXPECT_EQ(win.profileSections("System.ini"), (Sections{{"boot", expected}}));
}

INSTANTIATE_TEST_SUITE_P(
    Setting, UninstallSaverSettingTest,
    ::testing::Values(SaverSettingCase{"longPath", "C:\\WINDOWS\\Tessaryn Saver.scr", false, true},
                      SaverSettingCase{"shortPath", "short", false, true},
                      SaverSettingCase{"bareName", "Tessaryn Saver.scr", false, true},
                      SaverSettingCase{"otherSaver", "C:\\WINDOWS\\Other.scr", false, false},
                      SaverSettingCase{"alreadyMissing", "C:\\WINDOWS\\Gone.scr", false, false},
                      SaverSettingCase{"saverNotDeleted", "C:\\WINDOWS\\Tessaryn Saver.scr", true, false}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tsaver::testing
