#pragma once
// The benchmark's product on the Wine machine: its package, the state each
// installation starts from, and what an installation must leave behind.
#include <string>

#include "e2e/ProductPackage.h"

namespace bench {

inline constexpr const char* kProduct = "Bench";

// A package folder C:\e2e\<name>\ that the rounds copy, and the number of extra files it lists.
struct Payload {
  const char* name;
  int extras;
};

// The program as "INSTALL.EXE", the product files (a 50 MB "Movie.swf" among
// them), "Data.dat", "After.txt" with the options 4/False/True/True and an
// empty "Extras.txt". The peer is built from these same files. Of the x86_64
// build, with this build's fixture programs.
inline constexpr Payload kPayload{"Bench", 0};
// The same of the shipping i686 build, with its fixture programs: under WoW64
// it starts the 32-bit REGSVR32, which loads a 32-bit control itself (Wine's
// hands a 64-bit one on to the 64-bit REGSVR32, one process more).
inline constexpr Payload kPayloadI686{"Bench32", 0};
// Each with 900 extra files of 10 KB listed in "Extras.txt": with the product
// files and the uninstaller, 914 files to install and remove.
inline constexpr Payload kExtrasPayload{"BenchExtras", 900};
inline constexpr Payload kExtrasPayloadI686{"BenchExtras32", 900};

// Makes the four payloads, `i686` naming the i686 build's program and fixtures,
// and C:\e2e\BenchExtras.nsh with the macros InstallExtras and RemoveExtras that
// give the peer the same extra files from its PAYLOAD. Gives the folders.
std::string makePayloads(const e2e::ProgramBuild& i686);

// The plain payloads packed into one setup file each, as `saverpkg pack` packs
// them, behind the extractor of their bitness (Windows paths given).
inline constexpr const char* kSetupFile = "C:\\e2e\\BenchSetup.exe";
inline constexpr const char* kSetupFileI686 = "C:\\e2e\\BenchSetup32.exe";
void packPayloads(const std::string& extractorX8664, const std::string& extractorI686);

// A fresh copy of the payload for one run of the program, whose wizard
// deletes the package files when it closes. Gives the folder, ending in "\".
std::string copyPayload(const Payload& from);

std::string installDir();

// As before any installation of the product: nothing of it installed, no
// active screen saver, the Flash control not in the Windows directory (so each
// run copies and registers it), its registrations forgotten.
void resetMachine();

// Throws RobotError unless `who` left what an installation with these options
// makes: files, links, settings, the Flash control registered, so that a
// failed or partial run cannot pass for a fast one.
void checkInstalled(const std::string& who, const Payload& payload);
// Throws RobotError unless `who` removed the product's files and links again.
void checkRemoved(const std::string& who, const Payload& payload);

// The "FILES" entries of the program's uninstall log naming the tray program:
// its removal waits one second for each.
int loggedTrayPrograms();

}  // namespace bench
