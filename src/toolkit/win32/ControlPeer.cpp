#include "toolkit/win32/ControlPeer.h"

#include "toolkit/win32/FormPeer.h"
#include "toolkit/win32/Gdi.h"
#include "toolkit/win32/WindowName.h"

namespace tsaver::tk {

ControlPeer::~ControlPeer() {
  if (window_) forgetName(window_.get());
}

HWND ControlPeer::parentWindow() const {
  Container* parent = control_.parent();
  return parent ? static_cast<ControlPeer*>(parent->peer())->window() : nullptr;
}

RECT ControlPeer::boundsRect() const {
  const Bounds& b = control_.bounds();
  return RECT{b.left, b.top, b.left + b.width, b.top + b.height};
}

void ControlPeer::invalidateBeneath() const {
  // Painted now, the parent before its children, rather than whenever messages
  // are next pumped: a run may copy a large file before that.
  const RECT r = boundsRect();
  RedrawWindow(parentWindow(), &r, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_ALLCHILDREN | RDW_UPDATENOW);
}

void ControlPeer::createWindow(const char* windowClass, DWORD style, DWORD exStyle) {
  const Bounds& b = control_.bounds();
  style |= WS_CHILD | (control_.visible() ? WS_VISIBLE : 0) | (control_.enabled() ? 0 : WS_DISABLED);
  HWND window = CreateWindowExA(exStyle, windowClass, control_.caption().c_str(), style, b.left, b.top, b.width,
                                b.height, parentWindow(), reinterpret_cast<HMENU>(static_cast<INT_PTR>(form_.nextId())),
                                form_.instance(), this);
  adoptWindow(window);
  font_ = makeFont(control_.font());
  SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), FALSE);
}

void ControlPeer::adoptWindow(HWND window) {
  window_.reset(window);
  brush_ = makeBrush(control_.color());
  nameWindow(window, control_.name());
  form_.registerWindow(window, this);
}

void ControlPeer::changed(Change what) {
  form_.noteChange();
  HWND window = window_.get();
  switch (what) {
    case Change::Caption:
      // A static control paints its new text at once, and a transparent one over
      // its old text, which the screen may show before the background beneath is
      // repainted; so the text changes unseen, and is then painted as invalidated.
      SendMessageA(window, WM_SETREDRAW, FALSE, 0);
      SetWindowTextA(window, control_.caption().c_str());
      SendMessageA(window, WM_SETREDRAW, TRUE, 0);
      InvalidateRect(window, nullptr, TRUE);
      break;
    case Change::Bounds: {
      const Bounds& b = control_.bounds();
      MoveWindow(window, b.left, b.top, b.width, b.height, TRUE);
      break;
    }
    case Change::Font:
      font_ = makeFont(control_.font());
      SendMessageA(window, WM_SETFONT, reinterpret_cast<WPARAM>(font_.get()), TRUE);
      break;
    case Change::Color:
      brush_ = makeBrush(control_.color());
      InvalidateRect(window, nullptr, TRUE);
      break;
    case Change::Enabled:
      if (!control_.enabled()) form_.moveFocusFrom(window);
      EnableWindow(window, control_.enabled());
      break;
    case Change::Visible:
      if (!control_.visible()) form_.moveFocusFrom(window);
      ShowWindow(window, control_.visible() ? SW_SHOWNA : SW_HIDE);
      break;
    default:
      break;
  }
  onChanged(what);
}

LRESULT CALLBACK OwnWindowPeer::procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_NCCREATE) {
    auto* created = reinterpret_cast<CREATESTRUCTA*>(lParam);
    SetWindowLongPtrA(window, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(created->lpCreateParams));
  }
  // createWindow() passes the peer as a ControlPeer*.
  auto* peer = static_cast<OwnWindowPeer*>(reinterpret_cast<ControlPeer*>(GetWindowLongPtrA(window, GWLP_USERDATA)));
  // Messages before WM_NCCREATE, and those of a window being destroyed, go unheard.
  if (!peer) return DefWindowProcA(window, message, wParam, lParam);
  if (message == WM_NCDESTROY) SetWindowLongPtrA(window, GWLP_USERDATA, 0);
  // An exception must not unwind through the system's code that called us; the
  // handlers show theirs in the error box, so what reaches here is dropped.
  try {
    return peer->handle(window, message, wParam, lParam);
  } catch (...) {
    return DefWindowProcA(window, message, wParam, lParam);
  }
}

LRESULT OwnWindowPeer::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return DefWindowProcA(window, message, wParam, lParam);
}

WindowClasses::WindowClasses(HINSTANCE instance) : instance_(instance) {
  WNDCLASSEXA wc{};
  wc.cbSize = sizeof wc;
  wc.hInstance = instance;
  wc.hCursor = LoadCursor(nullptr, IDC_ARROW);
  wc.lpfnWndProc = &OwnWindowPeer::procedure;
  for (const char* name : {kForm, kContainer, kGauge, kSpeedButton}) {
    wc.lpszClassName = name;
    RegisterClassExA(&wc);
  }
  // The hidden application window only carries the title and icon. Its icon is
  // its class's until another is asked for: a WM_SETICON costs Wine
  // milliseconds of icon conversion, and the wizard asks for this one.
  wc.lpfnWndProc = &DefWindowProcA;
  wc.lpszClassName = kApplication;
  wc.hIcon = LoadIconA(instance, kApplicationIcon);
  RegisterClassExA(&wc);
}

WindowClasses::~WindowClasses() {
  for (const char* name : {kForm, kContainer, kGauge, kSpeedButton, kApplication}) UnregisterClassA(name, instance_);
}

}  // namespace tsaver::tk
