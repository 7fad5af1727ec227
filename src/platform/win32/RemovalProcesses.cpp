#include "platform/win32/RemovalProcesses.h"

#include <cstring>
#include <string>
#include <vector>

#include "platform/Paths.h"
#include "platform/win32/SafeStart.h"

namespace tsaver {

namespace {

// The started program cannot delete its own file while it runs, nor remove the folder
// that holds it, so something that outlives it must. The reboot queue needs an
// administrator on Windows and a reboot. A file opened for delete on close goes with its
// last handle, but a folder does not: under Wine the folder's handle closed before the
// file was gone, and the folder stayed. The command interpreter, part of every Windows
// and of Wine, can wait instead: "start /wait" waits on the program's process handle,
// then "del" and "rd" remove its file and its folder with the user's own rights.
// The paths reach it as environment variables, never on its command line: a value is
// expanded once and not parsed again for "%", and its "&" or "^" stay text inside the
// quotes. /d keeps the user's AutoRun commands out, /v:off their "!" expansion.
constexpr char kProgramVariable[] = "TSAVER_COPY";
constexpr char kFolderVariable[] = "TSAVER_COPY_FOLDER";
constexpr char kWorkingDirVariable[] = "TSAVER_COPY_START_DIR";
constexpr char kHelperArguments[] =
    " /d /v:off /s /c \"start \"\" /wait /d \"%TSAVER_COPY_START_DIR%\" \"%TSAVER_COPY%\""
    " & del \"%TSAVER_COPY%\" & rd \"%TSAVER_COPY_FOLDER%\"\"";

// The event by which the started program tells its starter that it runs.
std::string startedEventName(const std::string& value) { return "TSaverRemovalStarted." + value; }

bool sameName(const char* entry, const std::string& name) {
  return _strnicmp(entry, name.c_str(), name.size()) == 0 && entry[name.size()] == '=';
}

// This process's environment with the variables set to the values given (added or replaced).
std::vector<char> environmentWith(const EnvironmentVariables& variables) {
  std::vector<char> block;
  char* own = GetEnvironmentStringsA();
  for (const char* entry = own; entry && *entry; entry += std::strlen(entry) + 1) {
    bool replaced = false;
    for (const auto& variable : variables) replaced = replaced || sameName(entry, variable.first);
    if (!replaced) block.insert(block.end(), entry, entry + std::strlen(entry) + 1);
  }
  if (own) FreeEnvironmentStringsA(own);
  for (const auto& [name, value] : variables) {
    const std::string entry = name + "=" + value;
    block.insert(block.end(), entry.c_str(), entry.c_str() + entry.size() + 1);
  }
  block.push_back('\0');
  return block;
}

}  // namespace

std::string identityOf(HANDLE process, DWORD id) {
  FILETIME created, exited, kernel, user;
  if (!GetProcessTimes(process, &created, &exited, &kernel, &user)) return std::string();
  const unsigned long long startTime =
      (static_cast<unsigned long long>(created.dwHighDateTime) << 32) | created.dwLowDateTime;
  return std::to_string(id) + "." + std::to_string(startTime);
}

UniqueHandle openIdentifiedProcess(const std::string& identity) {
  // The process id: the digits before the first ".".
  const std::string::size_type digits = identity.find_first_not_of("0123456789");
  if (digits == 0 || digits == std::string::npos || digits > 10) return UniqueHandle();
  unsigned long long number = 0;
  for (std::string::size_type i = 0; i < digits; ++i) number = number * 10 + (identity[i] - '0');
  const DWORD id = static_cast<DWORD>(number);
  UniqueHandle process(OpenProcess(SYNCHRONIZE | PROCESS_QUERY_INFORMATION, FALSE, id));
  if (process.valid() && identityOf(process.get(), id) != identity) process.reset();
  return process;
}

bool startUnderRemovingHelper(const std::string& program, const std::string& workingDir,
                              const EnvironmentVariables& variables, const std::string& announcement) {
  const std::string interpreter = systemProgramPath("cmd.exe");
  std::string folder = directoryPart(program);
  if (!folder.empty() && folder.back() == '\\') folder.pop_back();
  const UniqueHandle started(CreateEventA(nullptr, TRUE, FALSE, startedEventName(announcement).c_str()));
  if (!started.valid()) return false;
  EnvironmentVariables added = variables;
  added.insert(added.end(),
               {{kProgramVariable, program}, {kFolderVariable, folder}, {kWorkingDirVariable, workingDir}});
  std::vector<char> environment = environmentWith(added);
  std::string commandLine = "\"" + interpreter + "\"" + kHelperArguments;
  // The helper's own current directory is neither the one it removes nor the one the program removes.
  const std::string helperDir = directoryPart(folder);
  STARTUPINFOA startup = {};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION info = {};
  if (!CreateProcessA(interpreter.c_str(), &commandLine[0], nullptr, nullptr, FALSE, CREATE_NO_WINDOW,
                      environment.data(), helperDir.c_str(), &startup, &info))
    return false;
  const UniqueHandle helper(info.hProcess);
  CloseHandle(info.hThread);
  // The helper ends early only when the program did not run; it has then removed the copy already.
  const HANDLE either[] = {started.get(), helper.get()};
  return WaitForMultipleObjects(2, either, FALSE, INFINITE) == WAIT_OBJECT_0;
}

void announceToStarter(const std::string& value) {
  const UniqueHandle started(OpenEventA(EVENT_MODIFY_STATE, FALSE, startedEventName(value).c_str()));
  if (started.valid()) SetEvent(started.get());
}

}  // namespace tsaver
