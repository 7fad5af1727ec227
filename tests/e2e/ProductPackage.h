#pragma once
// Install packages of a named product, and the traces an installation of it
// leaves on the machine. Each test uses a product name of its own, so that
// tests do not see each other's traces.
#include <string>
#include <vector>

#include "e2e/robot/Package.h"

namespace e2e {

inline constexpr const char* kInstallTitle = "Tessaryn Saver Install";
inline constexpr const char* kWizardCaption = "Setup.exe";
// Post-install action 1 and every feature on.
inline constexpr const char* kAllOptions = "1\r\nTrue\r\nTrue\r\nTrue\r\n";

std::string defaultInstallDir(const std::string& product);
std::string settingsSection(const std::string& product);

struct ProductFile {
  std::string name;
  bool toWindowsDir;  // else into the install directory
};
// The package's product files in the order of the install table, Data.dat included.
std::vector<ProductFile> productFiles(const std::string& product);

// Where a package's program and fixture programs come from, as Windows paths.
struct ProgramBuild {
  std::string installExe;
  std::string fixturesDir;  // ending in "\"
};
// This build's program and fixtures; the benchmark also packs the i686 build's.
ProgramBuild thisBuild();

// A package folder named after the product holding the program as "INSTALL.EXE",
// Data.dat, every product file (fixture programs where the product runs one)
// and, unless `afterTxt` is empty, "After.txt".
Package makeProductPackage(const std::string& product, const std::string& afterTxt = kAllOptions,
                           const ProgramBuild& build = thisBuild());

// Under HKEY_LOCAL_MACHINE, in the default view: the list of installed programs. The
// product's entry is named like its links, ProductName + " screen saver".
inline constexpr const char* kUninstallEntries = "Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall";

// The user's shell folder ("Programs", "Desktop") as the registry names it.
std::string shellFolder(const std::string& name);
std::string groupDir(const std::string& product);

// Removes what an installation of the product may have left: install
// directory, Windows-directory files, links, Run value, entry in the list of
// installed programs, settings section.
void forgetProduct(const std::string& product);

}  // namespace e2e
