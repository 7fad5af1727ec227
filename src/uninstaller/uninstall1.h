#pragma once
// The uninstaller window: checks for the uninstall log, asks once, then on the
// first timer tick removes what the log lists and deletes the log and itself.
// A failing settings-section erase is shown as an error and ends the program,
// leaving the log and the uninstaller for another run.
#include <string>

#include "platform/Platform.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

namespace tsaver {

class SettingsFile;

class TfrmUninstall : public tk::Form {
 public:
  TfrmUninstall(tk::Application& app, Platform& platform);

  tk::Bevel* Bevel1;
  tk::Gauge* gProgress;
  tk::Button* btn_ok;
  tk::Timer* Timer;

  // The working directory at creation; the log is looked for there.
  std::string StartDir;

  void FormCreate(tk::Control* Sender);
  void FormActivate(tk::Control* Sender);
  // The whole removal run, once.
  void TimerTimer(tk::Timer* Sender);
  void btn_okClick(tk::Control* Sender);

 private:
  void layOut();
  bool logExists();

  Platform& platform_;
};

}  // namespace tsaver
