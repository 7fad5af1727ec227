#pragma once
// A control that holds others in a window of its own (form, notebook, page,
// panel): its background in the control's colour, the controls without a
// window (bevels, shapes, images) painted beneath the child windows, and the
// notifications of its child windows handed to their peers.
#include "toolkit/win32/ControlPeer.h"

namespace tsaver::tk {

class ContainerPeer : public OwnWindowPeer {
 public:
  // Creates a TkContainer child window; the form's peer makes its own.
  ContainerPeer(FormPeer& form, Container& container, bool createOwnWindow = true);
  // A container about to show makes its controls' windows first, if deferred.
  void changed(Change what) override;

 protected:
  LRESULT handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) override;
  // The whole client area: background, painted controls, frame.
  void paint(HWND window, HDC dc);
  // Drawn over the painted controls; a panel's bevel.
  virtual void paintFrame(HDC, const RECT&) {}

 private:
  Container& container_;
};

class PanelPeer : public ContainerPeer {
 public:
  PanelPeer(FormPeer& form, Panel& panel) : ContainerPeer(form, panel), panel_(panel) {}

 protected:
  void paintFrame(HDC dc, const RECT& client) override;

 private:
  Panel& panel_;
};

// A notebook's page fills the notebook, whatever its own bounds.
class PagePeer : public ContainerPeer {
 public:
  PagePeer(FormPeer& form, Page& page);

 protected:
  void onChanged(Change what) override;

 private:
  void fill();
};

}  // namespace tsaver::tk
