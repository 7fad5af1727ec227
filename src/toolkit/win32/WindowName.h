#pragma once
// The "TkName" window property: a global atom holding a control's name, so
// that a UI robot in another process can find the window (GetPropA, then
// GlobalGetAtomNameA). forgetName() removes it and releases the atom.
#include <windows.h>

#include <string>

namespace tsaver::tk {

inline constexpr const char* kNameProperty = "TkName";

void nameWindow(HWND window, const std::string& name);
void forgetName(HWND window);

}  // namespace tsaver::tk
