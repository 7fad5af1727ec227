#pragma once
// The confirmation box: a #32770 dialog captioned "Confirm" with the question
// mark, the text, "&Yes" (the default, Enter) and "&No" (also Escape and the
// close box). True when Yes was pressed.
#include <windows.h>

#include <string>

namespace tsaver::tk {

bool showConfirmDialog(HINSTANCE instance, HWND owner, const std::string& text);

}  // namespace tsaver::tk
