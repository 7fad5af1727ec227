// The packed setup file under Wine: the sample package packed with the vendor's
// tool and started as a user starts a download, whole, signed, cut short or
// with one byte changed.
#include <gtest/gtest.h>
#include <windows.h>

#include <functional>
#include <set>

#include "e2e/FixtureRecords.h"
#include "e2e/MachineSnapshot.h"
#include "e2e/MachineState.h"
#include "e2e/PlanComparison.h"
#include "e2e/ProductPackage.h"
#include "e2e/Signing.h"
#include "e2e/WizardSession.h"
#include "e2e/robot/Dialog.h"
#include "e2e/robot/Files.h"
#include "e2e/robot/Process.h"
#include "vendor/InstallPlan.h"
#include "vendor/PackedSetup.h"

namespace e2e {
namespace {

// Eight letters at most: Wine makes other short names than Windows for longer ones.
const char kProduct[] = "E2EPack";
const char kSetupCaption[] = "Tessaryn Saver Setup";
const char kDamagedText[] =
    "The setup file is damaged: it was not downloaded completely, or it was changed since.\r\n"
    "Please download it again.";
// Where the packed files go: a folder of the build that the Linux signing tools reach too.
const std::string kDownloads = TSAVER_BUILD_DIR "/packed-setup";

std::set<std::string> temporaryEntries() {
  char temp[MAX_PATH];
  GetTempPathA(sizeof temp, temp);
  std::set<std::string> names;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((std::string(temp) + "*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do names.insert(found.cFileName);
    while (FindNextFileA(search, &found));
    FindClose(search);
  }
  return names;
}

// Signed by a throwaway certificate, its signature checked by osslsigncode.
std::string signedCopy(const std::string& name) {
  const Signing signing = signWithThrowawayCertificate(kDownloads, name, "Signed.exe");
  EXPECT_TRUE(signing.verified) << signing.verification;
  return "Signed.exe";
}

class PackedSetupE2E : public ::testing::Test {
 protected:
  void SetUp() override {
    stopTrayPrograms();
    forgetProduct(kProduct);
    makeDirectories(hostPath(kDownloads));
    package_.write("Extras.txt", "Wallpaper.bmp\r\n");
    package_.write("Wallpaper.bmp", "a wallpaper");
    const tsaver::vendor::PackageFolder folder = tsaver::vendor::readPackageFolder(package_.dir());
    writeFile(path("Setup.exe"), tsaver::vendor::packSetup(folder, readFile(hostPath(TSAVER_EXTRACTOR_EXE))).bytes);
    tsaver::vendor::MachineFacts facts;
    facts.windowsDir = windowsDir();
    facts.programsDir = shellFolder("Programs");
    facts.desktopDir = shellFolder("Desktop");
    plan_ = tsaver::vendor::planInstallation(folder, facts);
  }
  void TearDown() override {
    stopTrayPrograms();
    forgetProduct(kProduct);
  }

  static std::string path(const std::string& name) { return hostPath(kDownloads + "/" + name); }
  static Process start(const std::string& name) { return Process::start(path(name), hostPath(kDownloads)); }

  Package package_ = makeProductPackage(kProduct);
  tsaver::vendor::InstallPlan plan_;
};

struct WizardRun {
  const char* name;
  std::function<std::string()> file;
  bool finish;  // else Cancel
};

const WizardRun kWizardRuns[] = {
    {"as packed, Finish", [] { return std::string("Setup.exe"); }, true},
    {"signed, Finish", [] { return signedCopy("Setup.exe"); }, true},
    {"as packed, Cancel", [] { return std::string("Setup.exe"); }, false},
};

TEST_F(PackedSetupE2E, InstallsAsPlannedIsRemovedCompletelyAndLeavesNothingOfItself) {
  ASSERT_TRUE(plan_.completed);
  for (const WizardRun& run : kWizardRuns) {
    SCOPED_TRACE(run.name);
    forgetProduct(kProduct);
    removePath(windowsDir() + "\\SWFlash.ocx");
    setUserRegistryString("Control Panel\\desktop", "ScreenSaveActive", "0");
    const std::string file = run.file();
    const std::set<std::string> temporary = temporaryEntries();
    const MachineSnapshot before = snapshotMachine();
    Process setup = start(file);
    WizardSession wizard(Process::open(setup.waitForDescendant("Install.exe")));
    if (run.finish) {
      wizard.installAsProposed();
    } else {
      wizard.press("btn_cancel");
      wizard.answer("Confirm", "&Yes");
    }
    ASSERT_TRUE(setup.waitForExit());
    EXPECT_EQ(setup.exitCode(), 0u);
    EXPECT_EQ(temporaryEntries(), temporary) << "the unpacked folder stayed";
    if (!run.finish) {
      EXPECT_FALSE(directoryExists(defaultInstallDir(kProduct)));
      continue;
    }
    waitForFixtureRecords("tasktray", "start", 1);
    const MachineSnapshot installed = snapshotMachine();
    EXPECT_EQ(differencesAfterInstallation(plan_, before, installed, isOutsideTheInstallation),
              std::vector<std::string>{});
    stopTrayPrograms();
    const std::string installDir = defaultInstallDir(kProduct);
    Process uninstaller = Process::start(installDir + "\\Uninstall.exe", installDir);
    waitForDialog(uninstaller.waitForDescendant("UNINSTALL.EXE"), "Confirm").press("&Yes");
    ASSERT_TRUE(uninstaller.waitForExitWithDescendants());
    EXPECT_EQ(differencesAfterRemoval(plan_, snapshotMachine(), isOutsideTheInstallation), std::vector<std::string>{});
  }
}

struct Damage {
  const char* name;
  std::function<void(std::string&)> apply;
};

const Damage kDamages[] = {
    {"cut short", [](std::string& bytes) { bytes.resize(bytes.size() - 1000); }},
    {"one byte changed", [](std::string& bytes) { bytes[bytes.size() - 1000] ^= 0x20; }},
};

TEST_F(PackedSetupE2E, ADamagedFileSaysSoAndWritesNothing) {
  for (const Damage& damage : kDamages) {
    SCOPED_TRACE(damage.name);
    std::string bytes = readFile(path("Setup.exe"));
    damage.apply(bytes);
    writeFile(path("Damaged.exe"), bytes);
    const std::set<std::string> temporary = temporaryEntries();
    Process setup = start("Damaged.exe");
    EXPECT_EQ(answer(setup.id(), kSetupCaption, "OK").text, kDamagedText);
    ASSERT_TRUE(setup.waitForExit());
    EXPECT_EQ(setup.exitCode(), 2u);
    EXPECT_EQ(temporaryEntries(), temporary);
    EXPECT_FALSE(directoryExists(defaultInstallDir(kProduct)));
  }
}

}  // namespace
}  // namespace e2e
