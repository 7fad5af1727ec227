#pragma once
// An install package as a vendor has it on disk: every file of the folder, with
// its name relative to the folder ("\" between levels) and its bytes.
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/SimulatedWindows.h"

namespace tsaver::vendor {

struct PackageFile {
  std::string name;
  std::string content;
  bool readOnly = false;  // as on a CD or a write-protected share
};

struct PackageFolder {
  std::string dir;  // as given
  std::vector<PackageFile> files;
  // The file of that name, compared without regard to ASCII case as Windows does; null if none.
  const PackageFile* find(const std::string& name) const;
};

// The folder cannot be read (missing, no directory, no access).
class PackageReadError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// Reads every file below the folder; raises PackageReadError when it cannot.
PackageFolder readPackageFolder(const std::string& dir);

// Where the package lies on a simulated machine: a drive of its own, as a CD would be.
inline constexpr const char* kSimulatedPackageDir = "A:\\";

// Puts every file of the package into that folder of the machine, and makes the
// package's installer the machine's running program.
void putPackage(SimulatedWindows& machine, const PackageFolder& package);

}  // namespace tsaver::vendor
