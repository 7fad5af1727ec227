#include "toolkit/win32/ConfirmDialog.h"

#include <algorithm>

#include "toolkit/win32/DialogLayout.h"
#include "toolkit/win32/DialogTemplate.h"

namespace tsaver::tk {

namespace {

constexpr WORD kIconId = 100;
constexpr WORD kTextId = 101;
constexpr int kMargin = 12;
constexpr int kIconSize = 32;
constexpr int kMaxTextWidth = 360;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 8;

// Places icon, text and buttons around the measured text, in pixels.
void layOut(HWND dialog) {
  SendDlgItemMessageA(dialog, kIconId, STM_SETICON, reinterpret_cast<WPARAM>(LoadIcon(nullptr, IDI_QUESTION)), 0);
  const SIZE text = measureText(GetDlgItem(dialog, kTextId), kMaxTextWidth);
  const int textLeft = kMargin + kIconSize + kMargin;
  const int textTop = kMargin + std::max(0, (kIconSize - static_cast<int>(text.cy)) / 2);
  const int buttonsTop = std::max(kMargin + kIconSize, textTop + static_cast<int>(text.cy)) + 16;
  const int buttonsWidth = 2 * kButtonWidth + kButtonGap;
  const int width = std::max(textLeft + static_cast<int>(text.cx) + kMargin, buttonsWidth + 2 * kMargin);
  const int height = buttonsTop + kButtonHeight + kMargin;
  MoveWindow(GetDlgItem(dialog, kIconId), kMargin, kMargin, kIconSize, kIconSize, FALSE);
  MoveWindow(GetDlgItem(dialog, kTextId), textLeft, textTop, text.cx, text.cy, FALSE);
  const int buttonsLeft = (width - buttonsWidth) / 2;
  MoveWindow(GetDlgItem(dialog, IDYES), buttonsLeft, buttonsTop, kButtonWidth, kButtonHeight, FALSE);
  MoveWindow(GetDlgItem(dialog, IDNO), buttonsLeft + kButtonWidth + kButtonGap, buttonsTop, kButtonWidth,
             kButtonHeight, FALSE);
  setClientSizeCentred(dialog, width, height);
}

INT_PTR CALLBACK confirmProcedure(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
  switch (message) {
    case WM_INITDIALOG:
      layOut(dialog);
      SetFocus(GetDlgItem(dialog, IDYES));
      return FALSE;  // the focus is set
    case WM_COMMAND:
      switch (LOWORD(wParam)) {
        case IDYES:
          EndDialog(dialog, IDYES);
          return TRUE;
        case IDNO:
        case IDCANCEL:
          EndDialog(dialog, IDNO);
          return TRUE;
        default:
          return FALSE;
      }
    default:
      return FALSE;
  }
}

}  // namespace

bool showConfirmDialog(HINSTANCE instance, HWND owner, const std::string& text) {
  DialogTemplate dialog("Confirm", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME, 180, 60);
  dialog.add(DialogTemplate::Item::Static, kIconId, SS_ICON, 0, 0, 0, 0);
  dialog.add(DialogTemplate::Item::Static, kTextId, SS_LEFT | SS_NOPREFIX, 0, 0, 0, 0, text);
  dialog.add(DialogTemplate::Item::Button, IDYES, BS_DEFPUSHBUTTON | WS_TABSTOP, 0, 0, 0, 0, "&Yes");
  dialog.add(DialogTemplate::Item::Button, IDNO, BS_PUSHBUTTON | WS_TABSTOP, 0, 0, 0, 0, "&No");
  return DialogBoxIndirectParamA(instance, dialog.get(), owner, confirmProcedure, 0) == IDYES;
}

}  // namespace tsaver::tk
