// The demonstration: installs the sample package under Wine as a user would,
// clicking through the wizard, then removes the product again with the
// installed uninstaller, and reports what was installed, what was removed and
// what stayed.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "e2e/FixtureRecords.h"
#include "e2e/MachineSnapshot.h"
#include "e2e/ProductPackage.h"
#include "e2e/WizardSession.h"
#include "e2e/robot/Dialog.h"
#include "e2e/robot/Files.h"
#include "e2e/robot/Process.h"
#include "e2e/robot/Screen.h"

namespace {

const char kProduct[] = "Tessaryn";

void say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

// Wine keeps its own bookkeeping on the drive and in the registry, and the sample
// programs their records; the report leaves those entries out. The user's folders
// stay in it: links, and any temporary copy of the uninstaller, show there.
bool isBookkeeping(const std::string& entry) {
  return e2e::isWineBookkeeping(entry) || entry.find("tsaver-fixture-") != std::string::npos;
}

void list(const std::string& title, const std::vector<std::string>& entries) {
  std::vector<std::string> shown;
  std::copy_if(entries.begin(), entries.end(), std::back_inserter(shown),
               [](const std::string& e) { return !isBookkeeping(e); });
  say(title + " (" + std::to_string(shown.size()) + "):");
  for (const auto& e : shown) say("  " + e);
}

int run() {
  e2e::stopTrayPrograms();
  e2e::forgetProduct(kProduct);
  const e2e::MachineSnapshot before = e2e::snapshotMachine();

  e2e::Package package = e2e::makeProductPackage(kProduct);
  package.write("Extras.txt", "Wallpaper.bmp\r\n");
  package.write("Wallpaper.bmp", "a wallpaper");
  say("Sample package: " + package.dir());

  e2e::WizardSession wizard(package);
  say("Wizard: " + wizard.text("lbl_caption"));
  say("  " + wizard.text("lblInfo2"));
  say("  screenshot " + e2e::saveScreenshot("demo-welcome"));
  wizard.press("btn_next");
  wizard.waitForVisible("btn_filename");
  say("Install directory: " + wizard.text("edt_filename"));
  wizard.press("btn_next");
  wizard.waitForText("btn_next", "&Finish");
  say("Finish page: " + wizard.text("lblSuccess1"));
  say("  screenshot " + e2e::saveScreenshot("demo-finish"));
  wizard.press("btn_next");
  if (wizard.waitForExit() != 0) return 1;
  e2e::waitForFixtureRecords("tasktray", "start", 1);
  say("Installed; the tray program is running.");

  const e2e::MachineSnapshot installed = e2e::snapshotMachine();
  const e2e::MachineChanges installation = e2e::compare(before, installed);
  list("Installed", installation.added);
  list("Changed by the installation", installation.changed);

  // A user quits the tray program before removing the product.
  e2e::stopTrayPrograms();
  const std::string installDir = e2e::defaultInstallDir(kProduct);
  e2e::Process uninstaller = e2e::Process::start(installDir + "\\Uninstall.exe", installDir);
  e2e::waitForDialog(uninstaller.waitForDescendant("UNINSTALL.EXE"), "Confirm").press("&Yes");
  say("Uninstaller confirmed with \"&Yes\" in its temporary copy.");
  if (!uninstaller.waitForExitWithDescendants() || uninstaller.exitCode() != 0) return 1;

  const e2e::MachineSnapshot after = e2e::snapshotMachine();
  std::vector<std::string> removed, stayed;
  for (const auto& entry : installation.added)
    (after.count(entry) ? stayed : removed).push_back(entry);
  list("Removed again", removed);
  list("Stayed after the removal", stayed);
  list("Made by the removal and left behind", e2e::compare(installed, after).added);
  list("Still changed against the machine before", e2e::compare(before, after).changed);
  e2e::forgetProduct(kProduct);
  return 0;
}

}  // namespace

int main() {
  try {
    return run();
  } catch (const std::exception& e) {
    say(std::string("Demonstration failed: ") + e.what());
    return 1;
  }
}
