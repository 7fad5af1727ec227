// The program file's own name decides whether the wizard opens.
#include <gtest/gtest.h>

#include <set>

#include "e2e/ProductPackage.h"
#include "e2e/robot/Package.h"
#include "e2e/robot/Process.h"
#include "e2e/robot/Window.h"

namespace e2e {
namespace {

struct ModeCase {
  const char* programName;
  const char* folder;  // the package's subfolder holding the program, or ""
  bool opensWizard;
};

// Captions of the process's visible top-level windows seen until it ended.
std::set<std::string> visibleWindowsUntilExit(const Process& process) {
  std::set<std::string> seen;
  waitUntil(
      [&] {
        for (const Window& w : topLevelWindows(process.id()))
          if (w.visible()) seen.insert(w.text());
        return !process.running();
      },
      "the program to end");
  return seen;
}

TEST(InstallMode, ProgramFileNameChoosesTheWizard) {
  const ModeCase cases[] = {
      {"INSTALL.EXE", "", true},       {"install.exe", "", true}, {"InStAlL.eXe", "", true},
      {"Install.exe", "UNINSTALL.EXE", true}, {"Setup.exe", "", false},  {"INSTAL.EXE", "", false},
      {"INSTALL.EXE.OLD", "", false},
  };
  int number = 0;
  for (const ModeCase& c : cases) {
    const std::string label = std::string(c.folder) + "\\" + c.programName;
    const std::string product = "E2EMode" + std::to_string(++number);
    Package package(product + (*c.folder ? "\\" + std::string(c.folder) : ""));
    package.copyProgram(c.programName);
    package.write("Data.dat", product + "\r\n");
    Process program = Process::start(package.path(c.programName), package.dir());
    if (c.opensWizard) {
      const Window wizard = waitForWindow(program.id(), kWizardCaption);
      // The title belongs to the application's own hidden window, as a task bar button shows it.
      const Window application = waitForWindow(program.id(), kInstallTitle, false);
      EXPECT_FALSE(application.visible()) << label;
      const Window copying = waitForWindow(program.id(), "Copying files . . .", false);
      EXPECT_FALSE(copying.visible()) << label << ": the copy window waits hidden for the run";
      wizard.close();
      ASSERT_TRUE(program.waitForExit()) << label << ": the close box ends the program";
    } else {
      EXPECT_EQ(visibleWindowsUntilExit(program), std::set<std::string>{}) << label;
    }
    EXPECT_EQ(program.exitCode(), 0u) << label;
  }
}

}  // namespace
}  // namespace e2e
