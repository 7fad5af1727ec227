// The vendor's plan against the real thing: the uninstall log that the plan
// predicts for a package and this machine's facts is, entry for entry, the log
// that the real installation under Wine writes.
#include <gtest/gtest.h>

#include <vector>

#include "e2e/FixtureRecords.h"
#include "e2e/MachineState.h"
#include "e2e/ProductPackage.h"
#include "e2e/WizardSession.h"
#include "e2e/robot/Files.h"
#include "vendor/InstallPlan.h"

namespace e2e {
namespace {

const char kProduct[] = "E2EPlan";

class InstallPlanE2E : public ::testing::Test {
 protected:
  void SetUp() override { forgetProduct(kProduct); }
  // The Run value and the tray program must not outlive the test.
  void TearDown() override {
    stopTrayPrograms();
    forgetProduct(kProduct);
  }
};

std::vector<tsaver::vendor::LogEntry> logEntries(const std::string& file) {
  std::vector<tsaver::vendor::LogEntry> entries;
  for (const ProfileSection& section : profileSections(file))
    for (const auto& [key, value] : section.keys) entries.push_back({section.name, key, value});
  return entries;
}

// Packages that differ where the log differs: options, extra files, missing product files.
struct PackageCase {
  const char* name;
  const char* afterTxt;  // none when empty
  const char* extrasTxt;
  std::vector<const char*> missing;
};

const PackageCase kCases[] = {
    {"every option", kAllOptions, "Wallpaper.bmp\r\nBackdrop.bmp\r\n", {}},
    {"no group, no tray, a gap and a missing extra",
     "2\r\nFalse\r\nTrue\r\n\r\n",
     "Missing.bmp\r\nWallpaper.bmp\r\n\r\nBackdrop.bmp\r\n",
     {"Readme.txt", "Contacts.bmp"}},
    {"no options file", "", "", {"Movie.swf"}},
};

TEST_F(InstallPlanE2E, ThePlannedLogIsTheLogTheRealInstallationWrites) {
  for (const PackageCase& c : kCases) {
    SCOPED_TRACE(c.name);
    forgetProduct(kProduct);
    Package package = makeProductPackage(kProduct, c.afterTxt);
    if (*c.extrasTxt) package.write("Extras.txt", c.extrasTxt);
    package.write("Wallpaper.bmp", "wallpaper");
    package.write("Backdrop.bmp", "backdrop");
    for (const char* name : c.missing) removePath(package.path(name));
    tsaver::vendor::MachineFacts facts;
    facts.windowsDir = windowsDir();
    facts.programsDir = shellFolder("Programs");
    facts.desktopDir = shellFolder("Desktop");
    const tsaver::vendor::InstallPlan plan =
        tsaver::vendor::planInstallation(tsaver::vendor::readPackageFolder(package.dir()), facts);
    ASSERT_TRUE(plan.completed);

    ASSERT_EQ(WizardSession(package).installAsProposed(), 0u);

    const std::vector<tsaver::vendor::LogEntry> real = logEntries(defaultInstallDir(kProduct) + "\\UNINSTALL.INI");
    ASSERT_EQ(plan.log.size(), real.size());
    for (std::size_t i = 0; i < real.size(); ++i) {
      EXPECT_EQ(plan.log[i].section, real[i].section) << "entry " << i;
      EXPECT_EQ(plan.log[i].key, real[i].key) << "entry " << i;
      EXPECT_EQ(plan.log[i].value, real[i].value) << "entry " << i;
    }
    stopTrayPrograms();
  }
}

}  // namespace
}  // namespace e2e
