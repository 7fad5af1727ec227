#pragma once
// One run of the program at a time, machine-wide: a named mutex that every run
// opens and keeps open for its life. The system closes it with the process, so a
// run ended from outside (End task) blocks no later one, as a lock file would.
#include "platform/win32/Handles.h"

namespace tsaver {

// False when another run has the mutex open already, or when the system refuses this
// process its use (a run of another account). Otherwise true, with the mutex in `held`;
// a mutex the system cannot make at all leaves `held` empty and the run unlocked
// rather than blocked for good.
bool takeRunMutex(UniqueHandle& held);

}  // namespace tsaver
