// The demonstration: plans the installation of the sample package with the
// vendor's tool, installs it under Wine as a user would, clicking through the
// wizard, removes the product again with the installed uninstaller, and
// reports what was installed, removed and left, and whether all went as planned.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "demo/HtmlReport.h"
#include "demo/PlanComparison.h"
#include "e2e/FixtureRecords.h"
#include "e2e/MachineSnapshot.h"
#include "e2e/MachineState.h"
#include "e2e/ProductPackage.h"
#include "e2e/WizardSession.h"
#include "e2e/robot/Dialog.h"
#include "e2e/robot/Files.h"
#include "e2e/robot/Process.h"
#include "e2e/robot/Screen.h"
#include "vendor/InstallPlan.h"
#include "vendor/PackageCheck.h"
#include "vendor/Reports.h"

namespace {

const char kProduct[] = "Tessaryn";

void say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

// Wine keeps its own bookkeeping on the drive and in the registry, and the sample
// programs their records; the report leaves those entries out. The user's
// temporary folder stays in it, so that a copy of the uninstaller left there shows.
// Wine's default prefix links the user's Desktop, Documents, Downloads, Music,
// Pictures, Videos and Templates folders all to the host's home directory, so a
// link on the desktop shows in each of them: the report keeps the Desktop only.
bool isWineBookkeeping(const std::string& entry) {
  if (e2e::isWineBookkeeping(entry) || entry.rfind("C:\\windows\\temp\\", 0) == 0) return true;
  if (entry.rfind("C:\\users\\", 0) == 0) {
    for (const char* alias : {"\\Documents\\", "\\Downloads\\", "\\Music\\", "\\Pictures\\", "\\Videos\\", "\\Templates\\"})
      if (entry.find(alias) != std::string::npos) return true;
  }
  return entry.find("tsaver-fixture-") != std::string::npos;  // the sample programs' own records
}

std::vector<std::string> shown(const std::vector<std::string>& entries) {
  std::vector<std::string> kept;
  std::copy_if(entries.begin(), entries.end(), std::back_inserter(kept),
               [](const std::string& e) { return !isWineBookkeeping(e); });
  return kept;
}

void list(demo::HtmlReport& report, const std::string& title, const std::vector<std::string>& entries) {
  const std::vector<std::string> kept = shown(entries);
  say(title + " (" + std::to_string(kept.size()) + "):");
  for (const auto& e : kept) say("  " + e);
  report.heading(title + " (" + std::to_string(kept.size()) + ")");
  report.lines(kept);
}

// The window as a user sees it, frame included; scripts/demo.sh turns the
// bitmap into the PNG that the page shows.
void screenshot(demo::HtmlReport& report, const std::string& name, const std::string& caption,
                const e2e::Window& window) {
  say("  screenshot " + e2e::saveScreenshot(name, e2e::Millis(2000), window));
  report.picture("screenshots/" + name + ".png", caption);
}

// Which program ran, and on which Windows.
std::string runningOn() {
  BOOL wow64 = FALSE;
  IsWow64Process(GetCurrentProcess(), &wow64);
  const std::string build = sizeof(void*) == 4 ? "i686" : "x86_64";
  const std::string windows = wow64 ? "64-bit Windows, run under WoW64" : sizeof(void*) == 4 ? "32-bit Windows" : "64-bit Windows";
  using VersionFunction = const char* (*)();
  const auto wineVersion =
      reinterpret_cast<VersionFunction>(GetProcAddress(GetModuleHandleA("ntdll.dll"), "wine_get_version"));
  return "The " + build + " build (" + TSAVER_INSTALL_EXE + ") on " + windows +
         (wineVersion ? std::string(" (Wine ") + wineVersion() + ")" : std::string());
}

void compared(demo::HtmlReport& report, const std::string& title, const std::vector<std::string>& differences) {
  say(title + ": " + (differences.empty() ? "as planned" : std::to_string(differences.size()) + " difference(s)"));
  for (const auto& d : differences) say("  " + d);
  report.heading(title);
  report.lines(differences.empty() ? std::vector<std::string>{"as planned"} : differences);
}

// This machine as the plan needs to know it: folders from the system, and what
// an earlier run may have left where a first installation finds nothing.
tsaver::vendor::MachineFacts prepareMachine() {
  e2e::stopTrayPrograms();
  e2e::forgetProduct(kProduct);
  e2e::removePath(e2e::windowsDir() + "\\SWFlash.ocx");
  e2e::setUserRegistryString("Control Panel\\desktop", "ScreenSaveActive", "0");
  tsaver::vendor::MachineFacts facts;
  facts.windowsDir = e2e::windowsDir();
  facts.programsDir = e2e::shellFolder("Programs");
  facts.desktopDir = e2e::shellFolder("Desktop");
  return facts;
}

int run() {
  demo::HtmlReport report("Tessaryn screen saver: plan and installation under Wine");
  const tsaver::vendor::MachineFacts facts = prepareMachine();
  e2e::Package package = e2e::makeProductPackage(kProduct);
  package.write("Extras.txt", "Wallpaper.bmp\r\n");
  package.write("Wallpaper.bmp", "a wallpaper");
  say("Sample package: " + package.dir());
  const e2e::MachineSnapshot before = e2e::snapshotMachine();
  const tsaver::vendor::PackageFolder folder = tsaver::vendor::readPackageFolder(package.dir());
  const std::string findings = tsaver::vendor::findingsText(tsaver::vendor::checkPackage(folder));
  say("== saverpkg check\n" + findings);
  report.heading("saverpkg check");
  report.text(findings);
  const tsaver::vendor::InstallPlan plan = tsaver::vendor::planInstallation(folder, facts);
  const std::string planText = tsaver::vendor::planText(plan);
  say("== saverpkg plan\n" + planText);
  report.heading("saverpkg plan");
  report.text(planText);

  say("== installation under Wine");
  report.heading("The installation under Wine");
  say(runningOn());
  report.text(runningOn());
  e2e::WizardSession wizard(package);
  say("Wizard: " + wizard.text("lbl_caption"));
  say("  " + wizard.text("lblInfo2"));
  screenshot(report, "demo-welcome", "The wizard's welcome page", wizard.form());
  wizard.press("btn_next");
  wizard.waitForVisible("btn_filename");
  say("Install directory: " + wizard.text("edt_filename"));
  screenshot(report, "demo-directory", "The directory page", wizard.form());
  wizard.press("btn_next");
  wizard.waitForText("btn_next", "&Finish");
  say("Finish page: " + wizard.text("lblSuccess1"));
  screenshot(report, "demo-finish", "The finish page", wizard.form());
  wizard.press("btn_next");
  if (wizard.waitForExit() != 0) return 1;
  e2e::waitForFixtureRecords("tasktray", "start", 1);
  say("Installed; the tray program is running.");

  const e2e::MachineSnapshot installed = e2e::snapshotMachine();
  const e2e::MachineChanges installation = e2e::compare(before, installed);
  list(report, "Installed", installation.added);
  list(report, "Changed by the installation", installation.changed);
  compared(report, "The installation against the plan",
           demo::differencesAfterInstallation(plan, before, installed, isWineBookkeeping));

  // A user quits the tray program before removing the product.
  e2e::stopTrayPrograms();
  const std::string installDir = e2e::defaultInstallDir(kProduct);
  e2e::Process uninstaller = e2e::Process::start(installDir + "\\Uninstall.exe", installDir);
  e2e::Dialog confirmation = e2e::waitForDialog(uninstaller.waitForDescendant("UNINSTALL.EXE"), "Confirm");
  screenshot(report, "demo-uninstall-confirm", "The uninstaller asks, from its temporary copy",
             confirmation.window());
  confirmation.press("&Yes");
  say("Uninstaller confirmed with \"&Yes\" in its temporary copy.");
  if (!uninstaller.waitForExitWithDescendants() || uninstaller.exitCode() != 0) return 1;

  const e2e::MachineSnapshot after = e2e::snapshotMachine();
  std::vector<std::string> removed, stayed;
  for (const auto& entry : installation.added) (after.count(entry) ? stayed : removed).push_back(entry);
  list(report, "Removed again", removed);
  list(report, "Stayed after the removal", stayed);
  list(report, "Made by the removal and left behind", e2e::compare(installed, after).added);
  list(report, "Still changed against the machine before", e2e::compare(before, after).changed);
  compared(report, "The removal against the plan", demo::differencesAfterRemoval(plan, after, isWineBookkeeping));
  e2e::forgetProduct(kProduct);

  const std::string page = e2e::hostPath(TSAVER_BUILD_DIR "/demo-report.html");
  report.write(page);
  say("Report: " + std::string(TSAVER_BUILD_DIR "/demo-report.html"));
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
