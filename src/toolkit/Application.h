#pragma once
// The application object: title, icon, the forms it owns, the main window
// rule, the message loop and the one error boundary for event handlers.
#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "toolkit/Backend.h"
#include "toolkit/Form.h"

namespace tsaver::tk {

class Application {
 public:
  explicit Application(Backend& backend) : backend_(backend) {}
  ~Application();
  Application(const Application&) = delete;
  Application& operator=(const Application&) = delete;

  Backend& backend() const { return backend_; }

  const std::string& title() const { return title_; }
  void setTitle(const std::string& title);
  const std::string& icon() const { return icon_; }
  // The application shows the form's own icon (the system default when it has none).
  void setIconFrom(const Form& form);

  // Constructs a form, sets the reference before its creation handler runs,
  // runs it, and makes the first form created the main form once that is done.
  template <typename T, typename... Args>
  T* createForm(T*& reference, Args&&... args) {
    auto owned = std::make_unique<T>(*this, std::forward<Args>(args)...);
    T* form = owned.get();
    forms_.push_back(std::move(owned));
    reference = form;
    backend_.formCreated(*form);
    form->create();
    if (!mainForm_) mainForm_ = form;
    return form;
  }
  Form* mainForm() const { return mainForm_; }

  // Shows the main form, if any, and dispatches messages until terminated.
  void run();
  void processMessages() { backend_.processMessages(); }
  void terminate();
  bool terminated() const { return terminated_; }

  // Runs an event handler. An exception that leaves it is shown in a box with
  // the stop icon, captioned with the title; the rest of the handler is skipped.
  void guard(const std::function<void()>& handler);
  // The error box's text for an exception message.
  static std::string errorText(const std::string& message);

  void showMessage(const std::string& text) { backend_.messageBox(text, title_, MessageIcon::None); }
  void messageBox(const std::string& text, const std::string& caption, MessageIcon icon) {
    backend_.messageBox(text, caption, icon);
  }
  bool confirm(const std::string& text) { return backend_.confirm(text); }
  std::optional<std::string> selectDirectory() { return backend_.selectDirectory(); }
  void bringOtherInstanceToFront() { backend_.bringOtherInstanceToFront(); }

 private:
  Backend& backend_;
  std::string title_;
  std::string icon_ = "MAINICON";
  std::vector<std::unique_ptr<Form>> forms_;
  Form* mainForm_ = nullptr;
  bool terminated_ = false;
};

}  // namespace tsaver::tk
