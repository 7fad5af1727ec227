#pragma once
// The toolkit's colours and fonts as GDI sees them.
#include <windows.h>

#include "toolkit/Widgets.h"
#include "toolkit/win32/GdiHandles.h"

namespace tsaver::tk {

// A toolkit colour as a COLORREF; a system colour through GetSysColor.
COLORREF colorRef(Color color);
UniqueBrush makeBrush(Color color);
// Face, character height in pixels (as a negative height), bold and italic.
UniqueFont makeFont(const Font& font);

}  // namespace tsaver::tk
