#include "toolkit/win32/DialogTemplate.h"

namespace tsaver::tk {

namespace {
// Offset of DLGTEMPLATE::cdit, the item count, in WORDs.
constexpr size_t kItemCountWord = 4;
}  // namespace

DialogTemplate::DialogTemplate(const std::string& caption, DWORD style, short width, short height) {
  dword(style | DS_SETFONT);
  dword(0);  // extended style
  word(0);   // items, counted by add()
  for (short v : {short(0), short(0), width, height}) word(static_cast<WORD>(v));
  word(0);  // no menu
  word(0);  // the standard dialog class
  text(caption);
  word(8);
  text("MS Sans Serif");
}

void DialogTemplate::dword(DWORD d) {
  word(LOWORD(d));
  word(HIWORD(d));
}

void DialogTemplate::text(const std::string& s) {
  std::vector<wchar_t> wide(s.size() + 1);
  const int n = MultiByteToWideChar(CP_ACP, 0, s.c_str(), static_cast<int>(s.size()), wide.data(),
                                    static_cast<int>(wide.size()));
  for (int i = 0; i < n; ++i) word(static_cast<WORD>(wide[i]));
  word(0);
}

void DialogTemplate::alignToDword() {
  if (words_.size() % 2) word(0);
}

void DialogTemplate::add(Item kind, WORD id, DWORD style, short x, short y, short width, short height,
                         const std::string& caption) {
  alignToDword();
  dword(style | WS_CHILD | WS_VISIBLE);
  dword(0);
  for (short v : {x, y, width, height}) word(static_cast<WORD>(v));
  word(id);
  word(0xFFFF);
  word(static_cast<WORD>(kind));
  text(caption);
  word(0);  // no creation data
  ++words_[kItemCountWord];
}

}  // namespace tsaver::tk
