#pragma once
// Peers of the simple controls: labels (STATIC), buttons (BUTTON), the flat
// picture button (a window of the toolkit's own) and the controls that their
// parent paints (bevel, shape, image).
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

// The glyph centred on the parent's colour, sunken while the mouse holds it
// down. Unlike a BUTTON, it never takes the focus, not even from a click, and
// is no tab stop: after its click, keys go where they went before.
class SpeedButtonPeer : public OwnWindowPeer {
 public:
  SpeedButtonPeer(FormPeer& form, SpeedButton& button);
  // BN_CLICKED, as a robot sends it to the parent, presses it as a click does.
  void command(WORD notification) override;

 protected:
  LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  void onChanged(Change what) override;

 private:
  void paint(HWND window, HDC dc) const;
  void showPressed(bool pressed);
  SpeedButton& button_;
  UniqueBitmap glyph_;
  bool held_ = false;     // the mouse button went down here and is still down
  bool pressed_ = false;  // held, with the pointer over the button
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
