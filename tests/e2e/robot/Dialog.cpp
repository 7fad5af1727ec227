#include "e2e/robot/Dialog.h"

namespace e2e {

namespace {
constexpr int kMessageTextId = 0xFFFF;
}

std::string Dialog::message() const {
  const auto isText = [](const Window& w) {
    return w.className() == "Static" && (w.style() & SS_TYPEMASK) != SS_ICON && w.visible() && !w.text().empty();
  };
  for (const Window& w : window_.descendants())
    if (w.controlId() == kMessageTextId) return w.text();
  return window_.find(isText, "holding the message text").text();
}

Window Dialog::icon() const {
  for (const Window& w : window_.descendants())
    if (w.className() == "Static" && (w.style() & SS_TYPEMASK) == SS_ICON && w.visible()) return w;
  return Window();
}

void Dialog::press(const std::string& buttonCaption) const { window_.captioned(buttonCaption, "Button").press(); }

Dialog waitForDialog(DWORD processId, const std::string& caption, Millis timeout) {
  return Dialog(waitUntil(
      [&] {
        for (const Window& w : topLevelWindows(processId))
          if (w.className() == "#32770" && w.visible() && w.text() == caption) return w;
        return Window();
      },
      "a dialog \"" + caption + "\" of process " + std::to_string(processId), timeout));
}

Message answer(DWORD processId, const std::string& caption, const std::string& button) {
  const Dialog box = waitForDialog(processId, caption);
  const Message seen{box.caption(), box.message()};
  box.press(button);
  waitUntilGone(box.window(), "the box \"" + seen.text + "\"");
  return seen;
}

void chooseDirectory(const Dialog& chooser, const std::string& path) {
  chooser.window().named("DirectoryName").setText(path);
  chooser.press("OK");
}

}  // namespace e2e
