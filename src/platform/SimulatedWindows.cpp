#include "platform/SimulatedWindows.h"

#include "platform/simulated/MachineState.h"

namespace tsaver {

// The machine every test starts from; each concern lives in platform/simulated/.
SimulatedWindows::SimulatedWindows() : state_(std::make_shared<State>()) {
  addDrive('C');
  putDirectory("C:\\WINDOWS");
  putDirectory("C:\\WINDOWS\\Desktop");
  putDirectory("C:\\WINDOWS\\Start Menu\\Programs");
  putFile("C:\\INSTALL.EXE");
  const std::string shellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  putRegistryValue(shellFolders, "Programs", "C:\\WINDOWS\\Start Menu\\Programs");
  putRegistryValue(shellFolders, "Desktop", "C:\\WINDOWS\\Desktop");
}

}  // namespace tsaver
