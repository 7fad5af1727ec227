// What the simulated machine records rather than does: programs started and system calls.
#include "platform/Paths.h"
#include "platform/simulated/MachineState.h"

namespace tsaver {

void SimulatedWindows::shellExecute(const std::string& file, const std::string& parameters, int show) {
  launches_.push_back(Launch{Launch::ShellExecute, file, parameters, show});
  journal_.push_back("ShellExecuteA(" + file + "," + parameters + "," + std::to_string(show) + ")");
}

void SimulatedWindows::winExec(const std::string& commandLine, int show) {
  launches_.push_back(Launch{Launch::WinExec, commandLine, std::string(), show});
  journal_.push_back("WinExec(" + commandLine + "," + std::to_string(show) + ")");
}

std::string SimulatedWindows::desktopDirectory() { return state_->desktopDir; }

void SimulatedWindows::setScreenSaveActive() { journal_.push_back("SystemParametersInfoA(17,1,0,2)"); }

void SimulatedWindows::startScreenSaver() { journal_.push_back("PostMessageA(desktop,WM_SYSCOMMAND,0xF140,0)"); }

void SimulatedWindows::sleep(unsigned milliseconds) {
  journal_.push_back("Sleep(" + std::to_string(milliseconds) + ")");
  if (onSleep) onSleep(milliseconds);
}

// --- Processes of the removal ---------------------------------------------------------------------

void SimulatedWindows::setTemporaryDirectory(const std::string& path) {
  state_->makeDirectories(path);
  state_->tempDir = path;
}

void SimulatedWindows::setEnvironmentVariable(const std::string& name, const std::string& value) {
  state_->environment[upperAscii(name)] = value;
}

void SimulatedWindows::failProgramStarts(bool fail) { state_->failProgramStarts = fail; }

void SimulatedWindows::failProtectedFolders(bool fail) { state_->failProtectedFolders = fail; }

std::string SimulatedWindows::temporaryDirectory() { return state_->tempDir; }

std::string SimulatedWindows::createProtectedFolder(const std::string& parent) {
  if (state_->failProtectedFolders) return std::string();
  static const char kHex[] = "0123456789abcdef";
  for (;;) {
    std::string name(16, '0');
    for (unsigned long long n = ++state_->protectedFolderDraws, at = 16; n != 0; n >>= 4) name[--at] = kHex[n & 0xF];
    const std::string folder = parent + "\\tsv" + name;
    if (fileExists(folder) || directoryExists(folder)) continue;
    return createDirectory(folder) ? folder : std::string();
  }
}

std::string SimulatedWindows::environmentVariable(const std::string& name) {
  const auto it = state_->environment.find(upperAscii(name));
  return it == state_->environment.end() ? std::string() : it->second;
}

std::string SimulatedWindows::processIdentity() { return "1.5"; }

void SimulatedWindows::waitForProcess(const std::string& identity, unsigned milliseconds) {
  journal_.push_back("WaitForProcess(" + identity + "," + std::to_string(milliseconds) + ")");
}

bool SimulatedWindows::startSelfRemovingProgram(const std::string& program, const std::string& workingDir,
                                                const EnvironmentVariables& variables, const std::string&) {
  if (state_->failProgramStarts) return false;
  std::string entry = "StartSelfRemovingProgram(" + program + "," + workingDir;
  for (const auto& [name, value] : variables) entry += "," + name + "=" + value;
  journal_.push_back(entry + ")");
  return true;
}

void SimulatedWindows::announceStarted(const std::string& value) {
  journal_.push_back("AnnounceStarted(" + value + ")");
}

void SimulatedWindows::holdRunLockElsewhere(bool held) { state_->runLockHeldElsewhere = held; }

bool SimulatedWindows::takeRunLock() {
  journal_.push_back("TakeRunLock");
  return !state_->runLockHeldElsewhere;
}

}  // namespace tsaver
