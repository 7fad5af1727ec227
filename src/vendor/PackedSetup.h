#pragma once
// One file to download: the extractor program followed by a package's files,
// compressed, with their SHA-256 (the layout is in packed/SetupLayout.h); and
// the check of such a file that the extractor makes before it writes anything.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

#include "packed/SetupLayout.h"
#include "vendor/PackageFolder.h"

namespace tsaver::vendor {

// The extractor is no Windows program, or carries data after its sections already.
class PackError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

struct PackedFileInfo {
  std::string name;
  std::uint64_t bytes = 0;
  std::uint64_t packedBytes = 0;
};

struct PackedSetup {
  std::string bytes;  // the whole file
  std::vector<PackedFileInfo> files;
};

// Every file of the package in the folder's sorted order, and nothing that
// changes from run to run: the same folder and extractor give the same bytes.
PackedSetup packSetup(const PackageFolder& package, const std::string& extractor);

struct SetupCheck {
  packed::Problem problem = packed::Problem::None;
  bool signedFile = false;  // a signature is appended (its validity is osslsigncode's or Windows' to tell)
  std::vector<PackedFileInfo> files;  // when intact
};
SetupCheck checkSetup(const std::string& file);

}  // namespace tsaver::vendor
