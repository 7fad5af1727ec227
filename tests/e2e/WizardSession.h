#pragma once
// The installer started from a package, its wizard on screen, driven by the
// controls' names.
#include <string>

#include "e2e/robot/Dialog.h"
#include "e2e/robot/Package.h"
#include "e2e/robot/Process.h"
#include "e2e/robot/Window.h"

namespace e2e {

// A network provider listed for the time of a test, as a machine with network
// drives has one: the chooser then offers mpr's connection dialog. Wine lists none.
class ScopedNetworkProvider {
 public:
  ScopedNetworkProvider();
  ~ScopedNetworkProvider();
  ScopedNetworkProvider(const ScopedNetworkProvider&) = delete;
  ScopedNetworkProvider& operator=(const ScopedNetworkProvider&) = delete;

 private:
  HKEY key_ = nullptr;
};

class WizardSession {
 public:
  // Starts package.dir() + `programName` and waits for the wizard, all its controls made.
  explicit WizardSession(const Package& package, const std::string& programName = "INSTALL.EXE");
  // The wizard of an installer that another program started (a packed setup file).
  explicit WizardSession(Process installer);

  const Process& process() const { return process_; }
  const Window& form() const { return form_; }
  Window control(const std::string& name) const { return form_.named(name); }
  std::string text(const std::string& name) const { return control(name).text(); }
  void press(const std::string& name) const { control(name).press(); }

  // Waits until the control shows `text`: presses return before their handler ran.
  void waitForText(const std::string& name, const std::string& text) const;
  // Waits until the control is visible, as the controls of the page shown are.
  void waitForVisible(const std::string& name) const;
  Message answer(const std::string& caption, const std::string& button) const {
    return e2e::answer(process_.id(), caption, button);
  }
  // Throws RobotError unless the program ends within the time-out; gives its exit code.
  DWORD waitForExit() const;
  // Next, Next into the proposed directory, Finish; waits for the program's end and gives its exit code.
  DWORD installAsProposed() const;

 private:
  Process process_;
  Window form_;
};

}  // namespace e2e
