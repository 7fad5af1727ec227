#pragma once
// A program started by a test. It is killed when the wrapper goes, so that a
// failing test leaves no program behind.
#include <windows.h>

#include <string>
#include <vector>

#include "e2e/robot/Wait.h"

namespace e2e {

struct RunningProcess {
  DWORD id, parent;
  std::string image;           // the program's file name
  unsigned long long created;  // its creation time; 0 when it cannot be read
};

// Every running process, through the tool-help snapshot (Wine 8's tasklist prints
// nothing); empty when no snapshot can be taken.
std::vector<RunningProcess> runningProcesses();
// When the process with this id began; 0 when that cannot be read.
unsigned long long creationTimeOf(DWORD id);

// Those of `running` descended from the root, however many generations down. An id is
// given again once its process has gone (by Wine's server too, after a few hundred), while
// a process keeps naming a parent long gone: Wine's services.exe names the program that
// made the prefix. So a process counts only if it began after the parent it names.
std::vector<RunningProcess> descendantsIn(const std::vector<RunningProcess>& running, DWORD rootId,
                                          unsigned long long rootCreated);

// Runs the program with `arguments` after its quoted name in `workingDir` until it ends and
// gives what it wrote to its standard output, through a file (`outputFile`, replaced):
// Wine's helper processes inherit a pipe and keep it open. Throws RobotError when it cannot
// start or does not end within the time-out.
std::string outputOf(const std::string& exe, const std::string& arguments, const std::string& workingDir,
                     const std::string& outputFile, Millis timeout = kTimeout);

class Process {
 public:
  // Starts `exe` with `workingDir` as its current directory and `arguments`
  // after its quoted name; throws RobotError when it cannot start.
  static Process start(const std::string& exe, const std::string& workingDir, const std::string& arguments = "");

  // A running process that another program started; throws RobotError when it has gone.
  static Process open(DWORD id);

  Process(Process&& other) noexcept;
  Process& operator=(Process&&) = delete;
  Process(const Process&) = delete;
  ~Process();

  DWORD id() const { return id_; }
  bool running() const;
  // False when the time-out passed first.
  bool waitForExit(Millis timeout = kTimeout) const;
  // Until it waits for input with nothing queued: a program may make windows
  // after its first one shows. Throws RobotError when the time-out passes first.
  void waitForInputIdle(Millis timeout = kTimeout) const;
  // Throws RobotError when the process has not ended.
  DWORD exitCode() const;
  void kill();

  // The first process running this image (a file name, "UNINSTALL.EXE") among those that
  // this one started, and theirs; found by their parents' ids, which stay recorded after a
  // parent has ended. Throws RobotError when none comes within the time-out.
  DWORD waitForDescendant(const std::string& image, Millis timeout = kTimeout) const;
  // False when it or a process descended from it still runs after the time-out.
  bool waitForExitWithDescendants(Millis timeout = kTimeout) const;

 private:
  Process(HANDLE handle, DWORD id) : handle_(handle), id_(id) {}
  HANDLE handle_;
  DWORD id_;
};

}  // namespace e2e
