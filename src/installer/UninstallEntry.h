#pragma once
// The product's entry in the list of installed programs that Windows shows (Apps &
// features, formerly Add/Remove Programs): a key under HKEY_LOCAL_MACHINE's list,
// named like the product's links, in the registry's default view (a 32-bit program
// on 64-bit Windows writes the 32-bit view, which that list reads too). The package
// format knows no publisher or version, so the entry names none.
// Nothing here raises: the entry is a convenience, and an installation whose entry
// could not be written is complete all the same.
#include <string>

#include "platform/Platform.h"

namespace tsaver {

// The entry's key name and display name: the product's name as its links name it.
std::string uninstallEntryName(const std::string& productName);

// Records the key in the uninstall log, so that the removal can take the entry away,
// then writes the entry: the quoted Uninstall.exe, the install directory, the icon,
// no modify or repair, and the size of what the log lists. Once the log and the
// uninstaller are in place.
void writeUninstallEntry(Platform& platform, const std::string& productName, const std::string& installDir);

// Sets the entry's EstimatedSize again from what the log lists now; an entry that is
// not there is not made.
void updateUninstallEntrySize(Platform& platform, const std::string& productName, const std::string& installDir);

}  // namespace tsaver
