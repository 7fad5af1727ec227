#pragma once
// A folder that no other process of the user can write into: an elevated program that
// runs a file from it (the uninstaller's temporary copy, an extracted package) would
// otherwise run whatever such a process put there, or any DLL it left beside the file.
#include <string>

namespace tsaver {

// Creates a new folder under `parent` and returns its path, without a trailing "\".
// Its name comes from the system's cryptographic random source, and a name that exists
// already (folder, file or link) is never taken: another is drawn. When this process runs
// elevated (or on a Windows without elevation), the folder gets a protected DACL: full
// access for Administrators and SYSTEM, read and execute for this account, nothing for
// anyone else, and Administrators own it. Empty when no such folder could be made.
std::string createProtectedFolder(const std::string& parent);

}  // namespace tsaver
