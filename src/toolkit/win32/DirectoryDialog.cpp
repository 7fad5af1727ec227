#include "toolkit/win32/DirectoryDialog.h"

#include <winnetwk.h>

#include <algorithm>
#include <cctype>
#include <vector>

#include "platform/win32/Handles.h"
#include "toolkit/win32/ConfirmDialog.h"
#include "toolkit/win32/DialogTemplate.h"
#include "toolkit/win32/WindowName.h"

namespace tsaver::tk {

namespace {

enum : WORD { kNameEdit = 200, kDirectoryList, kFileList, kDriveCombo, kHelpButton, kNetworkButton };

bool isRoot(const std::string& path) { return path.size() == 3 && path[1] == ':' && path[2] == '\\'; }

bool directoryExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

std::string joined(const std::string& directory, const std::string& name) {
  return isRoot(directory) ? directory + name : directory + "\\" + name;
}

void createWithParents(const std::string& path) {
  for (size_t cut = path.find('\\', 3); cut != std::string::npos; cut = path.find('\\', cut + 1))
    CreateDirectoryA(path.substr(0, cut).c_str(), nullptr);
  CreateDirectoryA(path.c_str(), nullptr);
}

bool caseless(const std::string& a, const std::string& b) { return lstrcmpiA(a.c_str(), b.c_str()) < 0; }

// The names in a directory: subdirectories or files, sorted as the lists show them.
std::vector<std::string> entries(const std::string& directory, bool directories) {
  std::vector<std::string> names;
  WIN32_FIND_DATAA found;
  UniqueFindHandle search(FindFirstFileA(joined(directory, "*.*").c_str(), &found));
  if (!search) return names;
  do {
    const std::string name = found.cFileName;
    const bool isDirectory = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
    if (isDirectory == directories && name != "." && name != "..") names.push_back(name);
  } while (FindNextFileA(search.get(), &found));
  std::sort(names.begin(), names.end(), caseless);
  return names;
}

class Chooser {
 public:
  explicit Chooser(HINSTANCE instance) : instance_(instance) {}
  static INT_PTR CALLBACK procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam);
  const std::optional<std::string>& result() const { return result_; }

 private:
  void initialise(HWND dialog);
  void open(const std::string& directory);
  // The drive's own current directory, as "X:" names it; its root when that is gone.
  void openDrive(const std::string& drive);
  void fillDrives();
  void accept();
  HWND item(int id) const { return GetDlgItem(dialog_, id); }

  HINSTANCE instance_;
  HWND dialog_ = nullptr;
  std::string current_;
  std::vector<std::string> listed_;  // the directory list's paths, by item
  std::optional<std::string> result_;
};

void Chooser::initialise(HWND dialog) {
  dialog_ = dialog;
  nameWindow(item(kNameEdit), "DirectoryName");
  fillDrives();
  char here[MAX_PATH + 1] = "";
  const DWORD length = GetCurrentDirectoryA(sizeof here, here);
  open(length > 0 && length < sizeof here ? std::string(here, length) : std::string("C:\\"));
}

void Chooser::fillDrives() {
  HWND combo = item(kDriveCombo);
  SendMessageA(combo, CB_RESETCONTENT, 0, 0);
  char drives[128] = "";
  const DWORD length = GetLogicalDriveStringsA(sizeof drives, drives);
  if (length == 0 || length >= sizeof drives) return;
  for (const char* root = drives; *root; root += lstrlenA(root) + 1) {
    const std::string entry{static_cast<char>(std::tolower(static_cast<unsigned char>(root[0]))), ':'};
    SendMessageA(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(entry.c_str()));
  }
}

void Chooser::open(const std::string& directory) {
  current_ = directory;
  SetWindowTextA(item(kNameEdit), current_.c_str());

  HWND list = item(kDirectoryList);
  SendMessageA(list, LB_RESETCONTENT, 0, 0);
  listed_.clear();
  // The path's levels, each indented one step more, then its subdirectories.
  std::string indent;
  for (size_t cut = current_.find('\\'); cut != std::string::npos; cut = current_.find('\\', cut + 1)) {
    const std::string level = current_.substr(0, cut == 2 ? 3 : cut);
    const std::string shown = cut == 2 ? level : level.substr(level.rfind('\\') + 1);
    if (listed_.empty() || listed_.back() != level) {
      listed_.push_back(level);
      SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>((indent + shown).c_str()));
      indent += "  ";
    }
  }
  if (!isRoot(current_)) {
    listed_.push_back(current_);
    SendMessageA(list, LB_ADDSTRING, 0,
                 reinterpret_cast<LPARAM>((indent + current_.substr(current_.rfind('\\') + 1)).c_str()));
    indent += "  ";
  }
  SendMessageA(list, LB_SETCURSEL, listed_.size() - 1, 0);
  for (const std::string& name : entries(current_, true)) {
    listed_.push_back(joined(current_, name));
    SendMessageA(list, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>((indent + name).c_str()));
  }

