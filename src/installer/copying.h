#pragma once
// The copy progress window: which file the installation run copies, and how
// far it has got. Only the run shows, updates and hides it.
#include "toolkit/Application.h"
#include "toolkit/Form.h"

namespace tsaver {

class TfrmCopying : public tk::Form {
 public:
  explicit TfrmCopying(tk::Application& app);

  tk::Image* Img_back;
  tk::Label* lbl_file;
  tk::Gauge* Gauge;
  tk::Button* btn_cancel;
  tk::Timer* Timer;

  void btn_cancelClick(tk::Control* Sender);
  void TimerTimer(tk::Timer* Sender);
};

}  // namespace tsaver
