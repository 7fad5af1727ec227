// Start-up: the program file's own name decides whether the wizard opens; what
// the program asks of Windows before it runs, and an error while the wizard is built.
#include <gtest/gtest.h>

#include <set>

#include "e2e/MachineState.h"
#include "e2e/ProductPackage.h"
#include "e2e/robot/Dialog.h"
#include "e2e/robot/Files.h"
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

// Wine ignores the request; Windows reads it from this resource before the program runs.
TEST(InstallMode, ManifestAsksForAdministratorRights) {
  HMODULE program = LoadLibraryExA(installExe().c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE);
  ASSERT_TRUE(program);
  HRSRC found = FindResourceA(program, MAKEINTRESOURCEA(1), MAKEINTRESOURCEA(24));  // RT_MANIFEST, id 1
  ASSERT_TRUE(found);
  const std::string manifest(static_cast<const char*>(LockResource(LoadResource(program, found))),
                             SizeofResource(program, found));
  FreeLibrary(program);
  EXPECT_NE(manifest.find("<requestedExecutionLevel level=\"requireAdministrator\""), std::string::npos) << manifest;
}

// A Shell Folders value of another type, for as long as the test runs.
class MistypedShellFolder {
 public:
  explicit MistypedShellFolder(const char* name) : name_(name), stored_(shellFolder(name)) {
    HKEY key;
    if (RegOpenKeyExA(HKEY_CURRENT_USER, kShellFolders, 0, KEY_SET_VALUE, &key) != ERROR_SUCCESS)
      throw RobotError("cannot open the Shell Folders key");
    const DWORD number = 1;
    RegSetValueExA(key, name_, 0, REG_DWORD, reinterpret_cast<const BYTE*>(&number), sizeof number);
    RegCloseKey(key);
  }
  ~MistypedShellFolder() { setUserRegistryString(kShellFolders, name_, stored_); }
  MistypedShellFolder(const MistypedShellFolder&) = delete;
  MistypedShellFolder& operator=(const MistypedShellFolder&) = delete;

 private:
  static constexpr const char* kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  const char* name_;
  std::string stored_;
};

TEST(InstallMode, AMistypedShellFolderAtStartIsShownAndTheWizardStillOpens) {
  const std::string product = "E2EMistypedFolder";
  Package package(product);
  package.copyProgram("INSTALL.EXE");
  package.write("Data.dat", product + "\r\n");
  const MistypedShellFolder programs("Programs");
  Process program = Process::start(package.path("INSTALL.EXE"), package.dir());
  const Message error = answer(program.id(), kInstallTitle, "OK");
  EXPECT_EQ(error.text, "Invalid data type for 'Programs'.");
  const Window wizard = waitForWindow(program.id(), kWizardCaption);
  wizard.close();
  ASSERT_TRUE(program.waitForExit());
  EXPECT_EQ(program.exitCode(), 0u);
}

}  // namespace
}  // namespace e2e