  HWND files = item(kFileList);
  SendMessageA(files, LB_RESETCONTENT, 0, 0);
  for (const std::string& name : entries(current_, false))
    SendMessageA(files, LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));

  const std::string drive{current_.substr(0, 2)};
  SendMessageA(item(kDriveCombo), CB_SELECTSTRING, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(drive.c_str()));
}

void Chooser::openDrive(const std::string& drive) {
  char there[MAX_PATH + 1] = "";
  const DWORD length = GetFullPathNameA(drive.c_str(), sizeof there, there, nullptr);
  const std::string target = length > 0 && length < sizeof there ? chooserPath(there, "") : "";
  open(directoryExists(target) ? target : chooserPath(drive, ""));
}

void Chooser::accept() {
  char typed[MAX_PATH + 1] = "";
  GetWindowTextA(item(kNameEdit), typed, sizeof typed);
  if (!*typed) return;
  const std::string path = chooserPath(typed, current_);
  if (!directoryExists(path)) {
    if (!showConfirmDialog(instance_, dialog_, "The specified directory does not exist. Create it?")) return;
    createWithParents(path);
  }
  result_ = path;
  EndDialog(dialog_, IDOK);
}

INT_PTR CALLBACK Chooser::procedure(HWND dialog, UINT message, WPARAM wParam, LPARAM lParam) {
  if (message == WM_INITDIALOG) {
    SetWindowLongPtrA(dialog, DWLP_USER, lParam);
    reinterpret_cast<Chooser*>(lParam)->initialise(dialog);
    return TRUE;
  }
  auto* self = reinterpret_cast<Chooser*>(GetWindowLongPtrA(dialog, DWLP_USER));
  if (!self) return FALSE;
  if (message == WM_DESTROY) {
    forgetName(self->item(kNameEdit));
    return FALSE;
  }
  if (message != WM_COMMAND) return FALSE;
  switch (LOWORD(wParam)) {
    case IDOK:
      self->accept();
      return TRUE;
    case IDCANCEL:
      EndDialog(dialog, IDCANCEL);
      return TRUE;
    case kDirectoryList:
      if (HIWORD(wParam) == LBN_DBLCLK) {
        const LRESULT chosen = SendMessageA(self->item(kDirectoryList), LB_GETCURSEL, 0, 0);
        if (chosen >= 0 && static_cast<size_t>(chosen) < self->listed_.size()) self->open(self->listed_[chosen]);
      }
      return TRUE;
    case kDriveCombo:
      if (HIWORD(wParam) == CBN_SELCHANGE) {
        char drive[8] = "";
        GetWindowTextA(self->item(kDriveCombo), drive, sizeof drive);
        self->openDrive(drive);
      }
      return TRUE;
    case kNetworkButton:
      WNetConnectionDialog(dialog, RESOURCETYPE_DISK);
      self->fillDrives();
      self->open(self->current_);
      return TRUE;
    default:
      return FALSE;
  }
}

}  // namespace

