#include "toolkit/HeadlessBackend.h"

#include "toolkit/Form.h"

namespace tsaver::tk {

void HeadlessBackend::showForm(Form& form) { form.activated(); }

void HeadlessBackend::processMessages() {
  ++pumps_;
  if (onPump) onPump();
}

void HeadlessBackend::record(DialogRecord r) {
  dialogs_.push_back(r);
  if (onDialog) onDialog(dialogs_.back());
}

std::vector<std::string> HeadlessBackend::messageTexts() const {
  std::vector<std::string> texts;
  for (const auto& d : dialogs_)
    if (d.type == DialogRecord::Message) texts.push_back(d.text);
  return texts;
}

void HeadlessBackend::messageBox(const std::string& text, const std::string& caption, MessageIcon icon) {
  record({DialogRecord::Message, text, caption, icon});
}

bool HeadlessBackend::confirm(const std::string& text) {
  record({DialogRecord::Confirm, text, "Confirm", MessageIcon::Question});
  if (confirms_.empty()) {
    ++unscripted_;
    return false;
  }
  const bool yes = confirms_.front();
  confirms_.pop_front();
  return yes;
}

std::optional<std::string> HeadlessBackend::selectDirectory() {
  for (;;) {
    record({DialogRecord::Chooser, "", "Select Directory", MessageIcon::None});
    if (choosers_.empty()) {
      ++unscripted_;
      return std::nullopt;
    }
    std::optional<std::string> chosen = choosers_.front();
    choosers_.pop_front();
    if (!chosen) return std::nullopt;
    if (platform_.directoryExists(*chosen)) return chosen;
    // As the real chooser: a missing directory is offered for creation; No keeps it open.
    if (confirm("The specified directory does not exist. Create it?")) {
      forceDirectories(platform_, *chosen);
      return chosen;
    }
  }
}

}  // namespace tsaver::tk
