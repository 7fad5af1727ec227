#include "ToolkitTestSupport.h"

#include <chrono>

namespace toolkit_test {

namespace {

std::string atomName(HANDLE atom) {
  char name[256] = {};
  if (!atom || !GlobalGetAtomNameA(static_cast<ATOM>(reinterpret_cast<UINT_PTR>(atom)), name, sizeof name)) return {};
  return name;
}

// Enumeration callbacks are CALLBACK (stdcall on i686), which a lambda cannot be.
BOOL CALLBACK collectWindow(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<HWND>*>(list)->push_back(window);
  return TRUE;
}

BOOL CALLBACK collectProcessDialog(HWND window, LPARAM list) {
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId() && className(window) == "#32770") collectWindow(window, list);
  return TRUE;
}

std::vector<HWND> descendants(HWND parent) {
  std::vector<HWND> found;
  EnumChildWindows(parent, collectWindow, reinterpret_cast<LPARAM>(&found));
  return found;
}

std::vector<HWND> processDialogs() {
  std::vector<HWND> found;
  EnumWindows(collectProcessDialog, reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace

HWND childNamed(HWND parent, const std::string& name) {
  for (HWND child : descendants(parent))
    if (atomName(GetPropA(child, "TkName")) == name) return child;
  return nullptr;
}

std::string windowText(HWND window) {
  char text[1024] = {};
  SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
  return text;
}

std::string className(HWND window) {
  char name[256] = {};
  GetClassNameA(window, name, sizeof name);
  return name;
}

RECT boundsInParent(HWND window) {
  RECT r{};
  GetWindowRect(window, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(window), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

SIZE clientSize(HWND window) {
  RECT r{};
  GetClientRect(window, &r);
  return {r.right, r.bottom};
}

void pump(Win32Backend& backend, DWORD ms) {
  const DWORD start = GetTickCount();
  do {
    backend.processMessages();
    Sleep(5);
  } while (GetTickCount() - start < ms);
}

COLORREF pixelAt(HWND window, int x, int y) {
  RedrawWindow(window, nullptr, nullptr, RDW_INVALIDATE | RDW_ERASE | RDW_UPDATENOW | RDW_ALLCHILDREN);
  HDC dc = GetDC(window);
  const COLORREF colour = GetPixel(dc, x, y);
  ReleaseDC(window, dc);
  return colour;
}

HWND waitForDialog(const std::string& caption, DWORD timeoutMs) {
  const DWORD start = GetTickCount();
  do {
    for (HWND dialog : processDialogs())
      if (IsWindowVisible(dialog) && windowText(dialog) == caption) return dialog;
    Sleep(20);
  } while (GetTickCount() - start < timeoutMs);
  return nullptr;
}

HWND dialogChild(HWND dialog, const std::string& caption, const std::string& cls) {
  for (HWND child : descendants(dialog)) {
    if (GetParent(child) != dialog) continue;
    if (!caption.empty() ? windowText(child) == caption : className(child) == cls) return child;
  }
  return nullptr;
}

void pressDialogButton(HWND dialog, HWND button) {
  PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED), reinterpret_cast<LPARAM>(button));
}

DialogScript::DialogScript(std::function<void(DialogScript&)> script)
    : thread_([this, script] { script(*this); }) {}

DialogScript::~DialogScript() {
  if (thread_.joinable()) thread_.join();
}

std::string DialogScript::finish() {
  if (thread_.joinable()) thread_.join();
  return failures_;
}

HWND DialogScript::expectDialog(const std::string& caption) {
  HWND dialog = waitForDialog(caption);
  if (!dialog) fail("no dialog \"" + caption + "\" appeared");
  return dialog;
}

void DialogScript::fail(const std::string& what) {
  failures_ += what + "\n";
  // Whatever is open must not keep the main thread, and so the test, waiting.
  for (HWND dialog : processDialogs()) PostMessageA(dialog, WM_COMMAND, IDCANCEL, 0);
}

}  // namespace toolkit_test
