#include "e2e/WizardSession.h"

#include "e2e/ProductPackage.h"

namespace e2e {

WizardSession::WizardSession(const Package& package, const std::string& programName)
    : process_(Process::start(package.path(programName), package.dir())),
      form_(waitForWindow(process_.id(), kWizardCaption)) {
  // The pages not shown get their controls once the wizard is on the screen.
  process_.waitForInputIdle();
}

void WizardSession::waitForText(const std::string& name, const std::string& text) const {
  waitUntil([&] { return this->text(name) == text; }, name + " to read \"" + text + "\"");
}

void WizardSession::waitForVisible(const std::string& name) const {
  waitUntil([&] { return control(name).visible(); }, name + " to show");
}

DWORD WizardSession::waitForExit() const {
  if (!process_.waitForExit()) throw RobotError("the installer did not end");
  return process_.exitCode();
}

DWORD WizardSession::installAsProposed() const {
  press("btn_next");
  waitForVisible("btn_filename");
  press("btn_next");
  waitForText("btn_next", "&Finish");
  press("btn_next");
  return waitForExit();
}

}  // namespace e2e
