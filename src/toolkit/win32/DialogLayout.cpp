#include "toolkit/win32/DialogLayout.h"

#include <string>

#include "toolkit/win32/GdiHandles.h"

namespace tsaver::tk {

SIZE measureText(HWND control, int maxWidth) {
  const int length = GetWindowTextLengthA(control);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  GetWindowTextA(control, text.data(), length + 1);
  HDC dc = GetDC(control);
  RECT r{0, 0, maxWidth, 0};
  {
    ScopedSelect font(dc, reinterpret_cast<HGDIOBJ>(SendMessageA(control, WM_GETFONT, 0, 0)));
    DrawTextA(dc, text.c_str(), length, &r, DT_CALCRECT | DT_WORDBREAK | DT_NOPREFIX);
  }
  ReleaseDC(control, dc);
  return SIZE{r.right, r.bottom};
}

void setClientSizeCentred(HWND window, int clientWidth, int clientHeight) {
  RECT outer{0, 0, clientWidth, clientHeight};
  AdjustWindowRectEx(&outer, static_cast<DWORD>(GetWindowLongPtrA(window, GWL_STYLE)), FALSE,
                     static_cast<DWORD>(GetWindowLongPtrA(window, GWL_EXSTYLE)));
  const int width = outer.right - outer.left;
  const int height = outer.bottom - outer.top;
  SetWindowPos(window, nullptr, (GetSystemMetrics(SM_CXSCREEN) - width) / 2,
               (GetSystemMetrics(SM_CYSCREEN) - height) / 2, width, height, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tsaver::tk
