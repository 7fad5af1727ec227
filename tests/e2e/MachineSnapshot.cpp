#include "e2e/MachineSnapshot.h"

#include <windows.h>

#include <algorithm>
#include <cstdio>

#include "e2e/ProductPackage.h"

namespace e2e {
namespace {

// Wine's default prefix links these user folders to the host's home directory: walking
// into them would walk the host, and each would show the same files again. The desktop
// is taken one level deep, for the links on it; the others not at all.
enum class Depth { All, OneLevel, None };

Depth depthOf(const std::string& path) {
  static const char* const kAliases[] = {"\\Documents\\", "\\Downloads\\", "\\Music\\",
                                         "\\Pictures\\",  "\\Videos\\",    "\\Templates\\"};
  if (path.rfind("C:\\users\\", 0) != 0) return Depth::All;
  const auto endsWith = [&](const std::string& suffix) {
    return path.size() >= suffix.size() && path.compare(path.size() - suffix.size(), suffix.size(), suffix) == 0;
  };
  if (endsWith("\\Desktop\\")) return Depth::OneLevel;
  return std::any_of(std::begin(kAliases), std::end(kAliases), endsWith) ? Depth::None : Depth::All;
}

void walkFiles(const std::string& dir, Depth depth, MachineSnapshot& out) {
  if (depth == Depth::None) return;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((dir + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    const std::string name = found.cFileName;
    if (name == "." || name == "..") continue;
    if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) {
      const std::string sub = dir + name + "\\";
      out[sub] = "directory";
      if (depth == Depth::All) walkFiles(sub, depthOf(sub), out);
    } else {
      char info[64];
      std::snprintf(info, sizeof info, "%lu bytes, written %08lx%08lx", found.nFileSizeLow,
                    found.ftLastWriteTime.dwHighDateTime, found.ftLastWriteTime.dwLowDateTime);
      out[dir + name] = info;
    }
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

// A program of either bitness may be under test: on 64-bit Windows the 32-bit one
// writes HKEY_LOCAL_MACHINE\Software in its own view, shown here as WOW6432Node.
struct RegistryView {
  REGSAM access;
  const char* name;  // as the snapshot names the list's key
};
std::vector<RegistryView> registryViews() {
  const RegistryView native = {KEY_WOW64_64KEY, "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"};
  BOOL wow64 = FALSE;
  if (sizeof(void*) == 4 && !(IsWow64Process(GetCurrentProcess(), &wow64) && wow64)) return {{0, native.name}};
  return {native, {KEY_WOW64_32KEY, "HKLM\\Software\\WOW6432Node\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\"}};
}

void walkKey(HKEY key, const std::string& path, MachineSnapshot& out) {
  out[path] = "key";
  for (DWORD i = 0;; ++i) {
    char name[16384];
    DWORD nameSize = sizeof name;
    BYTE data[65536];
    DWORD dataSize = sizeof data;
    DWORD type = 0;
    if (RegEnumValueA(key, i, name, &nameSize, nullptr, &type, data, &dataSize) != ERROR_SUCCESS) break;
    out[path + "\\" + name] = registryValueText(type, std::string(reinterpret_cast<char*>(data), dataSize));
  }
  for (DWORD i = 0;; ++i) {
    char name[256];
    DWORD nameSize = sizeof name;
    if (RegEnumKeyExA(key, i, name, &nameSize, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
    HKEY sub;
    if (RegOpenKeyExA(key, name, 0, KEY_READ, &sub) != ERROR_SUCCESS) continue;
    walkKey(sub, path + name + "\\", out);
    RegCloseKey(sub);
  }
}

}  // namespace

std::string registryValueText(unsigned long type, const std::string& data) {
  std::string text = "type " + std::to_string(type) + ": ";
  if (type == REG_SZ || type == REG_EXPAND_SZ) return text + data.substr(0, data.find('\0'));
  char hex[3];
  for (unsigned char c : data) {
    std::snprintf(hex, sizeof hex, "%02x", c);
    text += hex;
  }
  return text;
}

MachineSnapshot snapshotMachine() {
  MachineSnapshot snapshot;
  walkFiles("C:\\", Depth::All, snapshot);
  walkKey(HKEY_CURRENT_USER, "HKCU\\", snapshot);
  for (const RegistryView& view : registryViews()) {
    HKEY entries;
    if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, kUninstallEntries, 0, KEY_READ | view.access, &entries) != ERROR_SUCCESS)
      continue;
    walkKey(entries, view.name, snapshot);
    RegCloseKey(entries);
  }
  return snapshot;
}

MachineChanges compare(const MachineSnapshot& before, const MachineSnapshot& after) {
  MachineChanges changes;
  for (const auto& [name, held] : after) {
    const auto was = before.find(name);
    if (was == before.end())
      changes.added.push_back(name);
    else if (was->second != held)
      changes.changed.push_back(name);
  }
  for (const auto& [name, held] : before)
    if (!after.count(name)) changes.removed.push_back(name);
  return changes;
}

bool isWineBookkeeping(const std::string& entry) {
  for (const char* prefix : {"HKCU\\Software\\Wine\\", "C:\\windows\\logs\\"})
    if (entry.rfind(prefix, 0) == 0) return true;
  // The menu builder writes a host ".desktop" file for each link into the home directory,
  // which the user folders that Wine links there all show.
  const std::string menuEntry = ".desktop";
  return entry.rfind("C:\\users\\", 0) == 0 && entry.size() > menuEntry.size() &&
         entry.compare(entry.size() - menuEntry.size(), menuEntry.size(), menuEntry) == 0;
}

}  // namespace e2e
