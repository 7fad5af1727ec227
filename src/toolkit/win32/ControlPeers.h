#pragma once
// Peers of the simple controls: labels (STATIC), buttons (BUTTON), the flat
// picture button (an owner-drawn BUTTON) and the controls that their parent
// paints (bevel, shape, image).
#include "toolkit/win32/ControlPeer.h"

namespace tsaver::tk {

class LabelPeer : public ControlPeer {
 public:
  LabelPeer(FormPeer& form, Label& label);
  // Text in the font's colour; a transparent label leaves its background alone.
  HBRUSH colorStatic(HDC dc) override;

 protected:
  void onChanged(Change what) override;

 private:
  DWORD wrapStyle() const;
  Label& label_;
};

class ButtonPeer : public ControlPeer {
 public:
  ButtonPeer(FormPeer& form, Button& button);
  Button& button() const { return button_; }
  // A press by the user (click, Enter, a robot's WM_COMMAND): the button's click().
  void press() { button_.click(); }
  void command(WORD notification) override;

 protected:
  ButtonPeer(FormPeer& form, Button& button, DWORD style);

 private:
  Button& button_;
};

class SpeedButtonPeer : public ButtonPeer {
 public:
  SpeedButtonPeer(FormPeer& form, SpeedButton& button);
  // The glyph centred on the parent's colour; sunken while pressed.
  void drawItem(const DRAWITEMSTRUCT& item) override;

 private:
  UniqueBitmap glyph_;
};

class PaintedPeer : public ControlPeer {
 public:
  PaintedPeer(FormPeer& form, Control& control);
  void changed(Change what) override;
  void paintOn(HDC dc) override;

 private:
  RECT painted_;  // where it was last placed, to be repainted when it moves
  UniqueBitmap bitmap_;
};

}  // namespace tsaver::tk
