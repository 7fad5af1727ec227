#pragma once
// One measured round of each side, run in the same Wine prefix.
#include <string>
#include <vector>

#include "Machine.h"

namespace bench {

// The program: from a fresh copy of the payload through the wizard to its end,
// then the installed uninstaller confirmed with "&Yes". Milliseconds.
struct ProgramRound {
  double wizardShown;  // process start until the wizard is visible (wineserver warm)
  double installRun;   // Next on the directory page until the finish page is visible
  double finishStage;  // Finish until the installer process has ended
  double removal;      // "&Yes" until no process named UNINSTALL.EXE is left
  int trayWaits;       // tray programs in the uninstall log, one second's wait each
};
ProgramRound runProgram(const Payload& payload);

// The NSIS peer: its wizard opened and closed, then silent both ways. Milliseconds.
struct PeerRound {
  double wizardShown;  // the installer without the payload, not silent: process start until its page is visible (0: not timed)
  double install;      // "/S" until the installer process has ended
  double removal;  // "Uninstall.exe /S" until it and every process it started have ended
  std::vector<std::string> removalProcesses;  // image names of those processes
};
// An empty peerWizard: its wizard is not timed.
PeerRound runPeer(const std::string& peerInstaller, const std::string& peerWizard, const Payload& payload);

// The packed setup file (saverpkg pack): from its process start until its progress
// window is visible, and until it has ended with the wizard clicked through at once,
// the unpacked folder removed. Milliseconds.
struct PackedRound {
  double windowShown;
  double installed;
};
PackedRound runPacked(const std::string& setupFile, const Payload& payload);

// The one-window program: process start until its window is visible and
// answers a message, in milliseconds; it is closed then.
double runOneWindow(const std::string& program);

}  // namespace bench
