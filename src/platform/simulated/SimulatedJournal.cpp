// What the simulated machine records rather than does: programs started and system calls.
#include "platform/simulated/MachineState.h"

namespace tsaver {

bool SimulatedWindows::deleteAtReboot(const std::string& path) {
  journal_.push_back("MoveFileExA(" + path + ",DELAY_UNTIL_REBOOT)");
  return true;
}

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

}  // namespace tsaver
