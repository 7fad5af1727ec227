#pragma once
// What a test machine holds: every file and directory of drive C:, every key and
// value under HKEY_CURRENT_USER, and the list of installed programs under
// HKEY_LOCAL_MACHINE (on 64-bit Windows in both views, the 32-bit one named with
// WOW6432Node), so that two moments can be compared.
#include <map>
#include <string>
#include <vector>

namespace e2e {

// Entry name ("C:\dir\", "C:\dir\file", "HKCU\Key\", "HKCU\Key\\value", "HKLM\...") -> what it holds
// (a file's size and write time, a value's type and data). The user's folders are
// in it, temporary folders and Start menu included; of the folders that Wine links to
// the host's home directory only the desktop, one level deep.
using MachineSnapshot = std::map<std::string, std::string>;
MachineSnapshot snapshotMachine();

// A value as the snapshot holds it: "type N: " and a string's text, or other data in hex.
std::string registryValueText(unsigned long type, const std::string& data);

struct MachineChanges {
  std::vector<std::string> added, removed, changed;
};
MachineChanges compare(const MachineSnapshot& before, const MachineSnapshot& after);

// Entries that Wine itself writes as programs run, which Windows does not: its own
// registry branch, its logs, and the menu builder's answer to each shell link.
bool isWineBookkeeping(const std::string& entry);

}  // namespace e2e
