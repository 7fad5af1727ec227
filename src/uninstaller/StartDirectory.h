#pragma once
// The removal works relative to its current directory, which its Start-menu link makes
// the install directory. Windows starts it from the list of installed programs in a
// directory of its own choosing (System32, or the caller's), and so may a command
// prompt or a file manager that keeps its own.
#include "platform/Platform.h"

namespace tsaver {

// In uninstall mode, before anything else: when the current directory holds no
// uninstall log and the program's own folder does, that folder becomes the current
// directory. Otherwise, or when it cannot be entered, the current directory stays.
void enterStartDirectory(Platform& platform);

}  // namespace tsaver
