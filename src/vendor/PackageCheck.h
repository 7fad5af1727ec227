#pragma once
// The checker of a package folder: reads "Data.dat", "After.txt" and
// "Extras.txt" with the installer's own reader and rules and names every slip
// that would make an installation fail or go other than meant.
#include <optional>
#include <string>
#include <vector>

#include "vendor/PackageFolder.h"

namespace tsaver::vendor {

enum class Severity {
  Error,   // the installation will fail or do something plainly wrong
  Warning,  // it will run, but probably not as meant
  Info      // it runs as meant; worth knowing (a CD's files are read-only)
};

struct Finding {
  Severity severity;
  std::string rule;  // a short stable name of the rule, e.g. "product-name-reserved"
  std::string file;
  std::optional<int> line;
  std::string message;
  std::string fix;
};

std::vector<Finding> checkPackage(const PackageFolder& package);

bool hasErrors(const std::vector<Finding>& findings);

}  // namespace tsaver::vendor
