// DLLs and programs planted where packages land (a Downloads folder) and in the user's
// temporary folder, against an installation (the chooser's network button included) and
// a removal through the temporary copy: none is loaded or started, and the copy's folder
// lets no one but Administrators and SYSTEM write.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>
#include <tlhelp32.h>

#include <vector>

#include "e2e/FixtureRecords.h"
#include "e2e/ProductPackage.h"
#include "e2e/WizardSession.h"
#include "e2e/robot/Dialog.h"
#include "e2e/robot/Files.h"
#include "e2e/robot/Process.h"

namespace e2e {
namespace {

using ::testing::AnyOf;
using ::testing::Contains;
using ::testing::Each;
using ::testing::Not;

// What a search by bare name would find first: Windows looks beside the program, then in
// the current directory (the package folder for the installer and what it starts).
struct Planted {
  const char* name;
  const char* fixture;
};
const Planted kPlanted[] = {
    // Loaded by Windows' own DLLs into a windowed program, none of them a KnownDLL.
    {"version.dll", "Planted.dll"},
    {"uxtheme.dll", "Planted.dll"},
    {"dwmapi.dll", "Planted.dll"},
    {"cryptbase.dll", "Planted.dll"},
    {"propsys.dll", "Planted.dll"},
    // Loaded by the program itself at their first call: mpr by the chooser's network button.
    {"mpr.dll", "Planted.dll"},
    {"ole32.dll", "Planted.dll"},
    {"shell32.dll", "Planted.dll"},
    // Started: REGSVR32 by the installation, the command interpreter by the removal.
    {"REGSVR32.EXE", "Planted.exe"},
    {"CMD.EXE", "Planted.exe"},
};

// Wine prefers its built-in DLLs to any file; set native-first, the planted ones are
// looked for as Windows looks for every DLL. Programs started inherit the setting.
std::string nativeFirstOverrides() {
  std::string names;
  for (const Planted& planted : kPlanted) {
    const std::string name = planted.name;
    if (name.size() > 4 && name.compare(name.size() - 4, 4, ".dll") == 0)
      names += (names.empty() ? "" : ",") + name.substr(0, name.size() - 4);
  }
  return "mscoree,mshtml=;" + names + "=n,b";
}

class ScopedVariable {
 public:
  ScopedVariable(const char* name, const std::string& value) : name_(name) {
    char old[4096];
    const DWORD length = GetEnvironmentVariableA(name, old, sizeof old);
    if (length > 0 && length < sizeof old) old_ = std::string(old, length);
    SetEnvironmentVariableA(name, value.c_str());
  }
  ~ScopedVariable() { SetEnvironmentVariableA(name_, old_.empty() ? nullptr : old_.c_str()); }
  ScopedVariable(const ScopedVariable&) = delete;
  ScopedVariable& operator=(const ScopedVariable&) = delete;

 private:
  const char* name_;
  std::string old_;
};

std::string temporaryDir() {
  char buffer[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof buffer, buffer);
  return length > 0 && length < sizeof buffer ? std::string(buffer, length) : std::string("C:\\");
}

// The file the process runs, read from its first module.
std::string programOf(DWORD processId) {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
  MODULEENTRY32 module{};
  module.dwSize = sizeof module;
  const bool found = snapshot != INVALID_HANDLE_VALUE && Module32First(snapshot, &module);
  if (snapshot != INVALID_HANDLE_VALUE) CloseHandle(snapshot);
  if (!found) throw RobotError("cannot read the program of process " + std::to_string(processId));
  return module.szExePath;
}

// A folder's DACL as read back: whether it is protected, every SID it allows anything,
// and those it allows to write, add, delete or change permissions.
struct FolderAccess {
  bool isProtected = false;
  std::vector<std::string> allowed, writers;
};

FolderAccess accessOf(const std::string& folder) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  PACL dacl = nullptr;
  if (GetNamedSecurityInfoA(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                            &descriptor) != ERROR_SUCCESS)
    throw RobotError("cannot read the DACL of " + folder);
  FolderAccess access;
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  access.isProtected = GetSecurityDescriptorControl(descriptor, &control, &revision) && (control & SE_DACL_PROTECTED);
  if (dacl == nullptr) access.writers.push_back("everyone (no DACL)");
  constexpr DWORD kWriting = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES |
                             FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
  for (DWORD i = 0; dacl != nullptr && i < dacl->AceCount; ++i) {
    void* ace = nullptr;
    if (!GetAce(dacl, i, &ace) || static_cast<ACE_HEADER*>(ace)->AceType != ACCESS_ALLOWED_ACE_TYPE) continue;
    auto* const allowed = static_cast<ACCESS_ALLOWED_ACE*>(ace);
    char* sid = nullptr;
    if (!ConvertSidToStringSidA(&allowed->SidStart, &sid)) continue;
    access.allowed.push_back(sid);
    if (allowed->Mask & kWriting) access.writers.push_back(sid);
    LocalFree(sid);
  }
  LocalFree(descriptor);
  return access;
}

// Wine 8 as Debian ships it keeps no DACL of a file: it reads back one made from the Unix
// mode, which the DACL given at creation set. Told by a folder made with a protected one.
bool systemKeepsDacls() {
  const std::string probe = "C:\\e2e\\dacl-probe";
  removePath(probe);
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  if (!ConvertStringSecurityDescriptorToSecurityDescriptorA("D:P(A;;FA;;;WD)", SDDL_REVISION_1, &descriptor, nullptr))
    throw RobotError("cannot make the probe's descriptor");
  SECURITY_ATTRIBUTES attributes{sizeof attributes, descriptor, FALSE};
  const bool made = CreateDirectoryA(probe.c_str(), &attributes);
  LocalFree(descriptor);
  if (!made) throw RobotError("cannot make " + probe);
  const bool kept = accessOf(probe).isProtected;
  removePath(probe);
  return kept;
}

// The planted files in the user's temporary folder, there for the time of a test.
class PlantedInTemp {
 public:
  PlantedInTemp() {
    for (const Planted& planted : kPlanted) copyFile(fixturesDir() + planted.fixture, dir + planted.name);
  }
  ~PlantedInTemp() {
    for (const Planted& planted : kPlanted) DeleteFileA((dir + planted.name).c_str());
  }
  PlantedInTemp(const PlantedInTemp&) = delete;
  PlantedInTemp& operator=(const PlantedInTemp&) = delete;

