#pragma once
// What the toolkit needs from a windowing system: the Win32 backend shows
// forms as real windows, the headless one records and scripts for tests.
#include <optional>
#include <string>

namespace tsaver::tk {

class Application;
class Form;
class Timer;

enum class MessageIcon { None, Error, Information, Question };

class Backend {
 public:
  virtual ~Backend() = default;

  // A form was constructed; its windows may be made now, hidden.
  virtual void formCreated(Form& form) = 0;
  virtual void showForm(Form& form) = 0;
  virtual void hideForm(Form& form) = 0;
  virtual void bringToFront(Form& form) = 0;
  virtual void repaint(Form& form) = 0;
  // A timer's interval or enabled state changed.
  virtual void timerChanged(Timer& timer) = 0;

  virtual void setTitle(const std::string& title) = 0;
  // Empty: the system's default application icon.
  virtual void setIcon(const std::string& resource) = 0;

  // Dispatches messages until postQuit; returns at once when no form is shown.
  virtual void runMessageLoop(Application& app) = 0;
  // Dispatches what is queued, then returns.
  virtual void processMessages() = 0;
  virtual void postQuit() = 0;

  // A modal box with an OK button.
  virtual void messageBox(const std::string& text, const std::string& caption, MessageIcon icon) = 0;
  // "Confirm", question mark, "&Yes" (default, Enter) and "&No" (Esc). True for Yes.
  virtual bool confirm(const std::string& text) = 0;
  // "Select Directory" on the current directory; any path may be typed; a missing
  // one is offered for creation ("The specified directory does not exist. Create
  // it?", No keeps the chooser open) and created with its parents on OK.
  // The chosen path, or nothing when cancelled.
  virtual std::optional<std::string> selectDirectory() = 0;
  // Brings the window of another running instance of this program to the front,
  // its open box or dialog first, where one is on screen.
  virtual void bringOtherInstanceToFront() = 0;
};

}  // namespace tsaver::tk
