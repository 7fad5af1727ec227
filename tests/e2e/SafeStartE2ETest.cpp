// DLLs and programs planted where packages land and in %TEMP% stay unloaded and
// unstarted through an installation (network button included) and a removal through
// the temporary copy, whose folder lets no one but Administrators and SYSTEM write.
#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <windows.h>

#include <aclapi.h>
#include <sddl.h>
#include <tlhelp32.h>

#include "e2e/FixtureRecords.h"
#include "e2e/ProductPackage.h"
#include "e2e/WizardSession.h"
#include "e2e/robot/Files.h"

namespace e2e {
namespace {

using ::testing::AnyOf;
using ::testing::Contains;
using ::testing::Each;
using ::testing::Not;

// Found first by a search that starts beside the program or in the current directory:
// DLLs that Windows' own DLLs load by name, the three the program delay-loads, and the
// programs that the installation (REGSVR32) and the removal (the interpreter) start.
// Wine keeps its own version.dll and ole32.dll all the same (see the ctest entries).
const char* const kPlanted[] = {"version.dll", "uxtheme.dll", "dwmapi.dll",  "cryptbase.dll", "propsys.dll",
                                "mpr.dll",     "ole32.dll",   "shell32.dll", "REGSVR32.EXE",  "CMD.EXE"};
// The planted files in the package and in %TEMP%, for one test.
struct Planted {
  explicit Planted(Package& package) {
    char buffer[MAX_PATH + 1];
    temp.assign(buffer, GetTempPathA(sizeof buffer, buffer));
    for (const std::string name : kPlanted) {
      const std::string fixture = name.find(".dll") != std::string::npos ? "Planted.dll" : "Planted.exe";
      package.copyFixture(fixture, name);
      copyFile(fixturesDir() + fixture, temp + name);
    }
  }
  ~Planted() {
    for (const std::string name : kPlanted) DeleteFileA((temp + name).c_str());
  }
  std::string temp;
};

// The file that the process runs: its first module.
std::string programOf(DWORD processId) {
  const HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPMODULE, processId);
  MODULEENTRY32 module{};
  module.dwSize = sizeof module;
  const bool found = snapshot != INVALID_HANDLE_VALUE && Module32First(snapshot, &module);
  if (snapshot != INVALID_HANDLE_VALUE) CloseHandle(snapshot);
  if (!found) throw RobotError("no program of process " + std::to_string(processId));
  return module.szExePath;
}

// A folder's DACL read back: protected or not, the SIDs it allows anything and those it lets write.
struct Access {
  bool isProtected = false;
  std::vector<std::string> allowed, writers;
};
Access accessOf(const std::string& folder) {
  PSECURITY_DESCRIPTOR descriptor = nullptr;
  PACL dacl = nullptr;
  if (GetNamedSecurityInfoA(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &dacl, nullptr,
                            &descriptor) != ERROR_SUCCESS || dacl == nullptr)
    throw RobotError("no DACL to read from " + folder);
  Access access;
  SECURITY_DESCRIPTOR_CONTROL control = 0;
  DWORD revision = 0;
  access.isProtected = GetSecurityDescriptorControl(descriptor, &control, &revision) && (control & SE_DACL_PROTECTED);
  constexpr DWORD kWriting = FILE_WRITE_DATA | FILE_APPEND_DATA | FILE_WRITE_EA | FILE_WRITE_ATTRIBUTES |
                             FILE_DELETE_CHILD | DELETE | WRITE_DAC | WRITE_OWNER | GENERIC_WRITE | GENERIC_ALL;
  ACCESS_ALLOWED_ACE* ace = nullptr;
  char* sid = nullptr;
  for (DWORD i = 0; i < dacl->AceCount; ++i) {
    if (!GetAce(dacl, i, reinterpret_cast<void**>(&ace)) || ace->Header.AceType != ACCESS_ALLOWED_ACE_TYPE ||
        !ConvertSidToStringSidA(&ace->SidStart, &sid))
      continue;
    access.allowed.push_back(sid);
    if (ace->Mask & kWriting) access.writers.push_back(sid);
    LocalFree(sid);
  }
  LocalFree(descriptor);
  return access;
}

bool underWine() { return GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version") != nullptr; }

TEST(SafeStart, PlantedDllsAndProgramsStayUnusedAndTheCopysFolderIsProtected) {
  // Wine prefers its built-in DLLs to the files a search finds, unless they are set
  // native-first for the whole run, as the ctest entries e2e_safe_start* do.
  if (underWine() && GetEnvironmentVariableA("TSAVER_NATIVE_FIRST", nullptr, 0) == 0)
    GTEST_SKIP() << "run by the ctest entries e2e_safe_start*";
  const char kProduct[] = "E2ESafeStart";
  stopTrayPrograms();
  forgetProduct(kProduct);
  removePath(windowsDir() + "\\SWFlash.ocx");  // installed anew: REGSVR32 starts twice, once each way
  for (const char* fixture : {"planted", "swflash", "tasktray"}) forgetFixtureRecords(fixture);
  Package package = makeProductPackage(kProduct);
  const Planted planted(package);

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
  waitForFixtureRecords("swflash", "DllRegisterServer", 2);
  waitForFixtureRecords("tasktray", "start", 1);
  stopTrayPrograms();  // or the removal would stop at the tray program's message
  waitForFixtureRecords("tasktray", "exit", 1);

  const std::string installDir = defaultInstallDir(kProduct);
  const Process uninstaller = Process::start(installDir + "\\Uninstall.exe", installDir);
  const DWORD copy = uninstaller.waitForDescendant("UNINSTALL.EXE");
  const Dialog confirmation = waitForDialog(copy, "Confirm");
  const std::string program = programOf(copy);
  const std::string folder = program.substr(0, program.find_last_of('\\'));
  EXPECT_EQ(folder.rfind(planted.temp + "tsv", 0), 0u) << folder;
  const Access access = accessOf(folder);
  // Wine gives every process a full administrator's token (TokenElevation: elevated), so
  // the protected folder is made here too; but it keeps no DACL of a file and reads back
  // one made from the Unix mode, which keeps of it that others get nothing. A folder with
  // %TEMP%'s permissions reads back there with Everyone (S-1-1-0) allowed to read and run.
  if (underWine()) {
    EXPECT_THAT(access.allowed, Not(Contains("S-1-1-0"))) << folder << " got no DACL of its own";
  } else {
    EXPECT_TRUE(access.isProtected) << "nothing of %TEMP%'s permissions inherited";
    EXPECT_THAT(access.writers, Each(AnyOf("S-1-5-32-544", "S-1-5-18")));
  }
  confirmation.press("&Yes");
  ASSERT_TRUE(uninstaller.waitForExitWithDescendants());

  for (const FixtureRecord& record : fixtureRecords("planted"))
    ADD_FAILURE() << record.event << ": " << record.module << " in " << record.commandLine;
  EXPECT_FALSE(directoryExists(folder)) << "removed after the copy";
}

}  // namespace
}  // namespace e2e
