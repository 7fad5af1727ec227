// The processes of a removal through the real API: a process is waited for only
// while it is the one its identity names, and a program that does not start leaves
// no folder behind and reports so.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "platform/win32/RemovalProcesses.h"
#include "platform/win32/Win32Platform.h"

namespace tsaver {
namespace {

using Clock = std::chrono::steady_clock;

// A process that runs until ended: the command interpreter, held suspended.
struct Child {
  Child() {
    char system[MAX_PATH];
    GetSystemDirectoryA(system, MAX_PATH);
    std::string commandLine = std::string(system) + "\\cmd.exe";
    STARTUPINFOA startup = {};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION info = {};
    if (CreateProcessA(nullptr, &commandLine[0], nullptr, nullptr, FALSE, CREATE_SUSPENDED | CREATE_NO_WINDOW,
                       nullptr, nullptr, &startup, &info)) {
      process = info.hProcess;
      id = info.dwProcessId;
      CloseHandle(info.hThread);
    }
  }
  ~Child() {
    end();
    CloseHandle(process);
  }
  void end() {
    TerminateProcess(process, 0);
    WaitForSingleObject(process, 5000);
  }
  HANDLE process = nullptr;
  DWORD id = 0;
};

struct WaitCase {
  const char* name;
  std::function<std::string(Child&)> identity;
  bool waits;  // until the child is ended, 300 ms on
};

class ProcessWaitTest : public ::testing::TestWithParam<WaitCase> {};

TEST_P(ProcessWaitTest, OnlyTheProcessItsIdentityNamesIsWaitedFor) {
  Child child;
  ASSERT_NE(child.process, nullptr);
  const std::string identity = GetParam().identity(child);
  std::thread ender([&child] {
    Sleep(300);
    child.end();
  });
  Win32Platform platform;
  const Clock::time_point start = Clock::now();
  platform.waitForProcess(identity, 10000);
  const double waited = std::chrono::duration<double>(Clock::now() - start).count();
  ender.join();
  if (GetParam().waits) {
    EXPECT_GE(waited, 0.25) << identity;
    EXPECT_LT(waited, 9.0) << identity << ": the handle, not the limit, ended the wait";
  } else {
    EXPECT_LT(waited, 0.25) << identity;
  }
}

INSTANTIATE_TEST_SUITE_P(
    Identity, ProcessWaitTest,
    ::testing::Values(WaitCase{"running", [](Child& c) { return identityOf(c.process, c.id); }, true},
                      // The id alone may name another process by now: the creation time tells.
                      WaitCase{"idReused", [](Child& c) { return std::to_string(c.id) + ".0123456789abcdef"; }, false},
                      WaitCase{"ended",
                               [](Child& c) {
                                 const std::string identity = identityOf(c.process, c.id);
                                 c.end();
                                 return identity;
                               },
                               false},
                      WaitCase{"malformed", [](Child&) { return std::string("no process"); }, false}),
    [](const auto& info) { return std::string(info.param.name); });

TEST(SelfRemovingProgram, ProgramThatDoesNotStartReportsSoAndItsFolderGoes) {
  Win32Platform platform;
  const std::string folder = platform.temporaryDirectory() + "\\tsaver-test-nostart";
  CreateDirectoryA(folder.c_str(), nullptr);
  const std::string program = folder + "\\UNINSTALL.EXE";

  EXPECT_FALSE(platform.startSelfRemovingProgram(program, platform.currentDirectory(),
                                                 {{"TSAVER_TEST_FIRST", platform.processIdentity()}},
                                                 platform.processIdentity()));
  EXPECT_EQ(GetFileAttributesA(folder.c_str()), INVALID_FILE_ATTRIBUTES) << "the helper removed the empty folder";
}

}  // namespace
}  // namespace tsaver
