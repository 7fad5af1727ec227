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

TEST_F(UninstallRunTest, CompleteInstallationLeavesOnlyWhatWasNeverLogged) {
  putInstalledProduct();
  const auto before = win.allPaths();

  runRemoval();

  std::vector<std::string> left = win.allPaths();
  // Everything else of the machine stays as it was; of the product only the unlogged files.
  std::vector<std::string> expected;
  for (const auto& path : before) {
    const bool product = path.find("Tessaryn") != std::string::npos || path.find("Screen Saver") != std::string::npos;
    if (!product) expected.push_back(path);
  }
  expected.push_back("C:\\Program Files\\Tessaryn\\");  // the install directory's parent, made but never logged
  expected.push_back("C:\\WINDOWS\\Tessaryn.ini");
  std::sort(left.begin(), left.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(left, expected);

  EXPECT_FALSE(win.registryValue(kRunKey, "Tessaryn screen saver"));
  EXPECT_EQ(win.registryValue(kRunKey, "Other program"), "C:\\other.exe");
  EXPECT_EQ(win.profileSections("TSaver.ini"), (Sections{{"Other", {{"DataPath", "C:\\other"}}}}));
  EXPECT_TRUE(messages().empty());
  EXPECT_TRUE(ended());
}

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
  EXPECT_EQ(frmUninstall->gProgress->progress(), 8);
  EXPECT_FALSE(frmUninstall->btn_ok->enabled());
  // What came before the erase is gone, so a second run finds less to do.
  EXPECT_FALSE(exists(kGroup));
}

struct SelfDeletionCase {
  const char* name;
  bool locked;
  std::vector<std::string> rebootDeletions;
};

class UninstallSelfDeletionTest : public UninstallFixture, public ::testing::WithParamInterface<SelfDeletionCase> {};

TEST_P(UninstallSelfDeletionTest, LockedUninstallerAndItsDirectoryAreLeftToTheNextBoot) {
  win.lockFile(kUninstaller, GetParam().locked);
  putEmptyLog();
  logEntry("DIRECTORIES", "DIRECTORY1", kInstallDir);

  runRemoval();

  std::vector<std::string> rebootDeletions;
  for (const auto& call : win.journal())
    if (call.rfind("MoveFileExA(", 0) == 0) rebootDeletions.push_back(call);
  EXPECT_EQ(rebootDeletions, GetParam().rebootDeletions);
  EXPECT_FALSE(exists(kLogPath));
  EXPECT_EQ(exists(kInstallDir), GetParam().locked);
  EXPECT_TRUE(ended());
}

INSTANTIATE_TEST_SUITE_P(
    SelfDeletion, UninstallSelfDeletionTest,
    ::testing::Values(SelfDeletionCase{"running",
                                       true,
                                       {"MoveFileExA(" + kUninstaller + ",DELAY_UNTIL_REBOOT)",
                                        "MoveFileExA(" + kInstallDir + ",DELAY_UNTIL_REBOOT)"}},
                      SelfDeletionCase{"deletable", false, {}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tsaver::testing
