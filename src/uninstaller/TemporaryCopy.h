#pragma once
// A running program cannot delete its own file, nor the directory that holds it.
// So the uninstaller, started from the install directory, hands the removal to a
// copy of itself in a fresh folder under the user's temporary folder; the copy
// deletes the original once the first process has ended, and a helper removes the
// copy and its folder once the copy has ended.
#include <string>

#include "platform/Platform.h"

namespace tsaver {

// How the copy learns which process to wait for, and where that one started: the
// copy takes no arguments.
inline constexpr const char* kFirstProcessVariable = "TSAVER_FIRST_PROCESS";
inline constexpr const char* kStartDirectoryVariable = "TSAVER_START_DIR";
// The copy's file name, which keeps it in uninstall mode.
inline constexpr const char* kTemporaryCopyName = "UNINSTALL.EXE";

// In uninstall mode, before any window: true when a copy now runs the removal and this
// process is to end at once. False in the copy itself, and when the copy could not be
// made or started (nothing of it is left then): the removal runs in this process.
bool handOffToTemporaryCopy(Platform& platform);

// In the copy, once it holds the run lock: makes the first process's start directory
// current. The copy starts in its own folder, so that a copy that is refused, or that
// ends early, never stands in the folder a removal is emptying. Nothing elsewhere.
void enterFirstProcessStartDirectory(Platform& platform);

// In the copy, before it deletes the original: waits until the first process has ended.
// Returns at once when the removal runs in the first process itself.
void waitForFirstProcess(Platform& platform);

}  // namespace tsaver