std::string chooserPath(const std::string& typed, const std::string& base) {
  std::string path = typed;
  const bool absolute = (path.size() >= 2 && path[1] == ':') || path.rfind("\\\\", 0) == 0;
  if (!absolute && !base.empty()) path = joined(base, path);
  if (path.size() == 2 && path[1] == ':') return path + "\\";
  while (path.size() > 3 && path.back() == '\\') path.pop_back();
  return path;
}

bool networkDialogAvailable() {
  // mpr offers the connection dialog through the providers listed here; with
  // none, the dialog has nothing to connect.
  UniqueRegKey key;
  if (RegOpenKeyExA(HKEY_LOCAL_MACHINE, "SYSTEM\\CurrentControlSet\\Control\\NetworkProvider\\Order", 0, KEY_READ,
                    key.receive()) != ERROR_SUCCESS)
    return false;
  char order[512] = "";
  DWORD size = sizeof order - 1, type = 0;
  if (RegQueryValueExA(key.get(), "ProviderOrder", nullptr, &type, reinterpret_cast<BYTE*>(order), &size) !=
          ERROR_SUCCESS ||
      (type != REG_SZ && type != REG_EXPAND_SZ))
    return false;
  order[std::min<DWORD>(size, sizeof order - 1)] = '\0';
  return order[0] != '\0';
}

std::optional<std::string> showDirectoryDialog(HINSTANCE instance, HWND owner) {
  using Item = DialogTemplate::Item;
  DialogTemplate dialog("Select Directory", WS_POPUP | WS_CAPTION | WS_SYSMENU | DS_MODALFRAME | DS_CENTER, 284, 158);
  dialog.add(Item::Static, 0xFFFF, SS_LEFT, 6, 6, 140, 9, "Directory &Name:");
  dialog.add(Item::Edit, kNameEdit, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP, 6, 16, 272, 12);
  dialog.add(Item::Static, 0xFFFF, SS_LEFT, 6, 34, 130, 9, "&Directories:");
  dialog.add(Item::ListBox, kDirectoryList, LBS_NOTIFY | LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 6,
             44, 130, 80);
  dialog.add(Item::Static, 0xFFFF, SS_LEFT, 142, 34, 90, 9, "&Files: (*.*)");
  dialog.add(Item::ListBox, kFileList, LBS_NOINTEGRALHEIGHT | WS_VSCROLL | WS_BORDER | WS_TABSTOP, 142, 44, 90, 80);
  dialog.add(Item::Static, 0xFFFF, SS_LEFT, 6, 128, 130, 9, "D&rives:");
  dialog.add(Item::ComboBox, kDriveCombo, CBS_DROPDOWNLIST | WS_VSCROLL | WS_TABSTOP, 6, 138, 130, 100);
  dialog.add(Item::Button, IDOK, BS_DEFPUSHBUTTON | WS_TABSTOP, 238, 44, 40, 14, "OK");
  dialog.add(Item::Button, IDCANCEL, BS_PUSHBUTTON | WS_TABSTOP, 238, 62, 40, 14, "Cancel");
  // The program has no help file: the button is there, as on every such chooser, and does nothing.
  dialog.add(Item::Button, kHelpButton, BS_PUSHBUTTON | WS_TABSTOP, 238, 80, 40, 14, "&Help");
  if (networkDialogAvailable())
    dialog.add(Item::Button, kNetworkButton, BS_PUSHBUTTON | WS_TABSTOP, 238, 98, 40, 14, "Ne&twork...");
  Chooser chooser(instance);
  DialogBoxIndirectParamA(instance, dialog.get(), owner, &Chooser::procedure, reinterpret_cast<LPARAM>(&chooser));
  return chooser.result();
}

}  // namespace tsaver::tk
