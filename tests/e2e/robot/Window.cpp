#include "e2e/robot/Window.h"

namespace e2e {

namespace {

constexpr UINT kMessageTimeoutMs = 5000;

LRESULT send(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  DWORD_PTR result = 0;
  if (!SendMessageTimeoutA(window, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeoutMs, &result)) {
    // A window that has gone meanwhile answers nothing; only a living one that does not answer is a fault.
    if (!IsWindow(window)) return 0;
    char name[64] = "";
    GetClassNameA(window, name, sizeof name);
    DWORD process = 0;
    GetWindowThreadProcessId(window, &process);
    throw RobotError("window " + std::to_string(reinterpret_cast<UINT_PTR>(window)) + " (class " + name +
                     ", process " + std::to_string(process) + ") did not answer message " + std::to_string(message));
  }
  return static_cast<LRESULT>(result);
}

BOOL CALLBACK collect(HWND window, LPARAM list) {
  reinterpret_cast<std::vector<Window>*>(list)->emplace_back(window);
  return TRUE;
}

}  // namespace

std::string toString(const Rect& r) {
  return std::to_string(r.left) + "," + std::to_string(r.top) + "," + std::to_string(r.width) + "," +
         std::to_string(r.height);
}

std::string toString(const Size& s) { return std::to_string(s.width) + " x " + std::to_string(s.height); }

std::string Window::text() const {
  const auto length = send(handle_, WM_GETTEXTLENGTH, 0, 0);
  std::string text(static_cast<size_t>(length) + 1, '\0');
  const auto copied = send(handle_, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]));
  text.resize(static_cast<size_t>(copied));
  return text;
}

std::string Window::className() const {
  char name[256];
  const int length = GetClassNameA(handle_, name, sizeof name);
  return std::string(name, length > 0 ? length : 0);
}

std::string Window::tkName() const {
  const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(GetPropA(handle_, "TkName")));
  if (!atom) return "";
  char name[256];
  const UINT length = GlobalGetAtomNameA(atom, name, sizeof name);
  return std::string(name, length);
}

int Window::controlId() const { return GetDlgCtrlID(handle_); }

DWORD Window::processId() const {
  DWORD id = 0;
  GetWindowThreadProcessId(handle_, &id);
  return id;
}

bool Window::enabled() const { return IsWindowEnabled(handle_) != 0; }

bool Window::visible() const { return IsWindowVisible(handle_) != 0; }

Rect Window::boundsInParent() const {
  RECT r;
  GetWindowRect(handle_, &r);
  MapWindowPoints(HWND_DESKTOP, GetParent(handle_), reinterpret_cast<POINT*>(&r), 2);
  return {r.left, r.top, r.right - r.left, r.bottom - r.top};
}

Size Window::clientSize() const {
  RECT r;
  GetClientRect(handle_, &r);
  return {r.right - r.left, r.bottom - r.top};
}

Window Window::parent() const { return Window(GetParent(handle_)); }

LONG Window::style() const { return GetWindowLongA(handle_, GWL_STYLE); }

std::vector<Window> Window::descendants() const {
  std::vector<Window> all;
  EnumChildWindows(handle_, collect, reinterpret_cast<LPARAM>(&all));
  return all;
}

Window Window::find(const std::function<bool(const Window&)>& match, const std::string& what) const {
  for (const Window& child : descendants())
    if (match(child)) return child;
  throw RobotError("no control " + what + " in window \"" + text() + "\"");
}

Window Window::named(const std::string& tkName) const {
  return find([&](const Window& w) { return w.tkName() == tkName; }, "named " + tkName);
}

Window Window::captioned(const std::string& caption, const std::string& cls) const {
  return find([&](const Window& w) { return (cls.empty() || w.className() == cls) && w.text() == caption; },
              "captioned \"" + caption + "\"" + (cls.empty() ? "" : " of class " + cls));
}

void Window::press() const { pressInQuickSuccession({*this}); }

void pressInQuickSuccession(const std::vector<Window>& buttons) {
  // Posted: a click's handler may open modal boxes that the test must answer.
  for (const Window& button : buttons)
    if (!button.enabled()) throw RobotError("control \"" + button.text() + "\" is disabled; a user could not press it");
  for (const Window& button : buttons)
    PostMessageA(GetParent(button.handle()), WM_COMMAND, MAKEWPARAM(button.controlId(), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button.handle()));
}

void Window::setText(const std::string& text) const {
  send(handle_, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text.c_str()));
}

void Window::close() const { PostMessageA(handle_, WM_CLOSE, 0, 0); }

std::vector<Window> topLevelWindows(DWORD processId) {
  std::vector<Window> all, mine;
  EnumWindows(collect, reinterpret_cast<LPARAM>(&all));
  for (const Window& w : all)
    if (w.processId() == processId) mine.push_back(w);
  return mine;
}

Window focusedControl(const Window& window) {
  GUITHREADINFO info = {};
  info.cbSize = sizeof info;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(window.handle(), nullptr), &info)) return Window();
  return Window(info.hwndFocus);
}

Window findWindow(DWORD processId, const std::string& caption, bool visibleOnly) {
  // FindWindowEx compares the captions the system keeps, without a message to
  // each window: fast enough to catch a window that lives for 100 ms.
  for (HWND w = FindWindowExA(nullptr, nullptr, nullptr, caption.c_str()); w;
       w = FindWindowExA(nullptr, w, nullptr, caption.c_str())) {
    const Window found(w);
    // FindWindowEx ignores case; the caption must match exactly.
    if (found.processId() == processId && (!visibleOnly || found.visible()) && found.text() == caption) return found;
  }
  return Window();
}

Window waitForWindow(DWORD processId, const std::string& caption, bool visibleOnly, Millis timeout) {
  return waitUntil([&] { return findWindow(processId, caption, visibleOnly); },
                   "a window \"" + caption + "\" of process " + std::to_string(processId), timeout);
}

void waitUntilGone(const Window& window, const std::string& what, Millis timeout) {
  waitUntil([&] { return !window || !window.visible(); }, what + " to close", timeout);
}

}  // namespace e2e

