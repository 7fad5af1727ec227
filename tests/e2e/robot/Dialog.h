#pragma once
// Dialog boxes (#32770) of another process: message boxes, confirmations and
// the directory chooser, read and answered by their buttons' captions.
#include <string>

#include "e2e/robot/Window.h"

namespace e2e {

class Dialog {
 public:
  explicit Dialog(Window window) : window_(window) {}
  const Window& window() const { return window_; }
  std::string caption() const { return window_.text(); }
  // The text of a message box (its static control 0xFFFF, under Windows and
  // Wine alike) or of a box like it (its first visible text static).
  std::string message() const;
  // The visible icon control of a message box; a null window when it shows none.
  Window icon() const;
  // Presses the button captioned so ("OK", "&Yes", "&No").
  void press(const std::string& buttonCaption) const;

 private:
  Window window_;
};

// The visible dialog of the process with this caption.
Dialog waitForDialog(DWORD processId, const std::string& caption, Millis timeout = kTimeout);

struct Message {
  std::string caption, text;
};
// Waits for a message box with this caption, presses `button` and waits until
// the box has gone; gives what the box said.
Message answer(DWORD processId, const std::string& caption, const std::string& button);

// In the chooser: types `path` into its name field (TkName "DirectoryName") and presses OK.
void chooseDirectory(const Dialog& chooser, const std::string& path);

}  // namespace e2e
