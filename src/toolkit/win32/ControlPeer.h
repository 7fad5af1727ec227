#pragma once
// The backend's side of one control: keeps its window (if it has one) in step
// with the control's state. Peers belong to the peer of their form, which
// outlives them; the controls must outlive the peers' use (the application is
// destroyed before the backend, and no message reaches a peer after that).
#include <windows.h>

#include "toolkit/Resources.h"
#include "toolkit/Widgets.h"
#include "toolkit/win32/GdiHandles.h"

namespace tsaver::tk {

class FormPeer;

class ControlPeer : public Peer {
 public:
  ControlPeer(FormPeer& form, Control& control) : form_(form), control_(control) {}
  ~ControlPeer() override;
  ControlPeer(const ControlPeer&) = delete;
  ControlPeer& operator=(const ControlPeer&) = delete;

  Control& control() const { return control_; }
  // The control's own window; null for a control its parent draws.
  HWND window() const { return window_.get(); }

  void changed(Change what) override;

  // From the parent's window: WM_PAINT (beneath the child windows), the
  // control's WM_COMMAND, WM_CTLCOLORSTATIC (null: the default colours).
  virtual void paintOn(HDC) {}
  virtual void command(WORD /*notification*/) {}
  virtual HBRUSH colorStatic(HDC) { return nullptr; }

 protected:
  // Creates the control's child window, shown, enabled and placed as the
  // control is, with its caption, font and name property, known to the form.
  void createWindow(const char* windowClass, DWORD style, DWORD exStyle = 0);
  // Takes over a window made elsewhere (the form's own), naming it.
  void adoptWindow(HWND window);
  // What a change means beyond the common window state; called after it.
  virtual void onChanged(Change) {}
  HWND parentWindow() const;
  RECT boundsRect() const;
  // The parent's area beneath the control, child windows included, repaints at once.
  void invalidateBeneath() const;
  HBRUSH backgroundBrush() const { return brush_.get(); }
  HFONT fontHandle() const { return font_.get(); }

  FormPeer& form_;

 private:
  Control& control_;
  // Declared before the window, so that the window goes first.
  UniqueFont font_;
  UniqueBrush brush_;
  UniqueWindow window_;
};

// A peer whose window is of one of the toolkit's own classes; the one window
// procedure of those classes forwards every message to handle(), from
// WM_NCCREATE on (before window() is set, hence the window passed along).
class OwnWindowPeer : public ControlPeer {
 public:
  using ControlPeer::ControlPeer;
  static LRESULT CALLBACK procedure(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

 protected:
  virtual LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
};

// The toolkit's window classes, registered for the lifetime of this object.
class WindowClasses {
 public:
  static constexpr const char* kForm = "TkForm";
  static constexpr const char* kContainer = "TkContainer";
  static constexpr const char* kGauge = "TkGauge";
  static constexpr const char* kSpeedButton = "TkSpeedButton";
  static constexpr const char* kApplication = "TkApplication";
  // The application window class's icon.
  static constexpr const char* kApplicationIcon = res::kWizardIcon;
  explicit WindowClasses(HINSTANCE instance);
  ~WindowClasses();
  WindowClasses(const WindowClasses&) = delete;
  WindowClasses& operator=(const WindowClasses&) = delete;

 private:
  HINSTANCE instance_;
};

}  // namespace tsaver::tk
