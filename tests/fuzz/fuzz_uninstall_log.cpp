// The uninstall log as the removal reads it: any bytes as UNINSTALL.INI in the
// install directory of a simulated machine that holds an installed product and
// things of other programs. Every probe of the removal is answered by its own
// reading (the key listing) as by the simulated Windows; then the removal runs,
// and whatever the log says, nothing of another program may go.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "RemovalProbes.h"
#include "app/Startup.h"
#include "platform/Paths.h"
#include "platform/SimulatedWindows.h"
#include "toolkit/Application.h"
#include "toolkit/HeadlessBackend.h"
#include "uninstall_log/SettingsFile.h"
#include "uninstaller/uninstall1.h"

namespace {

using namespace tsaver;

const std::string kInstallDir = "C:\\Program Files\\Tessaryn\\Screen Saver";
const std::string kRunKey = "Software\\Microsoft\\Windows\\CurrentVersion\\Run";
const std::string kGroup = "C:\\WINDOWS\\Start Menu\\Programs\\Tessaryn screen saver";
// Of other programs: no log value of a form the removal acts on can name them.
const char* const kOthersFiles[] = {"C:\\Other\\keep.txt", "C:\\WINDOWS\\keep.dll", "C:\\WINDOWS\\Other.exe",
                                    "C:\\Program Files\\Tessaryn\\keep.txt"};
const std::string kOthersRunValue = "Other";

void installProduct(SimulatedWindows& machine) {
  machine.putFile(kInstallDir + "\\Uninstall.exe", "program");
  for (const char* name : {"Movie.swf", "TaskTray.exe", "Data.dat", "Saver.exe"})
    machine.putFile(kInstallDir + "\\" + name, "product");
  machine.putFile("C:\\WINDOWS\\Tessaryn.scr", "saver");
  machine.putFile("C:\\WINDOWS\\Desktop\\Tessaryn screen saver.lnk", "link");
  machine.putFile(kGroup + "\\Uninstall.lnk", "link");
  machine.putRegistryValue(kRunKey, "Tessaryn screen saver", "\"" + kInstallDir + "\\TaskTray.exe\"");
  machine.writeProfileString("Tessaryn", std::string("DataPath"), kInstallDir, "TSaver.ini");
  machine.writeProfileString("boot", std::string("SCRNSAVE.EXE"), "C:\\WINDOWS\\Tessaryn.scr", "System.ini");
  for (const char* path : kOthersFiles) machine.putFile(path, "other");
  machine.putRegistryValue(kRunKey, kOthersRunValue, "\"C:\\Other\\other.exe\"");
  machine.writeProfileString("boot", std::string("shell"), "explorer.exe", "System.ini");
  machine.writeProfileString("Other", std::string("k"), "v", "win.ini");
  machine.setCurrentDirectory(kInstallDir);
}

// A probe beyond the first numbers whose key is nowhere in the text cannot be named
// by any line: the file would give the default, at the cost of a parse of the whole
// file. Those are left to the differential check against the platform.
bool worthAsking(const std::string& upperText, const differential::Probe& probe) {
  constexpr int kAlwaysAsked = 20;
  const auto digits = probe.key.find_first_of("0123456789");
  return digits == std::string::npos || std::stoi(probe.key.substr(digits)) <= kAlwaysAsked ||
         upperText.find(probe.key) != std::string::npos;
}

void requireSameAnswers(SimulatedWindows& machine, const std::string& log, const std::string& content) {
  const std::string text = upperAscii(content);
  SettingsFile logFile(machine);
  logFile.Open(log);
  for (const auto& probe : differential::removalProbes()) {
    const std::string own = logFile.ReadString(probe.section, probe.key, probe.defaultValue);
    if (worthAsking(text, probe) && own != machine.getProfileString(probe.section, probe.key, probe.defaultValue, log))
      std::abort();
  }
}

void runRemoval(SimulatedWindows& machine) {
  tk::HeadlessBackend ui(machine);
  ui.answerConfirm(true);
  tk::Application app(ui);
  app.setTitle(kUninstallTitle);
  TfrmUninstall* uninstall = nullptr;
  app.createForm(uninstall, machine);
  app.run();
  if (uninstall->Timer->enabled()) uninstall->Timer->tick();
}

void requireOthersKept(SimulatedWindows& machine) {
  for (const char* path : kOthersFiles)
    if (!machine.fileExists(path)) std::abort();
  if (!machine.registryValue(kRunKey, kOthersRunValue)) std::abort();
  if (machine.getProfileString("boot", "shell", "", "System.ini") != "explorer.exe") std::abort();
  if (machine.getProfileString("Other", "k", "", "win.ini") != "v") std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  SimulatedWindows machine;
  installProduct(machine);
  const std::string log = kInstallDir + "\\UNINSTALL.INI";
  machine.putFile(log, std::string(reinterpret_cast<const char*>(data), size));
  requireSameAnswers(machine, log, std::string(reinterpret_cast<const char*>(data), size));
  runRemoval(machine);
  requireOthersKept(machine);
  return 0;
}
