#pragma once
// Program entry: the mode comes from nothing but the program's own file name.
#include <string>

#include "platform/Platform.h"
#include "toolkit/Application.h"

namespace tsaver {

enum class Mode { None, Install, Uninstall };

// The file-name part of the path, ASCII upper-cased, compared exactly with
// "INSTALL.EXE" and "UNINSTALL.EXE"; anything else is no mode.
Mode modeFor(const std::string& programPath);

inline constexpr const char* kInstallTitle = "Tessaryn Saver Install";
inline constexpr const char* kUninstallTitle = "Tessaryn Saver Un-Install";

// Sets the title, creates the mode's windows, runs the message loop until the
// main window closes. In uninstall mode the program's own folder may become the
// current directory first (uninstaller/StartDirectory.h), and the removal may be
// handed to a temporary copy (uninstaller/TemporaryCopy.h): then no window opens here.
// Returns the exit code, always 0.
int runProgram(Platform& platform, tk::Application& app);

}  // namespace tsaver
