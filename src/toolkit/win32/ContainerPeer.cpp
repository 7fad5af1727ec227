#include "toolkit/win32/ContainerPeer.h"

#include "toolkit/win32/FormPeer.h"

namespace tsaver::tk {

ContainerPeer::ContainerPeer(FormPeer& form, Container& container, bool createOwnWindow)
    : OwnWindowPeer(form, container), container_(container) {
  // No WS_CLIPCHILDREN: transparent labels show what the container paints beneath them.
  if (createOwnWindow) createWindow(WindowClasses::kContainer, 0, WS_EX_CONTROLPARENT);
}

void ContainerPeer::changed(Change what) {
  if (what == Change::Visible && container_.visible()) form_.createDeferredPeers();
  OwnWindowPeer::changed(what);
}

void ContainerPeer::paint(HWND window, HDC dc) {
  RECT client;
  GetClientRect(window, &client);
  FillRect(dc, &client, backgroundBrush());
  for (const auto& child : container_.children())
    if (auto* peer = static_cast<ControlPeer*>(child->peer()); peer && child->visible()) peer->paintOn(dc);
  paintFrame(dc, client);
}

LRESULT ContainerPeer::handle(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  switch (message) {
    case WM_ERASEBKGND:
      return 1;  // WM_PAINT paints everything, in one pass
    case WM_PAINT: {
      PaintScope scope(window);
      paint(window, scope.dc());
      return 0;
    }
    case WM_PRINTCLIENT:
      paint(window, reinterpret_cast<HDC>(wParam));
      return 0;
    case WM_COMMAND:
      if (ControlPeer* child = form_.peerOf(reinterpret_cast<HWND>(lParam))) {
        child->command(HIWORD(wParam));
        return 0;
      }
      break;
    case WM_CTLCOLORSTATIC:
      if (ControlPeer* child = form_.peerOf(reinterpret_cast<HWND>(lParam)))
        if (HBRUSH brush = child->colorStatic(reinterpret_cast<HDC>(wParam))) return reinterpret_cast<LRESULT>(brush);
      break;
    default:
      break;
  }
  return OwnWindowPeer::handle(window, message, wParam, lParam);
}

void PanelPeer::paintFrame(HDC dc, const RECT& client) {
  RECT edge = client;
  DrawEdge(dc, &edge, panel_.bevelOuter() == BevelStyle::Lowered ? BDR_SUNKENOUTER : BDR_RAISEDOUTER, BF_RECT);
}

PagePeer::PagePeer(FormPeer& form, Page& page) : ContainerPeer(form, page) { fill(); }

void PagePeer::fill() {
  RECT notebook;
  GetClientRect(parentWindow(), &notebook);
  MoveWindow(window(), 0, 0, notebook.right, notebook.bottom, TRUE);
}

void PagePeer::onChanged(Change what) {
  if (what == Change::Bounds) fill();
}

}  // namespace tsaver::tk
