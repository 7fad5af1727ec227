#pragma once
// The benchmark's product on the Wine machine: its package, the state each
// installation starts from, and what an installation must leave behind.
#include <string>

namespace bench {

inline constexpr const char* kProduct = "Bench";

// The package folder C:\e2e\Bench\ with the program as "INSTALL.EXE", the
// product files (a 50 MB "Movie.swf" among them), "Data.dat", "After.txt"
// with the options 4/False/True/True and an empty "Extras.txt". The peer is
// built from these same files. Gives the folder, ending in "\".
std::string makePayload();

// A fresh copy of the payload for one run of the program, whose wizard
// deletes the package files when it closes. Gives the folder, ending in "\".
std::string copyPayload();

std::string installDir();

// As before any installation of the product: nothing of it installed, no
// active screen saver, the Flash control not in the Windows directory (so each
// run copies and registers it).
void resetMachine();

// Throws RobotError unless `who` left what an installation with these options
// makes: files, links, settings, so that a failed or partial run cannot pass
// for a fast one.
void checkInstalled(const std::string& who);
// Throws RobotError unless `who` removed the product's files and links again.
void checkRemoved(const std::string& who);

// The "FILES" entries of the program's uninstall log naming the tray program:
// its removal waits one second for each.
int loggedTrayPrograms();

}  // namespace bench
