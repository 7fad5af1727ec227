#pragma once
// Waiting for processes that the timer did not start itself: a program that
// hands its work to a copy of itself ends long before the work does.
#include <windows.h>

#include <string>
#include <vector>

#include "e2e/robot/Wait.h"

namespace bench {

// Waits until no process of this image name (any letter case) runs, by
// waiting on the handles of those that do and then looking again; throws
// RobotError after `timeout`.
void waitUntilNoProcessNamed(const std::string& image, e2e::Millis timeout);

// Waits until the process `root` and every process started from it, or from
// those, have ended; throws RobotError after `timeout`. Gives the image names
// of the processes waited for, in the order first seen. A grandchild whose
// parent ended unseen between two looks is missed. A process is told by its id
// and its start, so that a later process given an ended one's id is not waited for.
std::vector<std::string> waitForProcessTree(DWORD root, e2e::Millis timeout);

}  // namespace bench
