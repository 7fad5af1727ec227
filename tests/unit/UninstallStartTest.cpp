// Before the run: the log's presence and the one confirmation decide whether
// anything is touched at all.
#include "UninstallFixture.h"

namespace tsaver::testing {
namespace {

constexpr const char* kNoLogText = "Unable to locate the installation log file. Uninstallation will not continue.";
constexpr const char* kConfirmText =
    "Are you sure you want to completely remove the selected application and all of its components?";

struct NoLogCase {
  const char* name;
  bool logInInstallDir;
};

class UninstallNoLogTest : public UninstallFixture, public ::testing::WithParamInterface<NoLogCase> {};

TEST_P(UninstallNoLogTest, OneMessageThenTheProgramEndsWithNothingTouched) {
  if (GetParam().logInInstallDir) putInstalledProduct();
  win.putDirectory("C:\\Elsewhere");
  win.setCurrentDirectory("C:\\Elsewhere");
  const auto before = win.allPaths();

  start(true);

  ASSERT_EQ(ui.dialogs().size(), 1u);
  EXPECT_EQ(ui.dialogs()[0].type, tk::DialogRecord::Message);
  EXPECT_EQ(ui.dialogs()[0].text, kNoLogText);
  EXPECT_EQ(ui.dialogs()[0].caption, kUninstallTitle);
  EXPECT_EQ(app->mainForm(), frmUninstall);
  EXPECT_TRUE(ended());
  EXPECT_FALSE(frmUninstall->Timer->enabled());
  EXPECT_EQ(win.allPaths(), before);
}

INSTANTIATE_TEST_SUITE_P(Start, UninstallNoLogTest,
                         ::testing::Values(NoLogCase{"noInstallation", false}, NoLogCase{"startedElsewhere", true}),
                         [](const auto& info) { return std::string(info.param.name); });

TEST_F(UninstallFixture, NoAtTheConfirmationTouchesNothing) {
  putInstalledProduct();
  const auto before = win.allPaths();

  start(false);

  ASSERT_EQ(ui.dialogs().size(), 1u);
  EXPECT_EQ(ui.dialogs()[0].type, tk::DialogRecord::Confirm);
  EXPECT_EQ(ui.dialogs()[0].text, kConfirmText);
  EXPECT_TRUE(ended());
  EXPECT_FALSE(frmUninstall->Timer->enabled());
  EXPECT_EQ(win.allPaths(), before);
  EXPECT_TRUE(win.registryValue(kRunKey, "Tessaryn screen saver"));
}

TEST_F(UninstallFixture, YesStartsTheTimerAndLeavesTheRunToItsFirstTick) {
  putInstalledProduct();
  const auto before = win.allPaths();

  start(true);

  EXPECT_TRUE(frmUninstall->Timer->enabled());
  EXPECT_EQ(frmUninstall->Timer->interval(), 100u);
  EXPECT_FALSE(ended());
  EXPECT_EQ(win.allPaths(), before);
  EXPECT_EQ(ui.pumps(), 0);
}

}  // namespace
}  // namespace tsaver::testing
