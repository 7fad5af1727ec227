// The robot against a small window of known layout (tests/fixtures/robot_target).
#include <gtest/gtest.h>

#include "e2e/robot/Dialog.h"
#include "e2e/robot/Files.h"
#include "e2e/robot/Process.h"
#include "e2e/robot/Screen.h"
#include "e2e/robot/Window.h"

namespace e2e {
namespace {

class Robot : public ::testing::Test {
 protected:
  Robot() : target(Process::start(fixturesDir() + "RobotTarget.exe", fixturesDir())) {
    form = waitForWindow(target.id(), "Robot Target");
  }
  Process target;
  Window form;
};

TEST_F(Robot, ReadsControlsByTheirNames) {
  struct Expected {
    const char* name;
    const char* text;
    Rect bounds;
    bool enabled, visible;
  };
  const Expected controls[] = {
      {"btn_hello", "&Hello", {10, 10, 80, 25}, true, true},
      {"btn_off", "Off", {190, 10, 80, 25}, false, true},
      {"lbl_status", "Ready", {10, 50, 200, 20}, true, true},
      {"edt_name", "", {10, 80, 200, 21}, true, true},
      {"lbl_hidden", "Hidden", {220, 50, 60, 20}, true, false},
  };
  for (const Expected& c : controls) {
    const Window control = form.named(c.name);
    EXPECT_EQ(control.text(), c.text) << c.name;
    EXPECT_EQ(toString(control.boundsInParent()), toString(c.bounds)) << c.name;
    EXPECT_EQ(control.enabled(), c.enabled) << c.name;
    EXPECT_EQ(control.visible(), c.visible) << c.name;
  }
  EXPECT_EQ(form.clientSize(), (Size{300, 150}));
  EXPECT_EQ(form.captioned("&Ask", "Button").tkName(), "btn_ask");
  EXPECT_THROW(form.named("btn_missing"), RobotError);
}

TEST_F(Robot, PressesButtonsAndAnswersTheirBoxes) {
  form.named("btn_hello").press();
  const Dialog hello = waitForDialog(target.id(), "Robot Target");
  EXPECT_EQ(hello.message(), "Hello from the target.");
  ASSERT_TRUE(hello.icon());
  EXPECT_TRUE(showsSystemIcon(hello.icon(), IDI_HAND));
  EXPECT_FALSE(showsSystemIcon(hello.icon(), IDI_QUESTION));
  saveScreenshot("robot-message-box");
  hello.press("OK");
  waitUntil([&] { return form.named("lbl_status").text() == "Said hello"; }, "the status after the box");

  for (const char* answerButton : {"&No", "&Yes"}) {
    form.named("btn_ask").press();
    const Message asked = answer(target.id(), "Confirm", answerButton);
    EXPECT_EQ(asked.text, "Go on?");
    const std::string expected = std::string(answerButton).substr(1);
    waitUntil([&] { return form.named("lbl_status").text() == expected; }, "status " + expected);
  }
}

TEST_F(Robot, TypesIntoAnEdit) {
  const Window edit = form.named("edt_name");
  edit.setText("C:\\typed path");
  EXPECT_EQ(edit.text(), "C:\\typed path");
}

TEST_F(Robot, RefusesToPressADisabledButton) { EXPECT_THROW(form.named("btn_off").press(), RobotError); }

TEST_F(Robot, SeesTheExitCodes) {
  form.named("btn_quit").press();
  ASSERT_TRUE(target.waitForExit());
  EXPECT_EQ(target.exitCode(), 3u);

  Process second = Process::start(fixturesDir() + "RobotTarget.exe", fixturesDir());
  const Window secondForm = waitForWindow(second.id(), "Robot Target");
  secondForm.close();
  ASSERT_TRUE(second.waitForExit());
  EXPECT_EQ(second.exitCode(), 0u);
}

TEST_F(Robot, KillsAndTimesOut) {
  EXPECT_THROW(waitForWindow(target.id(), "No such window", true, Millis(200)), RobotError);
  target.kill();
  EXPECT_FALSE(target.running());
  EXPECT_FALSE(form);
}

// Ids come back once their process has gone; a process whose parent id was reused is no child.
TEST(RobotProcesses, CountOnlyThoseThatBeganAfterTheParentTheyName) {
  const std::vector<RunningProcess> running = {
      {56, 40, "services.exe", 50},     // named the parent's id before it was given again
      {60, 40, "cmd.exe", 120},         // started by the root
      {64, 60, "UNINSTALL.EXE", 130},   // started by that
      {68, 60, "winedevice.exe", 110},  // older than the process it names
      {72, 8, "explorer.exe", 200},     // another's
  };
  std::vector<DWORD> found;
  for (const RunningProcess& p : descendantsIn(running, 40, 100)) found.push_back(p.id);
  EXPECT_EQ(found, (std::vector<DWORD>{60, 64}));
}

}  // namespace
}  // namespace e2e
