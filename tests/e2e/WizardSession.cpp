#include "e2e/WizardSession.h"

#include <utility>

#include "e2e/ProductPackage.h"

namespace e2e {

namespace {
const char kNetworkProviderOrder[] = "SYSTEM\\CurrentControlSet\\Control\\NetworkProvider\\Order";
}  // namespace

ScopedNetworkProvider::ScopedNetworkProvider() {
  RegCreateKeyExA(HKEY_LOCAL_MACHINE, kNetworkProviderOrder, 0, nullptr, 0, KEY_SET_VALUE, nullptr, &key_, nullptr);
  const char order[] = "E2EProvider";
  if (RegSetValueExA(key_, "ProviderOrder", 0, REG_SZ, reinterpret_cast<const BYTE*>(order), sizeof order) != 0) {
    RegCloseKey(key_);
    throw RobotError("cannot list a network provider");
  }
}

ScopedNetworkProvider::~ScopedNetworkProvider() {
  RegDeleteValueA(key_, "ProviderOrder");
  RegCloseKey(key_);
}

WizardSession::WizardSession(const Package& package, const std::string& programName)
    : WizardSession(Process::start(package.path(programName), package.dir())) {}

WizardSession::WizardSession(Process installer)
    : process_(std::move(installer)), form_(waitForWindow(process_.id(), kWizardCaption)) {
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
