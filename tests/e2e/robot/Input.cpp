#include "e2e/robot/Input.h"

namespace e2e {

namespace {

void sendToForeground(const Window& target, std::vector<INPUT> inputs) {
  HWND root = GetAncestor(target.handle(), GA_ROOT);
  waitUntil([&] { return GetForegroundWindow() == root || (SetForegroundWindow(root), false); },
            "window \"" + Window(root).text() + "\" in the foreground");
  const UINT count = static_cast<UINT>(inputs.size());
  if (SendInput(count, inputs.data(), sizeof(INPUT)) != count)
    throw RobotError("SendInput refused the input: error " + std::to_string(GetLastError()));
}

}  // namespace

void typeKeys(const Window& target, const std::vector<WORD>& keys) {
  std::vector<INPUT> inputs;
  for (WORD key : keys)
    for (DWORD flags : {DWORD{0}, DWORD{KEYEVENTF_KEYUP}}) {
      INPUT input{INPUT_KEYBOARD, {}};
      input.ki.wVk = key;
      input.ki.wScan = static_cast<WORD>(MapVirtualKeyA(key, MAPVK_VK_TO_VSC));
      input.ki.dwFlags = flags;
      inputs.push_back(input);
    }
  sendToForeground(target, inputs);
}

void clickWithMouse(const Window& control) {
  RECT r;
  GetWindowRect(control.handle(), &r);
  const POINT centre{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  if (!SetCursorPos(centre.x, centre.y))
    throw RobotError("cannot move the mouse pointer over control \"" + control.tkName() + "\"");
  // A box just closed may still cover it, or its window still be disabled for the box.
  const HWND root = GetAncestor(control.handle(), GA_ROOT);
  waitUntil([&] { return WindowFromPoint(centre) == control.handle() && IsWindowEnabled(root); },
            "control \"" + control.tkName() + "\" to take the mouse");
  // The pointer moved again in the same input, absolutely: Wine's warp of SetCursorPos
  // reaches the X server later, and a button event could meet the old position.
  std::vector<INPUT> inputs(3, INPUT{INPUT_MOUSE, {}});
  inputs[0].mi.dx = MulDiv(centre.x, 65535, GetSystemMetrics(SM_CXSCREEN) - 1);
  inputs[0].mi.dy = MulDiv(centre.y, 65535, GetSystemMetrics(SM_CYSCREEN) - 1);
  inputs[0].mi.dwFlags = MOUSEEVENTF_MOVE | MOUSEEVENTF_ABSOLUTE;
  inputs[1].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  inputs[2].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  sendToForeground(control, inputs);
}

}  // namespace e2e
