#include "uninstaller/uninstall1.h"

#include "uninstall_log/LogNames.h"

namespace tsaver {

TfrmUninstall::TfrmUninstall(tk::Application& app, Platform& platform)
    : tk::Form(app, "frmUninstall"), platform_(platform) {
  layOut();
  onCreate = [this] { FormCreate(this); };
  onActivate = [this] { FormActivate(this); };
  btn_ok->onClick = [this] { btn_okClick(btn_ok); };
  Timer->onTimer = [this] { TimerTimer(Timer); };
}

void TfrmUninstall::layOut() {
  setCaption("Uninstall");
  setBorderStyle(tk::BorderStyle::Dialog);
  setClientSize(313, 37);
  setColor(tk::clSilver);
  setFont(tk::Font{});

  Bevel1 = add<tk::Bevel>("Bevel1");
  Bevel1->setBounds({2, 2, 310, 34});

  gProgress = add<tk::Gauge>("gProgress");
  gProgress->setBounds({7, 7, 300, 24});
  gProgress->setForeColor(tk::clNavy);
  gProgress->setBackColor(tk::clWhite);
  gProgress->setShowText(true);
  gProgress->setMaxValue(10);
  gProgress->setProgress(0);

  // Below the client area: never seen; enabled only at the very end of the run.
  btn_ok = add<tk::Button>("btn_ok");
  btn_ok->setBounds({129, 60, 75, 25});
  btn_ok->setCaption("OK");
  btn_ok->setDefault(true);
  btn_ok->setEnabled(false);
  btn_ok->setTabOrder(0);

  Timer = addTimer("Timer");
  Timer->setInterval(100);
  Timer->setEnabled(false);
}

bool TfrmUninstall::logExists() { return platform_.fileExists(StartDir + "\\" + log::kFileName); }

void TfrmUninstall::FormCreate(tk::Control*) { StartDir = platform_.currentDirectory(); }

void TfrmUninstall::FormActivate(tk::Control*) {}

void TfrmUninstall::TimerTimer(tk::Timer*) {}

void TfrmUninstall::btn_okClick(tk::Control*) { close(); }

}  // namespace tsaver
