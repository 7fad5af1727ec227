#pragma once
// An in-memory dialog template (DLGTEMPLATE and its items, in dialog units)
// for DialogBoxIndirectParamA, so that the toolkit's dialogs need no resources.
#include <windows.h>

#include <string>
#include <vector>

namespace tsaver::tk {

class DialogTemplate {
 public:
  // The predefined control classes, by their atoms.
  enum class Item : WORD { Button = 0x0080, Edit = 0x0081, Static = 0x0082, ListBox = 0x0083, ComboBox = 0x0085 };

  // A dialog in "MS Sans Serif" 8 point (DS_SETFONT is added).
  DialogTemplate(const std::string& caption, DWORD style, short width, short height);
  void add(Item kind, WORD id, DWORD style, short x, short y, short width, short height, const std::string& text = "");
  const DLGTEMPLATE* get() const { return reinterpret_cast<const DLGTEMPLATE*>(words_.data()); }

 private:
  void word(WORD w) { words_.push_back(w); }
  void dword(DWORD d);
  void text(const std::string& s);
  void alignToDword();
  // Heap memory is DWORD-aligned, as the template must be.
  std::vector<WORD> words_;
};

}  // namespace tsaver::tk
