#include "toolkit/win32/GaugePeer.h"

#include <algorithm>
#include <string>

#include "toolkit/win32/Gdi.h"

namespace tsaver::tk {

GaugePeer::GaugePeer(FormPeer& form, Gauge& gauge) : OwnWindowPeer(form, gauge), gauge_(gauge) {
  createWindow(WindowClasses::kGauge, 0);
}

void GaugePeer::onChanged(Change what) {
  // Drawn at once: the runs that move it may not pump messages for a while.
  if (what == Change::Progress) RedrawWindow(window(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW);
}

void GaugePeer::paint(HWND window, HDC target) const {
  RECT whole;
  GetClientRect(window, &whole);
  const int width = whole.right, height = whole.bottom;
  // Drawn off screen and copied in one piece, so that it never flickers.
  UniqueMemoryDc dc(CreateCompatibleDC(target));
  UniqueBitmap canvas(CreateCompatibleBitmap(target, width, height));
  ScopedSelect selectCanvas(dc.get(), canvas.get());

  FrameRect(dc.get(), &whole, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
  RECT interior{1, 1, width - 1, height - 1};
  UniqueBrush back = makeBrush(gauge_.backColor());
  FillRect(dc.get(), &interior, back.get());
  RECT bar{1, 1, std::max(1, std::min(gauge_.barRight(), width - 1)), height - 1};
  UniqueBrush fore = makeBrush(gauge_.foreColor());
  FillRect(dc.get(), &bar, fore.get());

  if (gauge_.showText()) {
    // White text on black, XORed onto the gauge: each text pixel inverts what is beneath.
    // The mask is monochrome so that smoothed (ClearType) edges cannot XOR into
    // colours that are neither the ground nor its inverse.
    UniqueMemoryDc textDc(CreateCompatibleDC(target));
    UniqueBitmap textCanvas(CreateBitmap(width, height, 1, 1, nullptr));
    ScopedSelect selectText(textDc.get(), textCanvas.get());
    ScopedSelect selectFont(textDc.get(), fontHandle());
    RECT all{0, 0, width, height};
    FillRect(textDc.get(), &all, static_cast<HBRUSH>(GetStockObject(BLACK_BRUSH)));
    SetTextColor(textDc.get(), RGB(255, 255, 255));
    SetBkMode(textDc.get(), TRANSPARENT);
    // A monochrome source's set bits become the destination's background colour, clear bits its text colour.
    SetBkColor(dc.get(), RGB(255, 255, 255));
    SetTextColor(dc.get(), RGB(0, 0, 0));
    std::string text = std::to_string(gauge_.percentDone()) + "%";
    RECT textArea = interior;
    DrawTextA(textDc.get(), text.c_str(), static_cast<int>(text.size()), &textArea,
              DT_CENTER | DT_VCENTER | DT_SINGLELINE | DT_NOPREFIX);
    BitBlt(dc.get(), interior.left, interior.top, interior.right - interior.left, interior.bottom - interior.top,
           textDc.get(), interior.left, interior.top, SRCINVERT);
  }
  BitBlt(target, 0, 0, width, height, dc.get(), 0, 0, SRCCOPY);
}

LRESULT GaugePeer::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;
    case WM_PAINT: {
      PaintScope scope(window);
      paint(window, scope.dc());
      return 0;
    }
    case WM_PRINTCLIENT:
      paint(window, reinterpret_cast<HDC>(wParam));
      return 0;
    default:
      return OwnWindowPeer::handle(window, message, wParam, lParam);
  }
}

}  // namespace tsaver::tk
