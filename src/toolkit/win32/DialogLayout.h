#pragma once
// Helpers for laying out the toolkit's dialogs in pixels.
#include <windows.h>

namespace tsaver::tk {

// The size a static control's text takes in the control's font, wrapped at maxWidth.
SIZE measureText(HWND control, int maxWidth);
// Sizes the window to the client size given and centres it on the screen.
void setClientSizeCentred(HWND window, int clientWidth, int clientHeight);

}  // namespace tsaver::tk
