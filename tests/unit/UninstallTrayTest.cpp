// The tray program's deletion: recognised by its file-name part, waited for,
// reported once per logged name while it stays, and never a stop of the run.
#include "UninstallFixture.h"

namespace tsaver::testing {
namespace {

struct TrayNameCase {
  const char* name;
  std::string value;  // as logged
  std::string path;   // the file it names
  bool isTray;
};

class UninstallTrayNameTest : public UninstallFixture, public ::testing::WithParamInterface<TrayNameCase> {};

TEST_P(UninstallTrayNameTest, OnlyTheTrayProgramsNameIsWaitedForAndReported) {
  const TrayNameCase& c = GetParam();
  win.putFile(c.path);
  win.lockFile(c.path);
  logEntry("FILES", "FILE5", c.value);

  runRemoval();

  EXPECT_EQ(sleeps(1000), c.isTray ? 1 : 0);
  EXPECT_EQ(messages(), c.isTray ? std::vector<std::string>{kTrayMessage} : std::vector<std::string>{});
  EXPECT_TRUE(exists(c.path));
  EXPECT_EQ(frmUninstall->gProgress->progress(), 10);
  EXPECT_TRUE(ended());
}

INSTANTIATE_TEST_SUITE_P(
    Names, UninstallTrayNameTest,
    ::testing::Values(TrayNameCase{"asInstalled", "TaskTray.exe", kInstallDir + "\\TaskTray.exe", true},
                      TrayNameCase{"capitals", "TASKTRAY.EXE", kInstallDir + "\\TASKTRAY.EXE", true},
                      TrayNameCase{"smallLetters", "tasktray.exe", kInstallDir + "\\tasktray.exe", true},
                      TrayNameCase{"furtherExtension", "TaskTray.exe.old", kInstallDir + "\\TaskTray.exe.old", false},
                      TrayNameCase{"prefixed", "MyTaskTray.exe", kInstallDir + "\\MyTaskTray.exe", false},
                      TrayNameCase{"shorter", "TaskTray.ex", kInstallDir + "\\TaskTray.ex", false}),
    [](const auto& info) { return std::string(info.param.name); });

// How long the running tray program holds its file.
enum class Lock { None, UntilTheWait, UntilTheMessage, Always };

struct TrayTimingCase {
  const char* name;
  Lock lock;
  bool messageShown;
  bool trayRemains;
};

class UninstallTrayTimingTest : public UninstallFixture, public ::testing::WithParamInterface<TrayTimingCase> {};

TEST_P(UninstallTrayTimingTest, MessageAfterTheWaitOneMoreDeletionAndTheRunGoesOn) {
  const std::string tray = kInstallDir + "\\TaskTray.exe";
  const TrayTimingCase& c = GetParam();
  win.putFile(tray);
  win.putFile(kGroup + "\\Uninstall.lnk");
  win.lockFile(tray, c.lock != Lock::None);
  logEntry("FILES", "FILE5", "TaskTray.exe");
  logEntry("SHORTCUTS", "SHORTCUT3", kGroup + "\\Uninstall.lnk");
  logEntry("DIRECTORIES", "DIRECTORY2", kGroup);
  int sleepsBeforeMessage = -1;
  if (c.lock == Lock::UntilTheWait) win.onSleep = [&](unsigned) { win.lockFile(tray, false); };
  ui.onDialog = [&](const tk::DialogRecord& d) {
    if (d.type != tk::DialogRecord::Message) return;
    sleepsBeforeMessage = sleeps(1000);
    if (c.lock == Lock::UntilTheMessage) win.lockFile(tray, false);
  };

  runRemoval();

  if (c.messageShown) {
    ASSERT_EQ(ui.dialogs().size(), 2u);
    const tk::DialogRecord& box = ui.dialogs()[1];
    EXPECT_EQ(box.text, kTrayMessage);
    EXPECT_EQ(box.caption, "Information");
    EXPECT_EQ(box.icon, tk::MessageIcon::Information);
    EXPECT_EQ(sleepsBeforeMessage, 1);
  } else {
    EXPECT_TRUE(messages().empty());
  }
  EXPECT_EQ(exists(tray), c.trayRemains);
  EXPECT_FALSE(exists(kGroup));
  EXPECT_EQ(frmUninstall->gProgress->progress(), 10);
  EXPECT_TRUE(ended());
}

INSTANTIATE_TEST_SUITE_P(Timing, UninstallTrayTimingTest,
                         ::testing::Values(TrayTimingCase{"notRunning", Lock::None, false, false},
                                           // An ended program leaves its file: the message still comes.
                                           TrayTimingCase{"endsDuringTheWait", Lock::UntilTheWait, true, false},
                                           TrayTimingCase{"endedBeforeOk", Lock::UntilTheMessage, true, false},
                                           TrayTimingCase{"stillRunning", Lock::Always, true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

class UninstallTrayTest : public UninstallFixture {};

TEST_F(UninstallTrayTest, EachLoggedTrayNameGetsItsOwnMessage) {
  win.putFile(kInstallDir + "\\TaskTray.exe");
  win.lockFile(kInstallDir + "\\TaskTray.exe");
  logEntry("FILES", "FILE5", "TaskTray.exe");
  logEntry("FILES", "FILE20", "TASKTRAY.EXE");

  runRemoval();

  EXPECT_EQ(sleeps(1000), 2);
  EXPECT_EQ(messages(), (std::vector<std::string>{kTrayMessage, kTrayMessage}));
}

}  // namespace
}  // namespace tsaver::testing
