#include "toolkit/win32/ControlPeers.h"

#include <windowsx.h>

#include "toolkit/win32/FormPeer.h"
#include "toolkit/win32/Gdi.h"

namespace tsaver::tk {

LabelPeer::LabelPeer(FormPeer& form, Label& label) : ControlPeer(form, label), label_(label) {
  createWindow("STATIC", wrapStyle());
}

DWORD LabelPeer::wrapStyle() const { return label_.wordWrap() ? SS_LEFT : SS_LEFTNOWORDWRAP; }

HBRUSH LabelPeer::colorStatic(HDC dc) {
  SetTextColor(dc, colorRef(label_.font().color));
  if (label_.transparent()) {
    SetBkMode(dc, TRANSPARENT);
    return static_cast<HBRUSH>(GetStockObject(NULL_BRUSH));
  }
  SetBkColor(dc, colorRef(label_.color()));
  return backgroundBrush();
}

void LabelPeer::onChanged(Change what) {
  if (what == Change::Style) {
    const LONG_PTR style = GetWindowLongPtrA(window(), GWL_STYLE);
    SetWindowLongPtrA(window(), GWL_STYLE, (style & ~static_cast<LONG_PTR>(SS_TYPEMASK)) | wrapStyle());
    InvalidateRect(window(), nullptr, TRUE);
  }
  // A transparent label draws its new look over its old one: the parent
  // repaints beneath it first.
  const bool looks = what == Change::Caption || what == Change::Font || what == Change::Color || what == Change::Style;
  if (looks && label_.transparent()) invalidateBeneath();
}

ButtonPeer::ButtonPeer(FormPeer& form, Button& button)
    : ButtonPeer(form, button, WS_TABSTOP | (button.isDefault() ? BS_DEFPUSHBUTTON : BS_PUSHBUTTON)) {}

ButtonPeer::ButtonPeer(FormPeer& form, Button& button, DWORD style) : ControlPeer(form, button), button_(button) {
  createWindow("BUTTON", style);
}

void ButtonPeer::command(WORD notification) {
  if (notification == BN_CLICKED) press();
}

SpeedButtonPeer::SpeedButtonPeer(FormPeer& form, SpeedButton& button)
    : OwnWindowPeer(form, button), button_(button), glyph_(LoadBitmapA(form.instance(), button.glyph().c_str())) {
  createWindow(WindowClasses::kSpeedButton, 0);
}

void SpeedButtonPeer::command(WORD notification) {
  if (notification == BN_CLICKED) button_.click();
}

void SpeedButtonPeer::onChanged(Change what) {
  if (what == Change::Enabled) InvalidateRect(window(), nullptr, FALSE);
}

void SpeedButtonPeer::showPressed(bool pressed) {
  if (pressed == pressed_) return;
  pressed_ = pressed;
  InvalidateRect(window(), nullptr, FALSE);
}

LRESULT SpeedButtonPeer::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_LBUTTONDOWN:
      held_ = true;
      SetCapture(window);
      showPressed(true);
      return 0;
    case WM_MOUSEMOVE:
      if (held_) {
        RECT client;
        GetClientRect(window, &client);
        showPressed(PtInRect(&client, POINT{GET_X_LPARAM(lParam), GET_Y_LPARAM(lParam)}) != 0);
      }
      return 0;
    case WM_LBUTTONUP:
      if (held_) {
        const bool clicked = pressed_;
        ReleaseCapture();  // its WM_CAPTURECHANGED ends the holding
        if (clicked) button_.click();
      }
      return 0;
    case WM_CAPTURECHANGED:
      held_ = false;
      showPressed(false);
      return 0;
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT paints every pixel
    case WM_PAINT: {
      PaintScope scope(window);
      paint(window, scope.dc());
      return 0;
    }
    default:
      return OwnWindowPeer::handle(window, message, wParam, lParam);
  }
}

void SpeedButtonPeer::paint(HWND window, HDC dc) const {
  RECT r;
  GetClientRect(window, &r);
  UniqueBrush face = makeBrush(button_.parent()->color());
  FillRect(dc, &r, face.get());
  if (pressed_) DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
  BITMAP bm{};
  if (!glyph_ || !GetObjectA(glyph_.get(), sizeof bm, &bm)) return;
  const int shift = pressed_ ? 1 : 0;
  const int x = r.left + (r.right - r.left - bm.bmWidth) / 2 + shift;
  const int y = r.top + (r.bottom - r.top - bm.bmHeight) / 2 + shift;
  const UINT state = button_.enabled() ? DSS_NORMAL : DSS_DISABLED;
  DrawStateA(dc, nullptr, nullptr, reinterpret_cast<LPARAM>(glyph_.get()), 0, x, y, bm.bmWidth, bm.bmHeight,
             DST_BITMAP | state);
}

PaintedPeer::PaintedPeer(FormPeer& form, Control& control) : ControlPeer(form, control), painted_(boundsRect()) {
  if (control.kind() == Kind::Image)
    bitmap_.reset(LoadBitmapA(form.instance(), static_cast<Image&>(control).bitmap().c_str()));
}

void PaintedPeer::changed(Change) {
  form_.noteChange();
  RedrawWindow(parentWindow(), &painted_, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN);
  painted_ = boundsRect();
  invalidateBeneath();
}

void PaintedPeer::paintOn(HDC dc) {
  RECT r = boundsRect();
  switch (control().kind()) {
    case Kind::Shape: {
      UniqueBrush fill = makeBrush(control().color());
      FillRect(dc, &r, fill.get());
      break;
    }
    case Kind::Bevel:
      DrawEdge(dc, &r, BDR_SUNKENOUTER, BF_RECT);
      break;
    case Kind::Image: {
      BITMAP bm{};
      if (!bitmap_ || !GetObjectA(bitmap_.get(), sizeof bm, &bm)) break;
      UniqueMemoryDc source(CreateCompatibleDC(dc));
      ScopedSelect select(source.get(), bitmap_.get());
      SetStretchBltMode(dc, COLORONCOLOR);
      StretchBlt(dc, r.left, r.top, r.right - r.left, r.bottom - r.top, source.get(), 0, 0, bm.bmWidth, bm.bmHeight,
                 SRCCOPY);
      break;
    }
    default:
      break;
  }
}

}  // namespace tsaver::tk
