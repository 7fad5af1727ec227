#include "toolkit/Application.h"

#include "platform/Errors.h"

namespace tsaver::tk {

Application::~Application() {
  // Forms are destroyed newest first, as they were created.
  while (!forms_.empty()) forms_.pop_back();
}

void Application::setTitle(const std::string& title) {
  title_ = title;
  backend_.setTitle(title);
}

void Application::setIconFrom(const Form& form) {
  icon_ = form.icon();
  backend_.setIcon(icon_);
}

void Application::run() {
  if (!mainForm_) return;
  mainForm_->show();
  if (!terminated_) backend_.runMessageLoop(*this);
}

void Application::terminate() {
  if (terminated_) return;
  terminated_ = true;
  backend_.postQuit();
}

std::string Application::errorText(const std::string& message) {
  // A message that already ends its sentence gets no second full stop.
  if (!message.empty() && message.back() == '.') return message;
  return message + ".";
}

void Application::guard(const std::function<void()>& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    backend_.messageBox(errorText(e.what()), title_, MessageIcon::Error);
  }
}

}  // namespace tsaver::tk
