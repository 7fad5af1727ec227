#pragma once
// The toolkit's backend for real Windows: every form a top-level window owned
// by a hidden application window (which carries the application's title and
// icon), every control that shows text or takes input a child window named by
// its "TkName" property. Must outlive the Application that uses it.
#include <windows.h>

#include <map>
#include <memory>

#include "toolkit/Backend.h"
#include "toolkit/win32/ControlPeer.h"
#include "toolkit/win32/GdiHandles.h"

namespace tsaver::tk {

class FormPeer;

class Win32Backend : public Backend {
 public:
  explicit Win32Backend(HINSTANCE instance);
  ~Win32Backend() override;
  Win32Backend(const Win32Backend&) = delete;
  Win32Backend& operator=(const Win32Backend&) = delete;

  HWND applicationWindow() const { return appWindow_.get(); }
  // The form's window; null for a form this backend has not seen.
  HWND windowOf(const Form& form);

  void formCreated(Form& form) override;
  void showForm(Form& form) override;
  void hideForm(Form& form) override;
  void bringToFront(Form& form) override;
  void repaint(Form& form) override;
  void timerChanged(Timer& timer) override;

  void setTitle(const std::string& title) override;
  void setIcon(const std::string& resource) override;

  void runMessageLoop(Application& app) override;
  void processMessages() override;
  void postQuit() override;

  void messageBox(const std::string& text, const std::string& caption, MessageIcon icon) override;
  bool confirm(const std::string& text) override;
  void bringOtherInstanceToFront() override;
  std::optional<std::string> selectDirectory() override;

 private:
  // One queued message: the forms' keys first, then the dialog keys, then dispatch.
  void dispatch(MSG& msg);
  // The form's peer, its windows made first if they were waiting.
  FormPeer* peerOf(const Form& form);
  // The peer of the form whose window holds `window`; null for other windows.
  FormPeer* formPeerOf(HWND window) const;
  // The owner of a modal box: the active form, else the application window.
  HWND dialogOwner();
  // Every window held back: the waiting form's, and those in hidden containers.
  void createDeferredWindows();

  HINSTANCE instance_;
  WindowClasses classes_;
  UniqueWindow appWindow_;
  std::map<const Form*, std::unique_ptr<FormPeer>> forms_;
  // The form created after the first before any was shown, whose windows are
  // made once a form is on the screen, or sooner when they are needed (the
  // next form's creation, a modal box): the first form shows without waiting
  // for a hidden window that nobody sees yet. The controls in hidden
  // containers of forms made before that wait likewise.
  Form* waiting_ = nullptr;
  bool formShown_ = false;
  bool iconSetByMessage_ = false;
  static constexpr DWORD kQuietPumpIntervalMs = 20;
  DWORD lastPump_ = GetTickCount() - kQuietPumpIntervalMs;
};

}  // namespace tsaver::tk
