#include "app/Startup.h"

#include "installer/WizardState.h"
#include "installer/copying.h"
#include "installer/main.h"
#include "platform/Paths.h"
#include "uninstaller/StartDirectory.h"
#include "uninstaller/TemporaryCopy.h"
#include "uninstaller/uninstall1.h"

namespace tsaver {

Mode modeFor(const std::string& programPath) {
  const std::string name = upperAscii(fileNamePart(programPath));
  if (name == "INSTALL.EXE") return Mode::Install;
  if (name == "UNINSTALL.EXE") return Mode::Uninstall;
  return Mode::None;
}

namespace {

constexpr const char* kOtherRunText =
    "Another installation or removal is running. Please try again once it has finished.";

// One run at a time: a second one, refused, says so, shows the first, and changes nothing.
bool takeRunLock(Platform& platform, tk::Application& app) {
  if (platform.takeRunLock()) return true;
  app.showMessage(kOtherRunText);
  app.bringOtherInstanceToFront();
  return false;
}

}  // namespace

int runProgram(Platform& platform, tk::Application& app) {
  // The windows' program-wide references; each is set before its window's creation runs.
  WizardState wizardState;
  TfrmInstall* frmInstall = nullptr;
  TfrmCopying* frmCopying = nullptr;
  TfrmUninstall* frmUninstall = nullptr;

  switch (modeFor(platform.moduleFileName())) {
    case Mode::Install:
      app.setTitle(kInstallTitle);
      // Before the package is read: the close clean-up deletes it, and belongs to the run that holds the lock.
      if (!takeRunLock(platform, app)) break;
      app.createForm(frmInstall, platform, wizardState, frmCopying);
      app.setIconFrom(*frmInstall);
      app.createForm(frmCopying);
      break;
    case Mode::Uninstall:
      // Before the hand-off: the copy is told this directory as the one the removal works in.
      enterStartDirectory(platform);
      // The copy runs the removal; this process ends without a window.
      if (handOffToTemporaryCopy(platform)) break;
      app.setTitle(kUninstallTitle);
      // Before the confirmation: a removal waiting for its answer holds the lock too.
      if (!takeRunLock(platform, app)) break;
      enterFirstProcessStartDirectory(platform);
      app.createForm(frmUninstall, platform);
      app.setIconFrom(*frmUninstall);
      break;
    case Mode::None:
      break;
  }
  app.run();
  return 0;
}

}  // namespace tsaver
