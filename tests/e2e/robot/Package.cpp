#include "e2e/robot/Package.h"

#include <windows.h>

#include "e2e/robot/Files.h"

namespace e2e {

Package::Package(const std::string& name) : dir_("C:\\e2e\\" + name + "\\") {
  const std::string folder = dir_.substr(0, dir_.size() - 1);
  removePath(folder);
  makeDirectories(folder);
}

bool Package::has(const std::string& file) const { return fileExists(path(file)); }

void Package::copyIn(const std::string& from, const std::string& as) { copyFile(from, path(as)); }

void Package::copyFixture(const std::string& fixture, const std::string& as) { copyIn(fixturesDir() + fixture, as); }

void Package::copyProgram(const std::string& as) { copyIn(installExe(), as); }

void Package::write(const std::string& file, const std::string& content) { writeFile(path(file), content); }

void Package::makeReadOnly() {
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA(path("*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) return;
  do {
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      SetFileAttributesA(path(found.cFileName).c_str(), found.dwFileAttributes | FILE_ATTRIBUTE_READONLY);
  } while (FindNextFileA(search, &found));
  FindClose(search);
}

}  // namespace e2e
