#pragma once
// The wizard's program-wide state, shared by the install window and its run.
#include <array>
#include <string>

namespace tsaver {

// The four lines of "After.txt"; "True" and "False" are compared exactly.
struct InstallOptions {
  std::string PostInstallAction;
  std::string TrayOption;
  std::string DesktopOption;
  std::string GroupOption;
};

constexpr int kInstallFileSlots = 16;

struct WizardState {
  std::string SourceDir;   // the program's directory, ending in "\"
  std::string WindowsDir;  // without a trailing "\"
  std::string ProductName;
  std::string SettingsSection;
  InstallOptions Options;
  // Slots 1..16 of product file names (index 0 is slot 1).
  std::array<std::string, kInstallFileSlots> InstallFiles;
  // Which slots' files, and whether "Extras.txt", the package held when the wizard read
  // it: one gone by the time of its copy was taken away (another run's clean-up, an
  // ejected CD), which fails the run, where a file never there is simply not installed.
  std::array<bool, kInstallFileSlots> InPackage{};
  bool ExtrasInPackage = false;
};

}  // namespace tsaver
