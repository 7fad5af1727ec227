#include "e2e/robot/Process.h"

#include <tlhelp32.h>

#include <cstring>
#include <map>
#include <vector>

#include "e2e/robot/Files.h"

namespace e2e {

namespace {

// The environment of the program: this one's, with Wine's menu builder off, so
// that shortcuts the program writes make no menu entries on the host.
std::vector<char> programEnvironment() {
  std::vector<char> block;
  char* own = GetEnvironmentStringsA();
  for (const char* entry = own; *entry; entry += strlen(entry) + 1) {
    if (_strnicmp(entry, "WINEDLLOVERRIDES=", 17) == 0) continue;
    block.insert(block.end(), entry, entry + strlen(entry) + 1);
  }
  FreeEnvironmentStringsA(own);
  const std::string overrides = "WINEDLLOVERRIDES=mscoree,mshtml=;winemenubuilder.exe=d";
  block.insert(block.end(), overrides.begin(), overrides.end());
  block.push_back('\0');
  block.push_back('\0');
  return block;
}

unsigned long long creationTime(HANDLE process) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return 0;
  return (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
}

std::vector<RunningProcess> descendantsOf(DWORD rootId, unsigned long long rootCreated) {
  return descendantsIn(runningProcesses(), rootId, rootCreated);
}

}  // namespace

unsigned long long creationTimeOf(DWORD id) {
  const HANDLE process = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, id);
  if (!process) return 0;
  const unsigned long long created = creationTime(process);
  CloseHandle(process);
  return created;
}

std::vector<RunningProcess> runningProcesses() {
  std::vector<RunningProcess> running;
  HANDLE snapshot = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  if (snapshot == INVALID_HANDLE_VALUE) return running;
  PROCESSENTRY32 entry = {};
  entry.dwSize = sizeof entry;
  for (BOOL more = Process32First(snapshot, &entry); more; more = Process32Next(snapshot, &entry))
    running.push_back(
        {entry.th32ProcessID, entry.th32ParentProcessID, entry.szExeFile, creationTimeOf(entry.th32ProcessID)});
  CloseHandle(snapshot);
  return running;
}

std::vector<RunningProcess> descendantsIn(const std::vector<RunningProcess>& running, DWORD rootId,
                                          unsigned long long rootCreated) {
  std::map<DWORD, unsigned long long> family = {{rootId, rootCreated}};
  std::vector<RunningProcess> found;
  for (bool grew = true; grew;) {
    grew = false;
    for (const RunningProcess& p : running) {
      const auto parent = family.find(p.parent);
      if (parent == family.end() || p.created < parent->second || !family.emplace(p.id, p.created).second) continue;
      found.push_back(p);
      grew = true;
    }
  }
  return found;
}

Process Process::start(const std::string& exe, const std::string& workingDir, const std::string& arguments) {
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  std::string commandLine = "\"" + exe + "\"" + (arguments.empty() ? "" : " " + arguments);
  std::vector<char> environment = programEnvironment();
  if (!CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, environment.data(),
                      workingDir.c_str(), &startup, &info))
    throw RobotError("cannot start " + exe + ", error " + std::to_string(GetLastError()));
  CloseHandle(info.hThread);
  return Process(info.hProcess, info.dwProcessId);
}

Process Process::open(DWORD id) {
  HANDLE handle = OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION | PROCESS_TERMINATE, FALSE, id);
  if (!handle) throw RobotError("cannot open process " + std::to_string(id) + ", error " + std::to_string(GetLastError()));
  return Process(handle, id);
}

Process::Process(Process&& other) noexcept : handle_(other.handle_), id_(other.id_) { other.handle_ = nullptr; }

Process::~Process() {
  if (!handle_) return;
  kill();
  CloseHandle(handle_);
}

bool Process::running() const { return WaitForSingleObject(handle_, 0) == WAIT_TIMEOUT; }

bool Process::waitForExit(Millis timeout) const {
  return WaitForSingleObject(handle_, static_cast<DWORD>(timeout.count())) == WAIT_OBJECT_0;
}

void Process::waitForInputIdle(Millis timeout) const {
  if (WaitForInputIdle(handle_, static_cast<DWORD>(timeout.count())) != 0)
    throw RobotError("process " + std::to_string(id_) + " did not come to wait for input");
}

DWORD Process::exitCode() const {
  DWORD code = STILL_ACTIVE;
  if (running() || !GetExitCodeProcess(handle_, &code))
    throw RobotError("process " + std::to_string(id_) + " has not ended");
  return code;
}

void Process::kill() {
  if (!running()) return;
  TerminateProcess(handle_, 255);
  WaitForSingleObject(handle_, 5000);
}

DWORD Process::waitForDescendant(const std::string& image, Millis timeout) const {
  const unsigned long long created = creationTime(handle_);
  return waitUntil(
      [&]() -> DWORD {
        for (const RunningProcess& p : descendantsOf(id_, created))
          if (_stricmp(p.image.c_str(), image.c_str()) == 0) return p.id;
        return 0;
      },
      "a process " + image + " started by process " + std::to_string(id_), timeout);
}

std::string outputOf(const std::string& exe, const std::string& arguments, const std::string& workingDir,
                     const std::string& outputFile, Millis timeout) {
  SECURITY_ATTRIBUTES inheritable = {sizeof inheritable, nullptr, TRUE};
  HANDLE output = CreateFileA(outputFile.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, &inheritable,
                              CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr);
  if (output == INVALID_HANDLE_VALUE) throw RobotError("cannot write " + outputFile);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESTDHANDLES;
  startup.hStdInput = GetStdHandle(STD_INPUT_HANDLE);
  startup.hStdOutput = output;
  startup.hStdError = output;
  PROCESS_INFORMATION info = {};
  std::string commandLine = "\"" + exe + "\" " + arguments;
  const BOOL started = CreateProcessA(exe.c_str(), &commandLine[0], nullptr, nullptr, TRUE, 0, nullptr,
                                      workingDir.c_str(), &startup, &info);
  CloseHandle(output);
  if (!started) throw RobotError("cannot start " + exe + ", error " + std::to_string(GetLastError()));
  CloseHandle(info.hThread);
  const DWORD waited = WaitForSingleObject(info.hProcess, static_cast<DWORD>(timeout.count()));
  if (waited != WAIT_OBJECT_0) TerminateProcess(info.hProcess, 255);
  CloseHandle(info.hProcess);
  if (waited != WAIT_OBJECT_0) throw RobotError(exe + " " + arguments + " did not end");
  return readFile(outputFile);
}

bool Process::waitForExitWithDescendants(Millis timeout) const {
  try {
    const unsigned long long created = creationTime(handle_);
    waitUntil([&] { return !running() && descendantsOf(id_, created).empty(); },
              "process " + std::to_string(id_) + " and those it started to end", timeout);
    return true;
  } catch (const RobotError&) {
    return false;
  }
}

}  // namespace e2e
