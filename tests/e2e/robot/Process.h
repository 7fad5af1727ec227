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
  std::string image;  // the program's file name
};
// Every running process, through the tool-help snapshot (Wine 8's tasklist prints
// nothing); empty when no snapshot can be taken.
std::vector<RunningProcess> runningProcesses();

class Process {
 public:
  // Starts `exe` with `workingDir` as its current directory and `arguments`
  // after its quoted name; throws RobotError when it cannot start.
  static Process start(const std::string& exe, const std::string& workingDir, const std::string& arguments = "");

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

  // The processes it started, and theirs, are found by their parents' ids, which
  // stay recorded after a parent has ended.
  // The first such process running this image (a file name, "UNINSTALL.EXE"); throws
  // RobotError when none comes within the time-out.
  DWORD waitForDescendant(const std::string& image, Millis timeout = kTimeout) const;
  // False when it or a process descended from it still runs after the time-out.
  bool waitForExitWithDescendants(Millis timeout = kTimeout) const;

 private:
  Process(HANDLE handle, DWORD id) : handle_(handle), id_(id) {}
  HANDLE handle_;
  DWORD id_;
};

}  // namespace e2e
