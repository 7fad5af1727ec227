#include <gtest/gtest.h>

#include <algorithm>

#include "InstallerFixture.h"

namespace tsaver::testing {
namespace {

class Wizard : public InstallerFixture {
 public:
  // The white step label, by its caption.
  std::string whiteStep() const {
    for (tk::Label* l : {frmInstall->Label1, frmInstall->Label4, frmInstall->Label5, frmInstall->Label6})
      if (l->font().color == tk::clWhite) return l->caption();
    return "none";
  }
  struct Shown {
    std::string page, step, next;
    bool back, nextOn, cancel;
    bool operator==(const Shown& o) const {
      return page == o.page && step == o.step && next == o.next && back == o.back && nextOn == o.nextOn &&
             cancel == o.cancel;
    }
  };
  Shown shown() const {
    return {frmInstall->Notebook->activePage(), whiteStep(),           frmInstall->btn_next->caption(),
            frmInstall->btn_back->enabled(),    frmInstall->btn_next->enabled(), frmInstall->btn_cancel->enabled()};
  }
};

void PrintTo(const Wizard::Shown& s, std::ostream* os) {
  *os << s.page << "/" << s.step << "/" << s.next << " back=" << s.back << " next=" << s.nextOn << " cancel=" << s.cancel;
}

TEST_F(Wizard, StatesFollowTheTransitions) {
  makePackage();
  start();
  const Shown welcome{"P1", "Info", "&Next >", false, true, true};
  const Shown directory{"P4", "Install to . . .", "&Next >", true, true, true};
  const Shown finished{"P5", "Finished", "&Finish", false, true, false};
  EXPECT_EQ(shown(), welcome);
  next();
  EXPECT_EQ(shown(), directory);
  back();
  EXPECT_EQ(shown(), welcome);
  back();  // disabled on the welcome page
  EXPECT_EQ(shown(), welcome);
  next();
  ui.answerConfirm(false);
  frmInstall->btn_cancel->click();
  EXPECT_EQ(shown(), directory);
  EXPECT_FALSE(closed());
  next();
  EXPECT_EQ(shown(), finished);
  frmInstall->btn_cancel->click();  // disabled now
  frmInstall->btn_back->click();
  EXPECT_EQ(shown(), finished);
  EXPECT_EQ(ui.dialogs().size(), 1u) << "only the one confirmation";
  EXPECT_FALSE(closed());
}

TEST_F(Wizard, WelcomePageShowsTextsDerivedFromTheProductName) {
  makePackage();
  start();
  EXPECT_EQ(frmInstall->lbl_caption->caption(), "Tessaryn screen saver installation");
  EXPECT_EQ(frmInstall->lblInfo2->caption(), "This program will install the Tessaryn screen saver onto your system.");
  EXPECT_EQ(frmInstall->InstallDir(), kDefaultInstallDir);
  EXPECT_EQ(frmInstall->lblSuccess1->caption(), "The Tessaryn screen saver has been installed successfully.");
  EXPECT_EQ(frmInstall->lblSuccess2->caption(),
            "To activate the Tessaryn screen saver just click on its tray icon, right clicking the tray icon will "
            "bring up a menu of options.");
  EXPECT_EQ(state.SourceDir, kPackage);
  EXPECT_EQ(state.WindowsDir, "C:\\WINDOWS");
  EXPECT_EQ(win.currentDirectory(), "C:\\PKG");
  EXPECT_EQ(state.InstallFiles[0], "Tessaryn.scr");
  EXPECT_EQ(state.InstallFiles[6], "");
  EXPECT_EQ(state.InstallFiles[8], "Tessaryn.ico");
  EXPECT_EQ(frmInstall->activeControl(), frmInstall->btn_next);
  EXPECT_FALSE(frmCopying->visible()) << "the copy window exists from the start, hidden";
}

TEST_F(Wizard, ReadsDataDatLinesByTheTextRules) {
  struct Case {
    const char* title;
    std::string data;
    std::string product, section;
  };
  const std::vector<Case> cases = {
      {"one line", "Tessaryn", "Tessaryn", ""},
      {"CR-only lines", "Tessaryn\rSection\rignored", "Tessaryn", "Section"},
      {"Ctrl-Z ends it", std::string("Tess") + char(26) + "aryn\r\nSection", "Tess", ""},
      {"LF belongs to the line", "Tess\naryn\r\nSec", "Tess\naryn", "Sec"},
      {"spaces kept", " Tessaryn \r\n Sec ", " Tessaryn ", " Sec "},
  };
  for (const auto& c : cases) {
    WizardRun run;
    SimulatedWindows& machine = run.machine;
    machine.putFile(kPackage + "Data.dat", c.data);
    run.start();
    tk::HeadlessBackend& headless = run.headless;
    WizardState& wizard = run.wizard;
    EXPECT_EQ(wizard.ProductName, c.product) << c.title;
    EXPECT_EQ(wizard.SettingsSection, c.section) << c.title;
    EXPECT_TRUE(headless.dialogs().empty()) << c.title;
  }
}

TEST_F(Wizard, PackageMissingClosesOnTheFirstTickAndCleansUp) {
  const std::vector<std::string> deleted = {"Extras.txt", "After.txt", "Path.dat", "Config.swf", "Config.bmp",
                                            "SWFlash.ocx"};
  const std::vector<std::string> kept = {"Saver.exe", "Movie.swf", "Other.txt", "INSTALL.EXE"};
  for (const auto& name : deleted) win.putFile(kPackage + name);
  for (const auto& name : kept) win.putFile(kPackage + name);
  start();
  EXPECT_TRUE(frmInstall->TimerClose->enabled());
  EXPECT_EQ(frmInstall->TimerClose->interval(), 100u);
  EXPECT_EQ(frmInstall->lbl_caption->caption(), "");
  EXPECT_EQ(frmInstall->InstallDir(), "");
  EXPECT_FALSE(closed());
  next();  // behaves like Welcome meanwhile
  EXPECT_EQ(frmInstall->Notebook->activePage(), "P4");
  frmInstall->TimerClose->tick();
  EXPECT_TRUE(closed());
  for (const auto& name : deleted) EXPECT_FALSE(win.fileExists(kPackage + name)) << name;
  for (const auto& name : kept) EXPECT_TRUE(win.fileExists(kPackage + name)) << name;
  EXPECT_TRUE(messages().empty());
}

TEST_F(Wizard, UnreadableDataDatLeavesTheWindowOpenOnTheFirstPage) {
  makePackage();
  win.lockFile(kPackage + "Data.dat");
  start();
  ASSERT_EQ(ui.dialogs().size(), 1u);
  EXPECT_EQ(ui.dialogs()[0].caption, "Tessaryn Saver Install");
  EXPECT_EQ(ui.dialogs()[0].icon, tk::MessageIcon::Error);
  EXPECT_EQ(ui.dialogs()[0].text, "I/O error 32.");
  EXPECT_FALSE(frmInstall->TimerClose->enabled());
  EXPECT_EQ(frmInstall->lbl_caption->caption(), "");
  EXPECT_EQ(frmInstall->InstallDir(), "");
  EXPECT_EQ(frmInstall->Notebook->activePage(), "P1");
  EXPECT_FALSE(closed());
}

TEST_F(Wizard, GoingBackAndForwardReadsAfterTxtAgain) {
  makePackage("1\r\nTrue\r\nTrue\r\nTrue");
  start();
  next();
  EXPECT_EQ(state.Options.GroupOption, "True");
  back();
  win.putFile(kPackage + "After.txt", "2\r\nFalse");
  next();
  EXPECT_EQ(state.Options.PostInstallAction, "2");
  EXPECT_EQ(state.Options.TrayOption, "False");
  EXPECT_EQ(state.Options.GroupOption, "");
}

TEST_F(Wizard, UnreadableAfterTxtKeepsTheFirstPage) {
  makePackage();
  win.lockFile(kPackage + "After.txt");
  start();
  next();
  EXPECT_EQ(messages(), std::vector<std::string>{"I/O error 32."});
  EXPECT_EQ(frmInstall->Notebook->activePage(), "P1");
}

TEST_F(Wizard, FolderButtonJoinsTheChosenDirectory) {
  struct Case {
    std::optional<std::string> chosen;
    std::string installDir;
  };
  const std::vector<Case> cases = {
      {"C:\\", "C:\\Tessaryn\\Screen Saver"},
      {"D:\\", "D:\\Tessaryn\\Screen Saver"},
      {"C:\\Apps", "C:\\Apps\\Tessaryn\\Screen Saver"},
      {"C:\\Apps\\Deeper", "C:\\Apps\\Deeper\\Tessaryn\\Screen Saver"},
      {std::nullopt, "C:\\Apps\\Deeper\\Tessaryn\\Screen Saver"},  // cancelled: unchanged
  };
  makePackage();
  win.addDrive('D');
  win.putDirectory("C:\\Apps\\Deeper");
  start();
  next();
  for (const auto& c : cases) {
    win.setCurrentDirectory("C:\\WINDOWS");
    ui.answerChooser(c.chosen);
    frmInstall->btn_filename->click();
    EXPECT_EQ(frmInstall->InstallDir(), c.installDir) << c.chosen.value_or("cancelled");
    EXPECT_EQ(win.currentDirectory(), "C:\\WINDOWS") << "restored";
  }
}

TEST_F(Wizard, ChooserCreatesATypedDirectoryOnlyOnYes) {
  makePackage();
  start();
  next();
  ui.answerChooser("C:\\New\\Place");
  ui.answerConfirm(false);  // keeps the chooser open
  ui.answerChooser("C:\\Other");
  ui.answerConfirm(true);
  frmInstall->btn_filename->click();
  EXPECT_FALSE(win.directoryExists("C:\\New\\Place"));
  EXPECT_TRUE(win.directoryExists("C:\\Other"));
  EXPECT_EQ(frmInstall->InstallDir(), "C:\\Other\\Tessaryn\\Screen Saver");
  EXPECT_FALSE(win.directoryExists("C:\\Other\\Tessaryn")) << "only the run creates the two levels";
}

TEST_F(Wizard, CancelAnsweredYesClosesAndDeletesThePackage) {
  makePackage();
  start();
  ui.answerConfirm(true);
  frmInstall->btn_cancel->click();
  ASSERT_EQ(ui.dialogs().size(), 1u);
  EXPECT_EQ(ui.dialogs()[0].text, "Are you sure you want to abort the installation?");
  EXPECT_EQ(ui.dialogs()[0].caption, "Confirm");
  EXPECT_TRUE(closed());
  for (const auto& name : kProductFiles) EXPECT_FALSE(win.fileExists(kPackage + name)) << name;
  EXPECT_FALSE(win.fileExists(kPackage + "Data.dat"));
  EXPECT_TRUE(win.fileExists(kPackage + "INSTALL.EXE"));
}

TEST_F(Wizard, CleanUpTakesPackageFilesFromTheSourceNotTheCurrentDirectory) {
  makePackage();
  win.putFile("C:\\WINDOWS\\Tessaryn.scr", "installed earlier");
  win.putFile("C:\\WINDOWS\\SWFlash.ocx", "installed earlier");
  start();
  win.setCurrentDirectory("C:\\WINDOWS");
  frmInstall->close();
  EXPECT_TRUE(win.fileExists("C:\\WINDOWS\\Tessaryn.scr"));
  EXPECT_TRUE(win.fileExists("C:\\WINDOWS\\SWFlash.ocx"));
  EXPECT_FALSE(win.fileExists(kPackage + "Tessaryn.scr"));
  EXPECT_FALSE(win.fileExists(kPackage + "SWFlash.ocx"));
}

TEST_F(Wizard, RefusesAProductNameThatWouldLeaveItsFolder) {
  for (const std::string name : {"..\\Evil", "a/b", "C:x", ".", ".."}) {
    WizardRun run;
    SimulatedWindows& machine = run.machine;
    machine.putFile(kPackage + "Data.dat", name + "\r\nSection");
    machine.putFile(kPackage + "Saver.exe");
    machine.putFile("C:\\Evil.scr");  // what "..\\Evil" + ".scr" would reach from the package
    for (const char* kept : {"SWFlash.ocx", "After.txt", "Extras.txt", "Path.dat", "Config.swf", "Config.bmp"})
      machine.putFile(kPackage + kept);
    run.start();
    tk::HeadlessBackend& headless = run.headless;
    tk::Application& application = run.application;
    TfrmInstall* install = run.install;
    const auto before = machine.allPaths();
    ASSERT_EQ(headless.messageTexts().size(), 1u) << name;
    EXPECT_NE(headless.messageTexts()[0].find("product name"), std::string::npos) << name;
    EXPECT_TRUE(install->TimerClose->enabled()) << name;
    EXPECT_EQ(install->InstallDir(), "") << name;
    install->TimerClose->tick();
    EXPECT_TRUE(application.terminated()) << name;
    EXPECT_EQ(machine.allPaths(), before) << name << ": a refused package is left whole";
  }
}

}  // namespace
}  // namespace tsaver::testing
