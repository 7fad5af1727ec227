#include "vendor/PackageFolder.h"

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "platform/Paths.h"

namespace tsaver::vendor {

namespace fs = std::filesystem;

const PackageFile* PackageFolder::find(const std::string& name) const {
  const std::string wanted = upperAscii(name);
  for (const PackageFile& file : files)
    if (upperAscii(file.name) == wanted) return &file;
  return nullptr;
}

PackageFolder readPackageFolder(const std::string& dir) {
  std::error_code error;
  if (!fs::is_directory(fs::path(dir), error)) throw PackageReadError("\"" + dir + "\" is no readable folder");
  PackageFolder package;
  package.dir = dir;
  fs::recursive_directory_iterator it(fs::path(dir), error), end;
  for (; !error && it != end; it.increment(error)) {
    if (!it->is_regular_file(error)) continue;
    std::ifstream in(it->path(), std::ios::binary);
    if (!in) throw PackageReadError("cannot read \"" + it->path().string() + "\"");
    std::string name = it->path().lexically_relative(fs::path(dir)).string();
    std::replace(name.begin(), name.end(), '/', '\\');
    // Windows' read-only attribute is the owner's missing write permission here, on either system.
    std::error_code unknown;  // unknown permissions have every bit set: writable
    const bool readOnly = (it->status(unknown).permissions() & fs::perms::owner_write) == fs::perms::none;
    package.files.push_back({name, std::string(std::istreambuf_iterator<char>(in), {}), readOnly});
  }
  if (error) throw PackageReadError("cannot list \"" + dir + "\": " + error.message());
  std::sort(package.files.begin(), package.files.end(),
            [](const PackageFile& a, const PackageFile& b) { return a.name < b.name; });
  return package;
}

void putPackage(SimulatedWindows& machine, const PackageFolder& package) {
  machine.addDrive(kSimulatedPackageDir[0]);
  for (const PackageFile& file : package.files) {
    machine.putFile(kSimulatedPackageDir + file.name, file.content);
    if (file.readOnly) machine.setReadOnly(kSimulatedPackageDir + file.name);
  }
  machine.setModuleFileName(std::string(kSimulatedPackageDir) + "INSTALL.EXE");
}

}  // namespace tsaver::vendor
