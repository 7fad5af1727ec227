#pragma once
// Owned window and GDI handles for the toolkit's backend: a window (destroyed
// once, its peer detached first so that no message of the destruction reaches
// an object being torn down), a font, brush or bitmap (DeleteObject), and a
// selection into a device context undone at the end of its scope.
#include <windows.h>

#include "platform/win32/Handles.h"

namespace tsaver::tk {

struct WindowTraits {
  using Type = HWND;
  static Type invalid() { return nullptr; }
  static void close(Type window) {
    SetWindowLongPtrA(window, GWLP_USERDATA, 0);
    DestroyWindow(window);
  }
};

template <typename Gdi>
struct GdiObjectTraits {
  using Type = Gdi;
  static Type invalid() { return nullptr; }
  static void close(Type object) { DeleteObject(object); }
};

struct MemoryDcTraits {
  using Type = HDC;
  static Type invalid() { return nullptr; }
  static void close(Type dc) { DeleteDC(dc); }
};

using UniqueWindow = UniqueResource<WindowTraits>;
using UniqueFont = UniqueResource<GdiObjectTraits<HFONT>>;
using UniqueBrush = UniqueResource<GdiObjectTraits<HBRUSH>>;
using UniqueBitmap = UniqueResource<GdiObjectTraits<HBITMAP>>;
using UniqueMemoryDc = UniqueResource<MemoryDcTraits>;

class ScopedSelect {
 public:
  ScopedSelect(HDC dc, HGDIOBJ object) : dc_(dc), previous_(SelectObject(dc, object)) {}
  ~ScopedSelect() { SelectObject(dc_, previous_); }
  ScopedSelect(const ScopedSelect&) = delete;
  ScopedSelect& operator=(const ScopedSelect&) = delete;

 private:
  HDC dc_;
  HGDIOBJ previous_;
};

// BeginPaint/EndPaint around one WM_PAINT.
class PaintScope {
 public:
  explicit PaintScope(HWND window) : window_(window) { BeginPaint(window_, &ps_); }
  ~PaintScope() { EndPaint(window_, &ps_); }
  PaintScope(const PaintScope&) = delete;
  PaintScope& operator=(const PaintScope&) = delete;
  HDC dc() const { return ps_.hdc; }

 private:
  HWND window_;
  PAINTSTRUCT ps_{};
};

}  // namespace tsaver::tk
