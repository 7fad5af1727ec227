#include "platform/win32/SafeStart.h"

#include <windows.h>

#include <delayimp.h>

namespace tsaver {

namespace {

// LoadLibraryExA's flag, and SetDefaultDllDirectories' directory: System32 alone. Both
// came with SetDefaultDllDirectories (Windows 8, or KB2533623 on Windows 7 and Vista).
constexpr DWORD kSearchSystem32 = 0x00000800;

// The DLLs that Windows loads by name into a windowed program of its own accord (themes,
// the compositor, the shell's property store, the cryptographic base, ...), none of them
// a KnownDLL. Without SetDefaultDllDirectories each would be looked for beside the
// program first; loaded from System32 beforehand, a later load by name finds it loaded.
constexpr const char* kLoadedByWindows[] = {"uxtheme.dll", "userenv.dll", "setupapi.dll",  "apphelp.dll",
                                            "propsys.dll", "dwmapi.dll",  "cryptbase.dll", "oleacc.dll",
                                            "clbcatq.dll", "ntmarta.dll", "version.dll"};

// Whether LoadLibraryExA knows kSearchSystem32 and the default search is System32 alone.
bool systemSearchSet = false;

HMODULE loadFromSystem(const char* name) {
  if (systemSearchSet) return LoadLibraryExA(name, nullptr, kSearchSystem32);
  // The DLL's own imports are then looked for from its folder on, not beside the program.
  const std::string path = systemProgramPath(name);
  return path.empty() ? nullptr : LoadLibraryExA(path.c_str(), nullptr, LOAD_WITH_ALTERED_SEARCH_PATH);
}

// The delay-load helper asks before it loads a DLL by its bare name (ole32, shell32, mpr).
FARPROC WINAPI loadDelayedFromSystem(unsigned notification, PDelayLoadInfo info) {
  if (notification != dliNotePreLoadLibrary) return nullptr;
  return reinterpret_cast<FARPROC>(loadFromSystem(info->szDll));
}

// Vista with KB2533623 fails to make the shell's link object once the search is System32
// alone (NSIS and 7-Zip met this), so Vista takes the older way.
bool isVista() {
  const DWORD version = GetVersion();
  return LOBYTE(LOWORD(version)) == 6 && HIBYTE(LOWORD(version)) == 0;
}

}  // namespace

void hardenDllSearch() {
  __pfnDliNotifyHook2 = loadDelayedFromSystem;
  const auto setDefaultDirectories = lookUpCall<BOOL(WINAPI*)(DWORD)>("kernel32.dll", "SetDefaultDllDirectories");
  if (setDefaultDirectories && !isVista() && setDefaultDirectories(kSearchSystem32)) {
    systemSearchSet = true;
    return;
  }
  // The program's own folder stays first in this search: hence the DLLs loaded now.
  const auto setDllDirectory = lookUpCall<BOOL(WINAPI*)(LPCSTR)>("kernel32.dll", "SetDllDirectoryA");
  if (setDllDirectory) setDllDirectory("");
  for (const char* name : kLoadedByWindows) loadFromSystem(name);
}

std::string systemProgramPath(const std::string& fileName) {
  char buffer[MAX_PATH + 1];
  const UINT length = GetSystemDirectoryA(buffer, sizeof buffer);
  if (length == 0 || length >= sizeof buffer) return std::string();
  return std::string(buffer, length) + "\\" + fileName;
}

}  // namespace tsaver