  const std::string dir = temporaryDir();
};

TEST(SafeStart, PlantedDllsAndProgramsStayUnusedAndTheCopysFolderIsProtected) {
  const char kProduct[] = "E2ESafeStart";
  const std::string installDir = defaultInstallDir(kProduct);
  stopTrayPrograms();
  forgetProduct(kProduct);
  // Installed anew: the installation then starts REGSVR32 twice, once each way.
  removePath(windowsDir() + "\\SWFlash.ocx");
  for (const char* fixture : {"planted", "swflash", "tasktray"}) forgetFixtureRecords(fixture);
  const ScopedVariable overrides("WINEDLLOVERRIDES", nativeFirstOverrides());
  Package package = makeProductPackage(kProduct);
  for (const Planted& planted : kPlanted) package.copyFixture(planted.fixture, planted.name);
  const PlantedInTemp temp;

  {
    WizardSession wizard(package);
    wizard.press("btn_next");
    wizard.waitForVisible("btn_filename");
    const Dialog chooser = [&] {
      const ScopedNetworkProvider provider;
      wizard.press("btn_filename");
      return waitForDialog(wizard.process().id(), "Select Directory");
    }();
    chooser.press("Ne&twork...");
    chooser.press("Cancel");
    waitUntilGone(chooser.window(), "the chooser");
    wizard.press("btn_next");
    wizard.waitForText("btn_next", "&Finish");
    wizard.press("btn_next");
    ASSERT_EQ(wizard.waitForExit(), 0u);
  }
  waitForFixtureRecords("swflash", "DllRegisterServer", 2);  // the system's REGSVR32 ran
  // Ended, or the removal would stop at the tray program's message.
  waitForFixtureRecords("tasktray", "start", 1);
  stopTrayPrograms();
  waitForFixtureRecords("tasktray", "exit", 1);

  Process uninstaller = Process::start(installDir + "\\Uninstall.exe", installDir);
  const DWORD copy = uninstaller.waitForDescendant("UNINSTALL.EXE");
  const Dialog confirmation = waitForDialog(copy, "Confirm");
  const std::string copyProgram = programOf(copy);
  const std::string copyFolder = copyProgram.substr(0, copyProgram.find_last_of('\\'));
  EXPECT_EQ(copyFolder.rfind(temp.dir + "tsv", 0), 0u) << copyFolder;
  const FolderAccess access = accessOf(copyFolder);
  if (systemKeepsDacls()) {
    EXPECT_TRUE(access.isProtected) << "nothing of %TEMP%'s permissions inherited";
    EXPECT_THAT(access.writers, Each(AnyOf("S-1-5-32-544", "S-1-5-18"))) << "only Administrators and SYSTEM write";
  } else {
    // Wine gives every process a full administrator's token (TokenElevation: elevated),
    // so the program makes the protected folder here too. What Wine's Unix mode keeps of
    // that DACL: no access for others. A folder made with %TEMP%'s permissions reads back
    // with Everyone (S-1-1-0) allowed to read and run.
    EXPECT_THAT(access.allowed, Not(Contains("S-1-1-0"))) << "the folder got no DACL of its own";
  }
  confirmation.press("&Yes");
  ASSERT_TRUE(uninstaller.waitForExitWithDescendants());

  for (const FixtureRecord& record : fixtureRecords("planted"))
    ADD_FAILURE() << record.event << ": " << record.module << " in " << record.commandLine;
  EXPECT_FALSE(directoryExists(copyFolder)) << "the copy's folder is removed after it";
  forgetProduct(kProduct);
}

}  // namespace
}  // namespace e2e
