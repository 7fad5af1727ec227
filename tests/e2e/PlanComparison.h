#pragma once
// The plan of an installation held against what the real run did on this
// machine: machine snapshots, and the settings files, links and log read back
// through the system's API. Each difference comes back in words; none means
// all went as planned.
#include <functional>
#include <string>
#include <vector>

#include "e2e/MachineSnapshot.h"
#include "vendor/InstallPlan.h"

namespace e2e {

// Entries of a snapshot that are not the installation's doing (Wine's own bookkeeping).
using Ignored = std::function<bool(const std::string&)>;

// Wine's bookkeeping, Wine's own temporary folder, the sample programs' records, and the
// aliases of the user's Desktop (Wine links Documents, Downloads, Music, Pictures,
// Videos and Templates to the same host folder, so a desktop link shows in each).
// The user's temporary folder is not among them: a copy or folder left there shows.
bool isOutsideTheInstallation(const std::string& entry);

// Right after the installation, while its links, settings and log are there to read.
std::vector<std::string> differencesAfterInstallation(const tsaver::vendor::InstallPlan& plan,
                                                      const MachineSnapshot& before,
                                                      const MachineSnapshot& installed, const Ignored& ignored);

// After the removal: what the plan says goes and what stays.
std::vector<std::string> differencesAfterRemoval(const tsaver::vendor::InstallPlan& plan,
                                                 const MachineSnapshot& removed, const Ignored& ignored);

}  // namespace e2e
