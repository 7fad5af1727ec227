#include "platform/win32/RunLock.h"

namespace tsaver {

namespace {
// "Global\": one namespace for every session of the machine, so that a run in another
// user's session (fast user switching, a remote desktop) counts too.
constexpr char kRunMutexName[] = "Global\\TessarynSaverSetup.OneRun";
}  // namespace

bool takeRunMutex(UniqueHandle& held) {
  // Not inheritable: a program the run starts (the tray program) must not keep it.
  UniqueHandle mutex(CreateMutexA(nullptr, FALSE, kRunMutexName));
  const DWORD error = GetLastError();
  if (!mutex.valid()) return error != ERROR_ACCESS_DENIED;
  // Its existence is the lock, not its ownership: no wait, and no abandoned state to read.
  if (error == ERROR_ALREADY_EXISTS) return false;
  held = std::move(mutex);
  return true;
}

}  // namespace tsaver
