// The wizard's pages, texts, layout, chooser, confirmation and clean-up,
// driven through the real windows.
#include <gtest/gtest.h>
#include <windows.h>

#include <chrono>
#include <iostream>
#include <vector>

#include "e2e/ProductPackage.h"
#include "e2e/WizardSession.h"
#include "e2e/robot/Files.h"
#include "e2e/robot/Input.h"
#include "e2e/robot/Screen.h"

namespace e2e {
namespace {

const char kAbortQuestion[] = "Are you sure you want to abort the installation?";

struct ButtonState {
  std::string next;
  bool nextOn, backOn, cancelOn;
  bool operator==(const ButtonState& o) const {
    return next == o.next && nextOn == o.nextOn && backOn == o.backOn && cancelOn == o.cancelOn;
  }
};
std::ostream& operator<<(std::ostream& os, const ButtonState& s) {
  return os << "next \"" << s.next << "\" " << s.nextOn << ", back " << s.backOn << ", cancel " << s.cancelOn;
}

ButtonState buttons(const WizardSession& wizard) {
  return {wizard.text("btn_next"), wizard.control("btn_next").enabled(), wizard.control("btn_back").enabled(),
          wizard.control("btn_cancel").enabled()};
}

// The name of the control with the focus once it is `expected`, or, when it
// never gets there, the name it has after a while.
std::string focusSettlingOn(const WizardSession& wizard, const std::string& expected) {
  const auto deadline = std::chrono::steady_clock::now() + Millis(3000);
  std::string focused = focusedControl(wizard.form()).tkName();
  while (focused != expected && std::chrono::steady_clock::now() < deadline) {
    Sleep(20);
    focused = focusedControl(wizard.form()).tkName();
  }
  return focused;
}

// Every package file a closing wizard deletes: all but the program file itself.
void expectPackageCleanedUp(const Package& package, const std::string& product) {
  for (const ProductFile& file : productFiles(product)) EXPECT_FALSE(package.has(file.name)) << file.name;
  EXPECT_FALSE(package.has("After.txt"));
  EXPECT_TRUE(package.has("INSTALL.EXE")) << "the program file stays";
}

TEST(InstallWizard, WelcomePageShowsTheTextsOfTheProduct) {
  const Package package = makeProductPackage("E2EWelcome");
  WizardSession wizard(package);
  wizard.waitForText("lbl_caption", "E2EWelcome screen saver installation");
  EXPECT_EQ(wizard.text("lblInfo2"), "This program will install the E2EWelcome screen saver onto your system.");
  EXPECT_EQ(wizard.text("edt_filename"), "C:\\Program Files\\E2EWelcome\\Screen Saver");
  EXPECT_EQ(wizard.text("lblSuccess1"), "The E2EWelcome screen saver has been installed successfully.");
  EXPECT_EQ(wizard.text("lblSuccess2"),
            "To activate the E2EWelcome screen saver just click on its tray icon, right clicking the tray icon will "
            "bring up a menu of options.");
  EXPECT_TRUE(wizard.control("lblInfo1").visible());
  EXPECT_FALSE(wizard.control("Label7").visible()) << "the directory page is not shown yet";
  EXPECT_EQ(buttons(wizard), (ButtonState{"&Next >", true, false, true}));
  EXPECT_EQ(focusedControl(wizard.form()).tkName(), "btn_next");
  saveScreenshot("wizard-welcome");
  wizard.form().close();
  EXPECT_EQ(wizard.waitForExit(), 0u);
}

TEST(InstallWizard, PagesFollowNextBackAndCancel) {
  const Package package = makeProductPackage("E2EFlow");
  WizardSession wizard(package);
  wizard.waitForText("lbl_caption", "E2EFlow screen saver installation");

  wizard.press("btn_next");
  wizard.waitForVisible("Label7");
  EXPECT_FALSE(wizard.control("lblInfo1").visible());
  EXPECT_EQ(buttons(wizard), (ButtonState{"&Next >", true, true, true}));
  saveScreenshot("wizard-directory");

  wizard.press("btn_back");
  wizard.waitForVisible("lblInfo1");
  EXPECT_EQ(buttons(wizard), (ButtonState{"&Next >", true, false, true}));

  wizard.press("btn_next");
  wizard.waitForVisible("Label7");
  wizard.press("btn_cancel");
  const Dialog question = waitForDialog(wizard.process().id(), "Confirm");
  EXPECT_EQ(question.message(), kAbortQuestion);
  ASSERT_TRUE(question.icon());
  EXPECT_TRUE(showsSystemIcon(question.icon(), IDI_QUESTION));
  question.press("&No");
  waitUntilGone(question.window(), "the question");
  EXPECT_TRUE(wizard.process().running()) << "No keeps the wizard";
  EXPECT_TRUE(wizard.control("Label7").visible());

  wizard.press("btn_cancel");
  EXPECT_EQ(wizard.answer("Confirm", "&Yes").text, kAbortQuestion);
  EXPECT_EQ(wizard.waitForExit(), 0u);
  expectPackageCleanedUp(package, "E2EFlow");
}

TEST(InstallWizard, ChooserSetsTheInstallDirectoryBelowTheChosenOne) {
  const std::string product = "E2EChooser";
  const Package package = makeProductPackage(product);
  const std::string chosen = "C:\\e2e\\" + product + " chosen\\New Folder";
  removePath("C:\\e2e\\" + product + " chosen");
  WizardSession wizard(package);
  wizard.press("btn_next");
  wizard.waitForVisible("btn_filename");
  const auto openChooser = [&] {
    wizard.press("btn_filename");
    return waitForDialog(wizard.process().id(), "Select Directory");
  };

  Dialog chooser = openChooser();
  saveScreenshot("wizard-chooser");
  chooseDirectory(chooser, chosen);
  const char createQuestion[] = "The specified directory does not exist. Create it?";
  EXPECT_EQ(wizard.answer("Confirm", "&No").text, createQuestion);
  EXPECT_TRUE(chooser.window().visible()) << "No keeps the chooser open";
  EXPECT_FALSE(directoryExists(chosen));
  chooser.press("OK");
  EXPECT_EQ(wizard.answer("Confirm", "&Yes").text, createQuestion);
  waitUntilGone(chooser.window(), "the chooser");
  EXPECT_TRUE(directoryExists(chosen)) << "created on OK, before Next";
  const std::string below = chosen + "\\" + product + "\\Screen Saver";
  wizard.waitForText("edt_filename", below);

  chooser = openChooser();
  chooser.press("Cancel");
  waitUntilGone(chooser.window(), "the cancelled chooser");
  EXPECT_EQ(wizard.text("edt_filename"), below) << "a cancelled chooser changes nothing";

  // A drive root already ends in "\\": no second one.
  chooser = openChooser();
  chooseDirectory(chooser, "C:\\");
  waitUntilGone(chooser.window(), "the chooser");
  wizard.waitForText("edt_filename", "C:\\" + product + "\\Screen Saver");

  {
    // The program's first call into mpr (loaded at that call): Wine's connection
    // dialog returns at once, and the chooser goes on. Last, since the 32-bit Wine
    // then keeps the wizard from answering for about 10 s, even with mpr loaded at start.
    const ScopedNetworkProvider provider;
    chooser = openChooser();
  }
  const std::string opened = chooser.window().named("DirectoryName").text();
  chooser.press("Ne&twork...");
  EXPECT_EQ(chooser.window().named("DirectoryName").text(), opened) << "answered after the network button";
  chooser.press("Cancel");
  waitUntilGone(chooser.window(), "the chooser");

  wizard.form().close();
  EXPECT_EQ(wizard.waitForExit(), 0u);
}

// Real keys and clicks: the focus moves on from a button that disables itself
// under it, and the folder button never keeps it, so Tab and Enter reach a button.
TEST(InstallWizard, TheKeyboardFocusAlwaysRestsOnAButtonThatTakesIt) {
  const std::string product = "E2EKeys", chosen = "C:\\e2e\\E2EKeys chosen";
  removePath(chosen);
  makeDirectories(chosen);
  // A file where the run makes the product's folder: Next on the directory page ends at once, installing nothing.
  writeFile(chosen + "\\" + product, "not a folder");
  const Package package = makeProductPackage(product);
  WizardSession wizard(package);
  const struct {
    std::vector<WORD> keys;
    const char *shown, *focused;  // a control of the page then shown, and the one with the focus
  } steps[] = {
      {{VK_RETURN}, "Label7", "btn_next"},     {{VK_TAB}, "Label7", "btn_back"},
      {{VK_RETURN}, "lblInfo1", "btn_cancel"},  // Back disabled itself: on round to the first in tab order
      {{VK_TAB}, "lblInfo1", "btn_next"},      {{VK_TAB}, "lblInfo1", "btn_cancel"},
      {{VK_TAB, VK_RETURN}, "Label7", "btn_next"},
  };
  for (const auto& step : steps) {
    typeKeys(wizard.form(), step.keys);
    wizard.waitForVisible(step.shown);
    EXPECT_EQ(focusSettlingOn(wizard, step.focused), step.focused) << "step " << &step - steps;
  }
  for (const bool ok : {false, true}) {
    clickWithMouse(wizard.control("btn_filename"));
    const Dialog chooser = waitForDialog(wizard.process().id(), "Select Directory");
    ok ? chooseDirectory(chooser, chosen) : typeKeys(chooser.window(), {VK_ESCAPE});
    waitUntilGone(chooser.window(), "the chooser");
    EXPECT_EQ(focusSettlingOn(wizard, "btn_next"), "btn_next") << (ok ? "after OK" : "after Escape");
  }
  typeKeys(wizard.form(), {VK_RETURN});
  EXPECT_EQ(wizard.answer(kInstallTitle, "OK").text, "Installation aborted, destination directory unable to be created.")
      << "Enter presses Next";
  EXPECT_EQ(wizard.waitForExit(), 0u);
  removePath(chosen);
}

TEST(InstallWizard, WithoutDataDatTheWindowClosesAtOnceAndCleansUp) {
  Package package("E2ENoData");
  package.copyProgram("INSTALL.EXE");
  const char* const deleted[] = {"Extras.txt", "After.txt", "Path.dat", "Config.swf", "Config.bmp", "SWFlash.ocx"};
  for (const char* name : deleted) package.write(name, name);
  package.write("Saver.exe", "not in the clean-up without a product");

  Process program = Process::start(package.path("INSTALL.EXE"), package.dir());
  // Caught from its creation, moments before it shows: polls can miss the
  // 100 ms it is visible on a busy machine, but not the whole time it exists.
  const bool seen = waitUntil(
      [&] {
        if (findWindow(program.id(), kWizardCaption, false)) return 1;
        return program.running() ? 0 : -1;
      },
      "the wizard window") == 1;
  const auto shown = std::chrono::steady_clock::now();
  ASSERT_TRUE(seen) << "the program ended before its wizard window was seen";
  ASSERT_TRUE(program.waitForExit());
  const auto openFor = std::chrono::duration_cast<Millis>(std::chrono::steady_clock::now() - shown);
  std::cout << "[ measured ] the wizard without Data.dat ended " << openFor.count() << " ms after its window was seen\n";
  // The close timer runs 100 ms; starting and ending a Wine process adds its own time.
  EXPECT_LT(openFor.count(), 3000);
  EXPECT_EQ(program.exitCode(), 0u);
  for (const char* name : deleted) EXPECT_FALSE(package.has(name)) << name;
  EXPECT_TRUE(package.has("Saver.exe"));
  EXPECT_TRUE(package.has("INSTALL.EXE"));
}

TEST(InstallWizard, ControlsLieWhereTheLayoutPutsThem) {
  const Package package = makeProductPackage("E2ELayout");
  WizardSession wizard(package);
  struct Placed {
    const char* name;
    Rect bounds;  // in the parent's client area
    const char* parent;
  };
  const Placed layout[] = {
      {"btn_cancel", {98, 187, 75, 25}, "frmInstall"},  {"btn_next", {341, 187, 75, 25}, "frmInstall"},
      {"btn_back", {258, 187, 75, 25}, "frmInstall"},   {"lbl_caption", {102, 3, 310, 49}, "frmInstall"},
      {"Notebook", {97, 55, 325, 124}, "frmInstall"},   {"edt_filename", {8, 3, 251, 13}, "panel1"},
      {"btn_filename", {291, 87, 21, 21}, "P4"},        {"panel1", {15, 87, 271, 21}, "P4"},
  };
  for (const Placed& p : layout) {
    const Window control = wizard.control(p.name);
    EXPECT_EQ(toString(control.boundsInParent()), toString(p.bounds)) << p.name;
    const Window parent = control.parent();
    EXPECT_EQ(parent.handle() == wizard.form().handle() ? "frmInstall" : parent.tkName(), p.parent) << p.name;
  }
  EXPECT_EQ(toString(wizard.form().clientSize()), "421 x 216");
  const Window copying = waitForWindow(wizard.process().id(), "Copying files . . .", false);
  EXPECT_EQ(toString(copying.clientSize()), "274 x 67");
  wizard.form().close();
  EXPECT_EQ(wizard.waitForExit(), 0u);
}

}  // namespace
}  // namespace e2e
