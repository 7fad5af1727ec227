#include "toolkit/win32/Gdi.h"

namespace tsaver::tk {

COLORREF colorRef(Color color) {
  return isSystemColor(color) ? GetSysColor(static_cast<int>(color & 0xFF)) : static_cast<COLORREF>(color);
}

UniqueBrush makeBrush(Color color) { return UniqueBrush(CreateSolidBrush(colorRef(color))); }

UniqueFont makeFont(const Font& font) {
  return UniqueFont(CreateFontA(-font.height, 0, 0, 0, font.bold ? FW_BOLD : FW_NORMAL, font.italic, FALSE, FALSE,
                                DEFAULT_CHARSET, OUT_DEFAULT_PRECIS, CLIP_DEFAULT_PRECIS, DEFAULT_QUALITY,
                                DEFAULT_PITCH | FF_DONTCARE, font.name.c_str()));
}

}  // namespace tsaver::tk
