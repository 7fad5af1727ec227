#pragma once
// A window of another process, read and driven through messages only:
// GetWindowText does not read other processes' controls, and BM_CLICK into
// another process is unreliable under Wine.
#include <windows.h>

#include <functional>
#include <string>
#include <vector>

#include "e2e/robot/Wait.h"

namespace e2e {

struct Rect {
  int left, top, width, height;
  bool operator==(const Rect& o) const {
    return left == o.left && top == o.top && width == o.width && height == o.height;
  }
};
std::string toString(const Rect& r);

struct Size {
  int width, height;
  bool operator==(const Size& o) const { return width == o.width && height == o.height; }
};
std::string toString(const Size& s);

class Window {
 public:
  explicit Window(HWND handle = nullptr) : handle_(handle) {}
  HWND handle() const { return handle_; }
  explicit operator bool() const { return handle_ && IsWindow(handle_); }

  // WM_GETTEXT, with a time-out so that a hung program fails the test instead of blocking it.
  std::string text() const;
  std::string className() const;
  // The control's name from its "TkName" atom; empty without one.
  std::string tkName() const;
  int controlId() const;
  DWORD processId() const;
  bool enabled() const;
  // The window and all its parents are visible.
  bool visible() const;
  // Position relative to the parent's client area, and size.
  Rect boundsInParent() const;
  Size clientSize() const;
  Window parent() const;
  LONG style() const;

  // Every descendant, in EnumChildWindows order.
  std::vector<Window> descendants() const;
  // The first descendant for which `match` holds; throws RobotError when none.
  Window find(const std::function<bool(const Window&)>& match, const std::string& what) const;
  Window named(const std::string& tkName) const;
  // By caption, and by class when one is given.
  Window captioned(const std::string& caption, const std::string& cls = "") const;

  // BN_CLICKED posted to the parent, as the button itself would notify it; throws
  // RobotError when the control is disabled. Returns before the click is handled.
  void press() const;
  void setText(const std::string& text) const;
  // Posted: the closing may open boxes that must not block the test.
  void close() const;

 private:
  HWND handle_;
};

// Presses the buttons one right after the other, as a quick user: each must be
// enabled now, and every click is posted before the first is handled.
void pressInQuickSuccession(const std::vector<Window>& buttons);

std::vector<Window> topLevelWindows(DWORD processId);
// The control with the keyboard focus in the thread of `window`.
Window focusedControl(const Window& window);
// A top-level window of the process whose text is `caption`; hidden ones count
// only when `visibleOnly` is false. A null window when there is none.
Window findWindow(DWORD processId, const std::string& caption, bool visibleOnly = true);
// The same, waited for.
Window waitForWindow(DWORD processId, const std::string& caption, bool visibleOnly = true, Millis timeout = kTimeout);
// Waits until the window is gone or hidden.
void waitUntilGone(const Window& window, const std::string& what, Millis timeout = kTimeout);

}  // namespace e2e
