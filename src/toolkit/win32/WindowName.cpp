#include "toolkit/win32/WindowName.h"

namespace tsaver::tk {

void nameWindow(HWND window, const std::string& name) {
  if (name.empty()) return;
  SetPropA(window, kNameProperty, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(GlobalAddAtomA(name.c_str()))));
}

void forgetName(HWND window) {
  const auto atom = static_cast<ATOM>(reinterpret_cast<UINT_PTR>(RemovePropA(window, kNameProperty)));
  if (atom) GlobalDeleteAtom(atom);
}

}  // namespace tsaver::tk
