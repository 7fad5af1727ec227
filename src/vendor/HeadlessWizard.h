#pragma once
// The install wizard on a simulated machine, created and shown as start-up
// does, with nobody at the screen: the vendor tools press its buttons.
#include "app/Startup.h"
#include "installer/WizardState.h"
#include "installer/copying.h"
#include "installer/main.h"
#include "platform/SimulatedWindows.h"
#include "toolkit/Application.h"
#include "toolkit/HeadlessBackend.h"

namespace tsaver::vendor {

struct HeadlessWizard {
  // Shows the wizard, which reads "Data.dat" from the folder of the machine's program file.
  explicit HeadlessWizard(SimulatedWindows& machine) : ui(machine) {
    app.setTitle(kInstallTitle);
    app.createForm(install, machine, state, copying);
    app.createForm(copying);
    app.run();
  }

  tk::HeadlessBackend ui;
  tk::Application app{ui};
  WizardState state;
  TfrmInstall* install = nullptr;
  TfrmCopying* copying = nullptr;
};

}  // namespace tsaver::vendor
