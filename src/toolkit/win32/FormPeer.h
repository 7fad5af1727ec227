#pragma once
// A form's top-level window, owned by the application window, and the peers
// of all its controls and timers. Closing asks the form (Form::close); the
// first activation after each showing tells it (Form::activated); timers tick.
#include <windows.h>

#include <memory>
#include <map>
#include <utility>
#include <vector>

#include "toolkit/Form.h"
#include "toolkit/win32/ContainerPeer.h"

namespace tsaver::tk {

class TimerPeer;

class FormPeer : public ContainerPeer {
 public:
  // Creates the window and every control's window, all hidden with the form.
  // With `deferHidden`, the controls inside a hidden container (a page not
  // shown) get their windows only from createDeferredPeers(), or when the
  // container shows: fewer windows to make before the form can first appear.
  FormPeer(HINSTANCE instance, HWND owner, Form& form, bool deferHidden);
  ~FormPeer() override;

  HINSTANCE instance() const { return instance_; }
  int nextId() { return nextId_++; }
  void registerWindow(HWND window, ControlPeer* peer) { byWindow_[window] = peer; }
  // The peer of one of this form's windows; null for any other window.
  ControlPeer* peerOf(HWND window) const;

  // Whether a window of this form changed since the last question: its
  // repainting waits on the next pump of messages.
  void noteChange() { changed_ = true; }
  bool takeChange() { return std::exchange(changed_, false); }

  // The windows whose creation was deferred; from then on none is.
  void createDeferredPeers();

  void show();
  void hide();
  void bringToFront();
  void repaint();
  // Enter presses the focused button, else a default button; Escape a cancel
  // button. False when the key means nothing here.
  bool pressKey(WPARAM key);
  // Called before `leaving`, a control's window or one that holds controls, is
  // disabled or hidden: if the focus is in it, the focus moves on, as in a
  // dialog box, to the next control in tab order that can take it, and to the
  // form's own window when none can. Windows would leave it nowhere: no key
  // would then reach the form.
  void moveFocusFrom(HWND leaving);

 protected:
  LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;

 public:
  // The form's visibility is shown by show() and hide(), after its handlers.
  void changed(Change what) override;

 private:
  // The peers of the container's controls and, unless deferred, of theirs.
  void addPeers(Container& container);
  void placeCentred();
  // False when no control could take the focus.
  bool focusActiveControl();
  HWND controlWindow(Control* control) const;

  HINSTANCE instance_;
  Form& formWidget_;
  HWND savedFocus_ = nullptr;
  bool changed_ = false;
  int nextId_ = 100;
  // An ordered map: the hash table would add its own code to the shipped program.
  std::map<HWND, ControlPeer*> byWindow_;
  // Children after parents; destroyed in reverse, so before the windows they live in.
  std::vector<std::unique_ptr<ControlPeer>> peers_;
  std::vector<std::unique_ptr<TimerPeer>> timers_;
  bool deferHidden_;
  // Hidden containers whose controls have no peers yet.
  std::vector<Container*> deferred_;
};

}  // namespace tsaver::tk
