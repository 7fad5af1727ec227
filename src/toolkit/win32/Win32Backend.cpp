#include "toolkit/win32/Win32Backend.h"

#include <cstring>

#include "toolkit/Form.h"
#include "toolkit/win32/ConfirmDialog.h"
#include "toolkit/win32/DirectoryDialog.h"
#include "toolkit/win32/FormPeer.h"

namespace tsaver::tk {

namespace {

// Posted to the application window when the first form shows: the windows held
// back until then are made once that form is on the screen, before any input.
constexpr UINT kCreateDeferredMessage = WM_APP + 2;

}  // namespace

Win32Backend::Win32Backend(HINSTANCE instance)
    : instance_(instance),
      classes_(instance),
      appWindow_(CreateWindowExA(0, WindowClasses::kApplication, "", WS_POPUP | WS_CAPTION | WS_SYSMENU, 0, 0, 0, 0,
                                 nullptr, nullptr, instance, nullptr)) {}

Win32Backend::~Win32Backend() {
  // Windows go before the classes they belong to.
  forms_.clear();
  appWindow_.reset();
}

FormPeer* Win32Backend::peerOf(const Form& form) {
  if (&form == waiting_) formCreated(*waiting_);
  const auto found = forms_.find(&form);
  return found == forms_.end() ? nullptr : found->second.get();
}

HWND Win32Backend::windowOf(const Form& form) {
  FormPeer* peer = peerOf(form);
  return peer ? peer->window() : nullptr;
}

FormPeer* Win32Backend::formPeerOf(HWND window) const {
  HWND root = GetAncestor(window, GA_ROOT);
  for (const auto& entry : forms_)
    if (entry.second->window() == root) return entry.second.get();
  return nullptr;
}

void Win32Backend::formCreated(Form& form) {
  // The first form's windows are made at once, a later form's when it stops
  // waiting; a form made after the first showing waits for none.
  if (&form != waiting_) {
    // The one waiting was made earlier: its windows come first.
    if (waiting_) formCreated(*waiting_);
    if (!formShown_ && !forms_.empty()) {
      waiting_ = &form;
      return;
    }
  }
  waiting_ = nullptr;
  forms_[&form] = std::make_unique<FormPeer>(instance_, appWindow_.get(), form, !formShown_);
}

void Win32Backend::createDeferredWindows() {
  if (waiting_) formCreated(*waiting_);
  for (const auto& entry : forms_) entry.second->createDeferredPeers();
}

void Win32Backend::showForm(Form& form) {
  if (FormPeer* peer = peerOf(form)) peer->show();
  // The shown form is painted; the rest waits for the message loop, where a
  // sent message (a question from another program) is answered before it.
  if (!formShown_) PostMessageA(appWindow_.get(), kCreateDeferredMessage, 0, 0);
  formShown_ = true;
}

void Win32Backend::hideForm(Form& form) {
  if (FormPeer* peer = peerOf(form)) peer->hide();
}

void Win32Backend::bringToFront(Form& form) {
  if (FormPeer* peer = peerOf(form)) peer->bringToFront();
}

void Win32Backend::repaint(Form& form) {
  if (FormPeer* peer = peerOf(form)) peer->repaint();
}

void Win32Backend::timerChanged(Timer& timer) {
  if (Peer* peer = timer.peer()) peer->changed(Change::Enabled);
}

void Win32Backend::setTitle(const std::string& title) { SetWindowTextA(appWindow_.get(), title.c_str()); }

void Win32Backend::setIcon(const std::string& resource) {
  // The class's icon shows until a message sets another.
  if (!iconSetByMessage_ && resource == WindowClasses::kApplicationIcon) return;
  iconSetByMessage_ = true;
  // No resource has an empty name: "" finds none, as does an unknown name.
  HICON icon = LoadIconA(instance_, resource.c_str());
  if (!icon) icon = LoadIcon(nullptr, IDI_APPLICATION);
  SendMessageA(appWindow_.get(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
  SendMessageA(appWindow_.get(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
}

void Win32Backend::dispatch(MSG& msg) {
  if (msg.hwnd == appWindow_.get() && msg.message == kCreateDeferredMessage) {
    createDeferredWindows();
    return;
  }
  if (FormPeer* form = formPeerOf(msg.hwnd)) {
    if (msg.message == WM_KEYDOWN && (msg.wParam == VK_RETURN || msg.wParam == VK_ESCAPE) && form->pressKey(msg.wParam))
      return;
    // Tab, arrows and mnemonics among the form's controls.
    if (IsDialogMessageA(form->window(), &msg)) return;
  }
  TranslateMessage(&msg);
  DispatchMessageA(&msg);
}

void Win32Backend::runMessageLoop(Application&) {
  MSG msg;
  while (GetMessageA(&msg, nullptr, 0, 0) > 0) dispatch(msg);
}

void Win32Backend::processMessages() {
  // The runs pump after each of hundreds of steps, and under Wine each look at the
  // queue is a round trip to its server. So the queue is looked at whenever a
  // window changed since the last look, to paint the change, and otherwise at
  // most every kQuietPumpIntervalMs, which still serves input and timers.
  bool changed = false;
  for (const auto& entry : forms_) changed = entry.second->takeChange() || changed;
  const DWORD now = GetTickCount();
  if (!changed && now - lastPump_ < kQuietPumpIntervalMs) return;
  lastPump_ = now;
  MSG msg;
  while (PeekMessageA(&msg, nullptr, 0, 0, PM_REMOVE)) {
    if (msg.message == WM_QUIT) {
      // Left for the message loop, which ends on it.
      PostQuitMessage(static_cast<int>(msg.wParam));
      return;
    }
    dispatch(msg);
  }
}

void Win32Backend::postQuit() { PostQuitMessage(0); }

HWND Win32Backend::dialogOwner() {
  // A modal box runs a message loop of its own: every form has its windows first.
  createDeferredWindows();
  HWND active = GetActiveWindow();
  for (const auto& entry : forms_)
    if (entry.second->window() == active && IsWindowVisible(active)) return active;
  return appWindow_.get();
}

void Win32Backend::messageBox(const std::string& text, const std::string& caption, MessageIcon icon) {
  UINT type = MB_OK;
  switch (icon) {
    case MessageIcon::Error:
      type |= MB_ICONSTOP;
      break;
    case MessageIcon::Information:
      type |= MB_ICONINFORMATION;
      break;
    case MessageIcon::Question:
      type |= MB_ICONQUESTION;
      break;
    case MessageIcon::None:
      break;
  }
  MessageBoxA(dialogOwner(), text.c_str(), caption.c_str(), type);
}

bool Win32Backend::confirm(const std::string& text) { return showConfirmDialog(instance_, dialogOwner(), text); }

std::optional<std::string> Win32Backend::selectDirectory() {
  return showDirectoryDialog(instance_, dialogOwner());
}

namespace {

// The other instance's forms and its hidden application window, which owns its boxes
// while no form is active; each leads to its last active popup, the box the user must answer.
BOOL CALLBACK bringIfOtherInstance(HWND window, LPARAM) {
  char className[32];
  DWORD process = 0;
  GetWindowThreadProcessId(window, &process);
  if (process == GetCurrentProcessId() || !GetClassNameA(window, className, sizeof className)) return TRUE;
  if (std::strcmp(className, WindowClasses::kForm) != 0 && std::strcmp(className, WindowClasses::kApplication) != 0)
    return TRUE;
  const HWND popup = GetLastActivePopup(window);
  if (!IsWindowVisible(popup)) return TRUE;
  SetForegroundWindow(popup);
  return FALSE;
}

}  // namespace

void Win32Backend::bringOtherInstanceToFront() { EnumWindows(bringIfOtherInstance, 0); }

}  // namespace tsaver::tk
