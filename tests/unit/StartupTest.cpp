#include <gtest/gtest.h>

#include "app/Startup.h"
#include "platform/SimulatedWindows.h"
#include "toolkit/HeadlessBackend.h"

namespace tsaver {
namespace {

TEST(Startup, ModeComesFromTheFileNameAlone) {
  const std::vector<std::pair<std::string, Mode>> cases = {
      {"C:\\PKG\\INSTALL.EXE", Mode::Install},
      {"C:\\PKG\\install.exe", Mode::Install},
      {"C:\\PKG\\InStAlL.ExE", Mode::Install},
      {"C:INSTALL.EXE", Mode::Install},
      {"INSTALL.EXE", Mode::Install},
      {"C:\\UNINSTALL.EXE\\Install.exe", Mode::Install},
      {"C:\\Program Files\\T\\Uninstall.exe", Mode::Uninstall},
      {"C:\\x\\uninstall.EXE", Mode::Uninstall},
      {"C:\\PKG\\Setup.exe", Mode::None},
      {"C:\\PKG\\INSTAL.EXE", Mode::None},
      {"C:\\PKG\\INSTALL.EXE.OLD", Mode::None},
      {"C:\\PKG\\INSTALL~1.EXE", Mode::None},
      {"C:\\PKG\\INSTALL.EXE ", Mode::None},
      {"C:\\PKG\\\xcdNSTALL.EXE", Mode::None},  // an accented capital I is no ASCII letter
      {"C:\\PKG\\\xedNSTALL.EXE", Mode::None},
      {"", Mode::None},
  };
  for (const auto& [path, mode] : cases) EXPECT_EQ(modeFor(path), mode) << path;
}

TEST(Startup, InstallModeCreatesTheWizardAndAHiddenCopyWindow) {
  SimulatedWindows win;
  win.setModuleFileName("C:\\PKG\\Install.exe");
  win.putFile("C:\\PKG\\Data.dat", "Tessaryn");
  tk::HeadlessBackend ui(win);
  tk::Application app(ui);
  EXPECT_EQ(runProgram(win, app), 0);
  ASSERT_NE(app.mainForm(), nullptr);
  EXPECT_EQ(app.mainForm()->name(), "frmInstall");
  EXPECT_TRUE(app.mainForm()->visible());
  EXPECT_EQ(ui.title(), "Tessaryn Saver Install");
  EXPECT_EQ(ui.icon(), "WIZARDICON");
}

TEST(Startup, OtherNamesOpenNothing) {
  SimulatedWindows win;
  win.setModuleFileName("C:\\PKG\\Setup.exe");
  win.putFile("C:\\PKG\\Data.dat", "Tessaryn");
  tk::HeadlessBackend ui(win);
  tk::Application app(ui);
  EXPECT_EQ(runProgram(win, app), 0);
  EXPECT_EQ(app.mainForm(), nullptr);
  EXPECT_EQ(ui.title(), "");
  EXPECT_TRUE(win.fileExists("C:\\PKG\\Data.dat"));
}

TEST(Startup, UninstallModeShowsTheDefaultApplicationIcon) {
  SimulatedWindows win;
  win.setModuleFileName("C:\\T\\Uninstall.exe");
  win.setCurrentDirectory("C:\\");
  tk::HeadlessBackend ui(win);
  tk::Application app(ui);
  EXPECT_EQ(runProgram(win, app), 0);
  ASSERT_NE(app.mainForm(), nullptr);
  EXPECT_EQ(app.mainForm()->name(), "frmUninstall");
  EXPECT_EQ(ui.title(), "Tessaryn Saver Un-Install");
  EXPECT_EQ(ui.icon(), "") << "the window has none, so the system's default shows";
}

TEST(Startup, WhileAnotherRunHoldsTheLockNeitherModeOpensOrChangesAnything) {
  for (const char* program : {"C:\\PKG\\Install.exe", "C:\\PKG\\Uninstall.exe"}) {
    SimulatedWindows win;
    win.setModuleFileName(program);
    win.putFile("C:\\PKG\\Data.dat", "Tessaryn");
    win.putFile("C:\\PKG\\UNINSTALL.INI");
    win.setCurrentDirectory("C:\\PKG");
    // The copy of a removal takes the lock itself, in its own folder.
    win.setEnvironmentVariable("TSAVER_FIRST_PROCESS", "7.1234");
    win.setEnvironmentVariable("TSAVER_START_DIR", "C:\\Elsewhere");
    win.holdRunLockElsewhere();
    tk::HeadlessBackend ui(win);
    tk::Application app(ui);
    EXPECT_EQ(runProgram(win, app), 0);
    EXPECT_EQ(app.mainForm(), nullptr) << program;
    EXPECT_EQ(ui.messageTexts(),
              std::vector<std::string>{
                  "Another installation or removal is running. Please try again once it has finished."})
        << program;
    EXPECT_EQ(ui.othersBroughtToFront(), 1) << program;
    EXPECT_TRUE(win.fileExists("C:\\PKG\\Data.dat")) << program;
    EXPECT_EQ(win.currentDirectory(), "C:\\PKG") << program;
  }
}

}  // namespace
}  // namespace tsaver
