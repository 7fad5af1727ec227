#include "e2e/robot/Package.h"

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

}  // namespace e2e
