#include "Rounds.h"

#include <windows.h>

#include "Machine.h"
#include "ProcessTable.h"
#include "Stopwatch.h"
#include "e2e/ProductPackage.h"
#include "e2e/robot/Dialog.h"
#include "e2e/robot/Process.h"
#include "e2e/robot/Window.h"

namespace bench {

namespace {

// Long enough for the slowest run on a busy machine; a run that takes longer has failed.
constexpr e2e::Millis kRunTimeout{120000};

// Polls `probe` once a millisecond without sleeping: the pause is a wait on the
// program's process handle, so a program that ends first is noticed at once.
template <typename Probe>
void pollWhileRunning(const e2e::Process& program, Probe&& probe, const std::string& what) {
  const Stopwatch waited;
  while (!probe()) {
    if (program.waitForExit(e2e::Millis(1)) && !probe())
      throw e2e::RobotError("the program ended before " + what);
    if (waited.milliseconds() > kRunTimeout.count()) throw e2e::RobotError("timed out waiting for " + what);
  }
}

// The program's visible window with the caption, once it answers a message.
e2e::Window waitForWindowOf(const e2e::Process& program, const std::string& caption) {
  e2e::Window window;
  pollWhileRunning(program, [&] { return bool(window = e2e::findWindow(program.id(), caption)); },
                   "the window \"" + caption + "\"");
  return window;
}

void expectExitCode(const e2e::Process& process, const std::string& who) {
  if (!process.waitForExit(kRunTimeout)) throw e2e::RobotError(who + " did not end");
  if (process.exitCode() != 0) throw e2e::RobotError(who + " ended with code " + std::to_string(process.exitCode()));
}

// The uninstaller may run as a copy of itself: its box is found by class and caption, whatever its process.
e2e::Window confirmationBox() {
  const e2e::Window box(FindWindowA("#32770", "Confirm"));
  return box && box.visible() ? box : e2e::Window();
}

// `step` names the step under way, for the message when one fails.
ProgramRound measureProgram(const Payload& payload, std::string& step) {
  step = "preparing the machine";
  resetMachine();
  const std::string package = copyPayload(payload);
  ProgramRound round{};

  step = "waiting for the wizard";
  const Stopwatch started;
  const e2e::Process installer = e2e::Process::start(package + "INSTALL.EXE", package);
  const e2e::Window wizard = waitForWindowOf(installer, e2e::kWizardCaption);
  round.wizardShown = started.milliseconds();
  installer.waitForInputIdle();

  step = "going to the directory page";
  const e2e::Window next = wizard.named("btn_next");
  next.press();
  e2e::waitUntil([&] { return wizard.named("btn_filename").visible(); }, "the directory page");
  step = "the installation run";
  const e2e::Window finishPage = wizard.named("lblSuccess1");
  const Stopwatch run;
  next.press();
  pollWhileRunning(installer, [&] { return finishPage.visible(); }, "the finish page");
  round.installRun = run.milliseconds();

  step = "the finish stage";
  // Next is enabled again at the run's end; the posted click is handled after the run has returned.
  e2e::waitUntil([&] { return next.enabled(); }, "the Finish button");
  const Stopwatch finish;
  next.press();
  if (!installer.waitForExit(kRunTimeout)) throw e2e::RobotError("the installer did not end after Finish");
  round.finishStage = finish.milliseconds();
  expectExitCode(installer, "the installer");
  checkInstalled("the program", payload);
  round.trayWaits = loggedTrayPrograms();

  step = "waiting for the uninstaller's confirmation";
  const e2e::Process uninstaller = e2e::Process::start(installDir() + "\\Uninstall.exe", installDir());
  const e2e::Dialog confirm(e2e::waitUntil(confirmationBox, "the uninstaller's confirmation"));
  step = "the removal";
  const Stopwatch removal;
  confirm.press("&Yes");
  waitUntilNoProcessNamed("UNINSTALL.EXE", kRunTimeout);
  round.removal = removal.milliseconds();
  checkRemoved("the program's uninstaller", payload);
  return round;
}

std::string folderOf(const std::string& path) { return path.substr(0, path.find_last_of('\\') + 1); }

PackedRound measurePacked(const std::string& setupFile, const Payload& payload, std::string& step) {
  step = "preparing the machine";
  resetMachine();
  PackedRound round{};
  step = "waiting for its window";
  const Stopwatch started;
  const e2e::Process setup = e2e::Process::start(setupFile, folderOf(setupFile));
  waitForWindowOf(setup, "Tessaryn Saver Setup");
  round.windowShown = started.milliseconds();

  step = "waiting for the wizard";
  const e2e::Process installer = e2e::Process::open(setup.waitForDescendant("INSTALL.EXE", kRunTimeout));
  const e2e::Window wizard = waitForWindowOf(installer, e2e::kWizardCaption);
  installer.waitForInputIdle();
  step = "clicking through the wizard";
  const e2e::Window next = wizard.named("btn_next"), finishPage = wizard.named("lblSuccess1");
  next.press();
  pollWhileRunning(installer, [&] { return wizard.named("btn_filename").visible(); }, "the directory page");
  next.press();
  pollWhileRunning(installer, [&] { return finishPage.visible() && next.enabled(); }, "the finish page");
  next.press();
  expectExitCode(setup, "the packed file");
  round.installed = started.milliseconds();
  checkInstalled("the packed file", payload);
  return round;
}

PeerRound measurePeer(const std::string& peerInstaller, const std::string& peerWizard, const Payload& payload,
                      std::string& step) {
  step = "opening its wizard";
  resetMachine();
  PeerRound round{};
  if (!peerWizard.empty()) {
    const Stopwatch opened;
    e2e::Process wizard = e2e::Process::start(peerWizard, folderOf(peerWizard));
    // NSIS names the page in its caption.
    waitForWindowOf(wizard, std::string(kProduct) + " Setup: Installation Folder");
    round.wizardShown = opened.milliseconds();
    wizard.kill();
  }

  step = "installing";
  const Stopwatch install;
  const std::string folder = folderOf(peerInstaller);
  const e2e::Process installer = e2e::Process::start(peerInstaller, folder, "/S");
  if (!installer.waitForExit(kRunTimeout)) throw e2e::RobotError("the peer's installer did not end");
  round.install = install.milliseconds();
  expectExitCode(installer, "the peer's installer");
  checkInstalled("the peer", payload);

  step = "removing";
  const Stopwatch removal;
  const e2e::Process uninstaller = e2e::Process::start(installDir() + "\\Uninstall.exe", installDir(), "/S");
  round.removalProcesses = waitForProcessTree(uninstaller.id(), kRunTimeout);
  round.removal = removal.milliseconds();
  expectExitCode(uninstaller, "the peer's uninstaller");
  checkRemoved("the peer's uninstaller", payload);
  return round;
}

template <typename Round, typename Measure>
Round withStepInError(const std::string& side, Measure&& measure) {
  std::string step;
  try {
    return measure(step);
  } catch (const e2e::RobotError& e) {
    throw e2e::RobotError(side + ", " + step + ": " + e.what());
  }
}

}  // namespace

ProgramRound runProgram(const Payload& payload) {
  return withStepInError<ProgramRound>("the program " + std::string(payload.name),
                                       [&](std::string& step) { return measureProgram(payload, step); });
}

PeerRound runPeer(const std::string& peerInstaller, const std::string& peerWizard, const Payload& payload) {
  return withStepInError<PeerRound>("the peer " + std::string(payload.name), [&](std::string& step) {
    return measurePeer(peerInstaller, peerWizard, payload, step);
  });
}

PackedRound runPacked(const std::string& setupFile, const Payload& payload) {
  return withStepInError<PackedRound>("the packed file " + setupFile,
                                      [&](std::string& step) { return measurePacked(setupFile, payload, step); });
}

double runOneWindow(const std::string& program) {
  const Stopwatch started;
  const e2e::Process process = e2e::Process::start(program, folderOf(program));
  const e2e::Window window = waitForWindowOf(process, "One window");
  const double shown = started.milliseconds();
  PostMessageA(window.handle(), WM_CLOSE, 0, 0);
  expectExitCode(process, "the one-window program");
  return shown;
}

}  // namespace bench
