#pragma once
// The gauge's window (class TkGauge), drawn as the gauge's model says: a
// one-pixel black frame, the interior in the back colour, the bar in the fore
// colour from the interior's left edge to Gauge::barRight(), and, with
// showText(), "NN%" centred in the interior, each of its pixels inverting
// what lies beneath (white text combined by exclusive-or).
#include "toolkit/win32/ControlPeer.h"

namespace tsaver::tk {

class GaugePeer : public OwnWindowPeer {
 public:
  GaugePeer(FormPeer& form, Gauge& gauge);

 protected:
  LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void onChanged(Change what) override;

 private:
  void paint(HWND window, HDC dc) const;
  Gauge& gauge_;
};

}  // namespace tsaver::tk
