#pragma once
// A backend without windows, for tests: it records every dialog the program
// shows and answers confirmations and the directory chooser from a script.
#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include "platform/Platform.h"
#include "toolkit/Backend.h"

namespace tsaver::tk {

struct DialogRecord {
  enum Type { Message, Confirm, Chooser } type;
  std::string text;
  std::string caption;
  MessageIcon icon = MessageIcon::None;
};

class HeadlessBackend : public Backend {
 public:
  // The platform serves the chooser's existence test and directory creation.
  explicit HeadlessBackend(Platform& platform) : platform_(platform) {}

  // Script: the answers to the next confirmations and chooser openings, in order.
  // An unscripted confirmation answers No, an unscripted chooser is cancelled.
  void answerConfirm(bool yes) { confirms_.push_back(yes); }
  void answerChooser(std::optional<std::string> path) { choosers_.push_back(std::move(path)); }

  // Called at every message pump, and after each message box is "closed".
  std::function<void()> onPump;
  std::function<void(const DialogRecord&)> onDialog;

  const std::vector<DialogRecord>& dialogs() const { return dialogs_; }
  std::vector<std::string> messageTexts() const;
  int pumps() const { return pumps_; }
  const std::string& title() const { return title_; }
  const std::string& icon() const { return icon_; }
  bool quitPosted() const { return quit_; }
  int unscripted() const { return unscripted_; }

  void formCreated(Form&) override {}
  void showForm(Form& form) override;
  void hideForm(Form&) override {}
  void bringToFront(Form&) override {}
  void repaint(Form&) override {}
  void timerChanged(Timer&) override {}
  void setTitle(const std::string& title) override { title_ = title; }
  void setIcon(const std::string& resource) override { icon_ = resource; }
  void runMessageLoop(Application&) override {}
  void processMessages() override;
  void postQuit() override { quit_ = true; }
  void messageBox(const std::string& text, const std::string& caption, MessageIcon icon) override;
  bool confirm(const std::string& text) override;
  std::optional<std::string> selectDirectory() override;
  void bringOtherInstanceToFront() override { ++othersBroughtToFront_; }
  int othersBroughtToFront() const { return othersBroughtToFront_; }

 private:
  int othersBroughtToFront_ = 0;
  void record(DialogRecord r);
  Platform& platform_;
  std::deque<bool> confirms_;
  std::deque<std::optional<std::string>> choosers_;
  std::vector<DialogRecord> dialogs_;
  std::string title_;
  std::string icon_;
  int pumps_ = 0;
  int unscripted_ = 0;
  bool quit_ = false;
};

}  // namespace tsaver::tk
