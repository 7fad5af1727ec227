#pragma once
// The processes of a removal: the first one names itself, the temporary copy
// waits for it, and a helper removes the copy after it has ended.
#include <windows.h>

#include <string>

#include "platform/Platform.h"
#include "platform/win32/Handles.h"

namespace tsaver {

// "<id>.<creation time in hex>"; empty when the creation time cannot be read.
std::string identityOf(HANDLE process, DWORD id);
// A handle to wait on, or an empty one when that process has gone (its id may name another by now).
UniqueHandle openIdentifiedProcess(const std::string& identity);

// See Platform::startSelfRemovingProgram and Platform::announceStarted.
bool startUnderRemovingHelper(const std::string& program, const std::string& workingDir,
                              const EnvironmentVariables& variables, const std::string& announcement);
void announceToStarter(const std::string& value);

}  // namespace tsaver
