// The demonstration: plans the installation of the sample package with the
// vendor's tool, packs it into one signed setup file, runs that file under Wine
// as a user would, clicking through the wizard, removes the product again with
// the installed uninstaller, and reports what was installed, removed and left,
// and whether all went as planned.
#include <windows.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "demo/HtmlReport.h"
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
#include "e2e/robot/Screen.h"
#include "vendor/InstallPlan.h"
#include "vendor/PackageCheck.h"
#include "vendor/PackedSetup.h"
#include "vendor/Reports.h"

namespace {

const char kProduct[] = "Tessaryn";
// Where the packed file goes: a folder of the build, which the Linux signing tools reach too.
const std::string kDownloads = TSAVER_BUILD_DIR "/demo-setup";

void say(const std::string& line) {
  std::printf("%s\n", line.c_str());
  std::fflush(stdout);
}

std::vector<std::string> shown(const std::vector<std::string>& entries) {
  std::vector<std::string> kept;
  std::copy_if(entries.begin(), entries.end(), std::back_inserter(kept),
               [](const std::string& e) { return !e2e::isOutsideTheInstallation(e); });
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

// The one file that a user downloads: the package packed behind the extractor, as
// `saverpkg pack` does, and signed as a vendor signs it, here by a throwaway
// certificate. Gives the signed file's name in kDownloads.
std::string packAndSign(demo::HtmlReport& report, const tsaver::vendor::PackageFolder& folder) {
  e2e::makeDirectories(e2e::hostPath(kDownloads));
  const std::string packedName = "TessarynSetup.exe", signedName = "TessarynSetup-signed.exe";
  const tsaver::vendor::PackedSetup packed =
      tsaver::vendor::packSetup(folder, e2e::readFile(e2e::hostPath(TSAVER_EXTRACTOR_EXE)));
  e2e::writeFile(e2e::hostPath(kDownloads + "/" + packedName), packed.bytes);
  say("== saverpkg pack\n" + tsaver::vendor::packText(packedName, packed, {}));
  report.heading("saverpkg pack");
  report.text(tsaver::vendor::packText(packedName, packed, {}));
  const e2e::Signing signing = e2e::signWithThrowawayCertificate(kDownloads, packedName, signedName);
  const std::string content = e2e::readFile(e2e::hostPath(kDownloads + "/" + signedName));
  const tsaver::vendor::SetupCheck check = tsaver::vendor::checkSetup(content);
  const std::string text = "Signed with osslsigncode by a THROWAWAY certificate made for this demonstration (" +
                           signing.subject + "), not a publisher's: osslsigncode verify " +
                           (signing.verified ? "succeeded" : "FAILED") + " against that certificate.\n" +
                           tsaver::vendor::setupCheckText(signedName, content, check);
  say("== the file to download\n" + text);
  report.heading("The file to download");
  report.text(text);
  return signedName;
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

  const std::string setupName = packAndSign(report, folder);

  say("== installation under Wine, from the packed file");
  report.heading("The installation under Wine, from the packed file");
  say(runningOn());
  report.text(runningOn());
  e2e::Process setup = e2e::Process::start(e2e::hostPath(kDownloads + "/" + setupName), e2e::hostPath(kDownloads));
  e2e::WizardSession wizard(e2e::Process::open(setup.waitForDescendant("Install.exe")));
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
  if (wizard.waitForExit() != 0 || !setup.waitForExit() || setup.exitCode() != 0) return 1;
  say("The setup file ended with the wizard and removed its unpacked folder.");
  e2e::waitForFixtureRecords("tasktray", "start", 1);
  say("Installed; the tray program is running.");

  const e2e::MachineSnapshot installed = e2e::snapshotMachine();
  const e2e::MachineChanges installation = e2e::compare(before, installed);
  list(report, "Installed", installation.added);
  list(report, "Changed by the installation", installation.changed);
  compared(report, "The installation against the plan",
           e2e::differencesAfterInstallation(plan, before, installed, e2e::isOutsideTheInstallation));

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
  compared(report, "The removal against the plan", e2e::differencesAfterRemoval(plan, after, e2e::isOutsideTheInstallation));
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
