// Runs that meet: a second start while an installation or a removal holds the lock
// is refused and changes nothing; an installation ended from outside leaves a log
// by which its uninstaller removes all of it.
#include <gtest/gtest.h>

#include <functional>
#include <memory>

#include "e2e/FixtureRecords.h"
#include "e2e/MachineState.h"
#include "e2e/ProductPackage.h"
#include "e2e/WizardSession.h"
#include "e2e/robot/Dialog.h"
#include "e2e/robot/Files.h"
#include "e2e/robot/Process.h"

namespace e2e {
namespace {

const char kProduct[] = "E2EOneRun";
const char kOtherRunText[] = "Another installation or removal is running. Please try again once it has finished.";
// Large enough that its copy is still going when a second start or an End task comes.
const std::string kLargeMovie(40 << 20, 'm');

class OneRunAtATime : public ::testing::Test {
 public:
  void SetUp() override {
    stopTrayPrograms();
    forgetProduct(kProduct);
  }
  void TearDown() override {
    stopTrayPrograms();
    forgetProduct(kProduct);
  }

  static Package largePackage() {
    Package package = makeProductPackage(kProduct);
    package.write("Movie.swf", kLargeMovie);
    return package;
  }

  // Starts the installer of `package` while another run holds the lock: it must say so,
  // end, and leave its package whole.
  static void expectRefusedStart(const Package& package) {
    const Process second = Process::start(package.path("INSTALL.EXE"), package.dir());
    const Message refusal = answer(second.id(), kInstallTitle, "OK");
    EXPECT_EQ(refusal.text, kOtherRunText);
    ASSERT_TRUE(second.waitForExit());
    EXPECT_EQ(second.exitCode(), 0u);
    EXPECT_TRUE(package.has("Data.dat") && package.has("Movie.swf")) << "a refused run deletes no package file";
  }

  void expectInstalledWhole() const {
    EXPECT_EQ(readFile(installDir + "\\Movie.swf").size(), kLargeMovie.size());
    EXPECT_TRUE(fileExists(windowsDir() + "\\" + kProduct + ".scr"));
    EXPECT_EQ(profileString(installDir + "\\UNINSTALL.INI", "FILES", "FILE4"), "Movie.swf");
  }

  const std::string installDir = defaultInstallDir(kProduct);
};

struct HolderCase {
  const char* name;
  // Brings a first run to the point where it holds the lock, for the second start to meet;
  // gives what finishes that run afterwards.
  std::function<std::function<void()>(OneRunAtATime&, const Package&)> hold;
};

class SecondStart : public OneRunAtATime, public ::testing::WithParamInterface<HolderCase> {};

TEST_P(SecondStart, IsRefusedAndTheFirstRunEndsWhole) {
  const Package package = largePackage();
  const std::function<void()> finishFirst = GetParam().hold(*this, package);
  expectRefusedStart(package);
  finishFirst();
}

INSTANTIATE_TEST_SUITE_P(
    WhileAnotherRun, SecondStart,
    ::testing::Values(
        // A double click taken as two: both from the same package.
        HolderCase{"wizardWaiting",
                   [](OneRunAtATime& test, const Package& package) -> std::function<void()> {
                     auto wizard = std::make_shared<WizardSession>(package);
                     return [&test, wizard] {
                       EXPECT_EQ(wizard->installAsProposed(), 0u);
                       test.expectInstalledWhole();
                     };
                   }},
        HolderCase{"wizardCopying",
                   [](OneRunAtATime& test, const Package& package) -> std::function<void()> {
                     auto wizard = std::make_shared<WizardSession>(package);
                     wizard->press("btn_next");
                     wizard->waitForVisible("btn_filename");
                     wizard->press("btn_next");
                     return [&test, wizard] {
                       wizard->waitForText("btn_next", "&Finish");
                       wizard->press("btn_next");
                       EXPECT_EQ(wizard->waitForExit(), 0u);
                       test.expectInstalledWhole();
                     };
                   }},
        // A new version's installer started while the old one is being removed: the
        // removal, at its confirmation, holds the lock.
        HolderCase{"removalConfirming",
                   [](OneRunAtATime&, const Package&) -> std::function<void()> {
                     // No tray program, whose removal would wait on a running one.
                     const Package old = makeProductPackage(std::string(kProduct) + "Old", "0\r\nFalse\r\n");
                     EXPECT_EQ(WizardSession(old).installAsProposed(), 0u);
                     const std::string oldDir = defaultInstallDir(std::string(kProduct) + "Old");
                     auto uninstaller = std::make_shared<Process>(Process::start(oldDir + "\\Uninstall.exe", oldDir));
                     const DWORD removal = uninstaller->waitForDescendant("UNINSTALL.EXE");
                     waitForDialog(removal, "Confirm");
                     return [uninstaller, removal, oldDir] {
                       waitForDialog(removal, "Confirm").press("&Yes");
                       EXPECT_TRUE(uninstaller->waitForExitWithDescendants());
                       EXPECT_FALSE(directoryExists(oldDir)) << "the removal went on whole";
                       forgetProduct(std::string(kProduct) + "Old");
                     };
                   }}),
    [](const auto& info) { return std::string(info.param.name); });

TEST_F(OneRunAtATime, AnInstallationEndedFromOutsideIsRemovedByItsUninstaller) {
  const Package package = largePackage();
  {
    WizardSession wizard(package);
    wizard.press("btn_next");
    wizard.waitForVisible("btn_filename");
    wizard.press("btn_next");
    // End task while the large file is on its way.
    waitUntil([&] { return fileExists(installDir + "\\Movie.swf"); }, "the movie's copy to begin");
    Process::open(wizard.process().id()).kill();
    ASSERT_TRUE(wizard.process().waitForExit());
  }
  ASSERT_TRUE(fileExists(installDir + "\\Uninstall.exe"));

  // Its lock went with it: the removal is not refused.
  const Process uninstaller = Process::start(installDir + "\\Uninstall.exe", installDir);
  waitForDialog(uninstaller.waitForDescendant("UNINSTALL.EXE"), "Confirm").press("&Yes");
  ASSERT_TRUE(uninstaller.waitForExitWithDescendants());
  EXPECT_FALSE(directoryExists(installDir));
  EXPECT_FALSE(directoryExists(installDir.substr(0, installDir.rfind('\\'))));
  EXPECT_FALSE(fileExists(windowsDir() + "\\" + kProduct + ".scr"));
}

}  // namespace
}  // namespace e2e
