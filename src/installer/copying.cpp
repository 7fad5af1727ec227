#include "installer/copying.h"

#include "toolkit/Resources.h"

namespace tsaver {

TfrmCopying::TfrmCopying(tk::Application& app) : tk::Form(app, "frmCopying") {
  setCaption("Copying files . . .");
  setBorderStyle(tk::BorderStyle::ToolWindow);
  setClientSize(274, 67);
  setStayOnTop(true);
  setFont(tk::Font{});

  Img_back = add<tk::Image>("Img_back");
  Img_back->setBounds({0, 0, 274, 67});
  Img_back->setBitmap(tk::res::kSkyBarBitmap);

  lbl_file = add<tk::Label>("lbl_file");
  lbl_file->setBounds({12, 8, 248, 25});
  lbl_file->setFixedSize(true);
  lbl_file->setTransparent(true);
  lbl_file->setWordWrap(true);
  lbl_file->setCaption("Copying files . . . ");

  Gauge = add<tk::Gauge>("Gauge");
  Gauge->setBounds({11, 35, 252, 20});
  Gauge->setShowText(false);
  Gauge->setForeColor(tk::clWhite);
  Gauge->setBackColor(tk::clSkyBar);

  // Below the client area: never seen, never enabled; copying cannot be cancelled.
  btn_cancel = add<tk::Button>("btn_cancel");
  btn_cancel->setBounds({94, 86, 75, 25});
  btn_cancel->setCaption("Cancel");
  btn_cancel->setCancel(true);
  btn_cancel->setEnabled(false);
  btn_cancel->setModalResult(2);
  btn_cancel->onClick = [this] { btn_cancelClick(btn_cancel); };

  Timer = addTimer("Timer");
  Timer->onTimer = [this] { TimerTimer(Timer); };
}

void TfrmCopying::btn_cancelClick(tk::Control*) { close(); }

void TfrmCopying::TimerTimer(tk::Timer*) { close(); }

}  // namespace tsaver
