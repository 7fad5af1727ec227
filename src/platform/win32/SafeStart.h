#pragma once
// What every entry point does first. The program is started from wherever its package
// landed, often a Downloads folder that any program of the user can write, and it runs
// with administrator rights: a DLL or a program found there by its bare name would run
// with them too. So nothing is looked for beside the program or in the current directory.
#include <windows.h>

#include <string>

namespace tsaver {

// Limits the DLL search to the system directory, and loads every DLL that the program
// itself loads by name (its delay-loaded ones) from there. Call it before anything else.
// It cannot fail: where the system lacks SetDefaultDllDirectories, the current directory
// leaves the search and the DLLs that Windows itself loads by name are loaded from the
// system directory at once, so that no later load by name looks beside the program.
void hardenDllSearch();

// The full path of a file in the system directory (System32; for a 32-bit program on
// 64-bit Windows the system redirects it to SysWOW64); empty when the system cannot say.
std::string systemProgramPath(const std::string& fileName);

// A function that the system may lack, looked up rather than imported (an import that
// is missing keeps the program from starting, and one forwarded to a DLL that is no
// KnownDLL loads that DLL before hardenDllSearch); nullptr where the module lacks it.
template <typename Call>
Call lookUpCall(const char* module, const char* name) {
  return reinterpret_cast<Call>(reinterpret_cast<void (*)()>(GetProcAddress(GetModuleHandleA(module), name)));
}

}  // namespace tsaver
