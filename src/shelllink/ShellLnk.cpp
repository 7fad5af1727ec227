#include "shelllink/ShellLnk.h"

#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/Registry.h"

namespace tsaver {

namespace {

const char kShellFoldersKey[] = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";

// Indexed by TShellFolder: the Shell Folders value, and the shell's CSIDL for the
// same folder, asked when the value is missing or empty. sfNone names neither.
struct ShellFolderSource {
  const char* valueName;
  int csidl;
};
const ShellFolderSource kShellFolderSources[] = {
    {nullptr, 0},          {"Desktop", 0x10},  // CSIDL_DESKTOPDIRECTORY
    {"Favorites", 0x06},   {"Fonts", 0x14},     {"Personal", 0x05},  {"Programs", 0x02},
    {"Recent", 0x08},      {"SendTo", 0x09},    {"Start Menu", 0x0B}, {"Startup", 0x07},
    {"Templates", 0x15},
};

// The name rules work on short texts: a longer name part is cut before it is
// joined to a folder.
constexpr std::size_t kNamePartLimit = 255;

std::string linkNamePart(const std::string& path) { return fileNamePart(path).substr(0, kNamePartLimit); }

// A shortcut's modifier bits and the hot key word's high-byte flags, pairwise.
struct ModifierPair {
  TShortCut shortCutBit;
  std::uint16_t hotKeyFlag;
};
const ModifierPair kModifiers[] = {{0x2000, 0x01}, {0x4000, 0x02}, {0x8000, 0x04}};
constexpr TShortCut kShortCutKeyMask = 0x1FFF;

struct WindowStatePair {
  TWindowState state;
  int showCommand;
};
const WindowStatePair kWindowStates[] = {
    {wsNormal, kShowNormal}, {wsMinimized, kShowMinNoActive}, {wsMaximized, kShowMaximized}};

}  // namespace

TShortCut TKesShellLink::HotKey() const {
  TShortCut shortCut = hotKey_ & 0xFF;
  const unsigned flags = hotKey_ >> 8;
  for (const auto& m : kModifiers)
    if (flags & m.hotKeyFlag) shortCut += m.shortCutBit;
  return shortCut;
}

void TKesShellLink::setHotKey(TShortCut shortCut) {
  // Added, not or-ed: a key part above 0xFF carries into the flags as the shell's word always has.
  std::uint16_t word = shortCut & kShortCutKeyMask;
  for (const auto& m : kModifiers)
    if (shortCut & m.shortCutBit) word += m.hotKeyFlag << 8;
  hotKey_ = word;
}

TWindowState TKesShellLink::WindowState() const {
  for (const auto& w : kWindowStates)
    if (w.showCommand == showCommand_) return w.state;
  return wsNormal;
}

void TKesShellLink::setWindowState(TWindowState state) {
  for (const auto& w : kWindowStates)
    if (w.state == state) showCommand_ = w.showCommand;
}

void TKesShellLink::setFileName(const std::string& value) {
  if (value == fileName_) return;
  std::string name = value;
  if (shellFolder_ != sfNone) name = shellFolderPath(shellFolder_) + "\\" + linkNamePart(name);
  if (upperAscii(extensionPart(name)) != ".LNK") name += ".lnk";
  if (upperAscii(fileNamePart(name)) == ".LNK") name.clear();
  fileName_ = name;
}

void TKesShellLink::setShellFolder(TShellFolder folder) {
  if (folder == shellFolder_) return;
  shellFolder_ = folder;
  if (folder != sfNone) fileName_ = shellFolderPath(folder) + "\\" + linkNamePart(fileName_);
}

std::string TKesShellLink::shellFolderPath(TShellFolder folder) {
  const ShellFolderSource& source = kShellFolderSources[folder];
  {
    Registry registry(platform_);
    if (registry.OpenKey(kShellFoldersKey, false)) {
      const std::string stored = registry.ReadString(source.valueName);
      if (!stored.empty()) return stored;
    }
  }
  // Without a value the link would land in the root of the current drive.
  const std::string known = platform_.shellFolderPath(source.csidl);
  if (known.empty()) throw EKesShellLink("Write error.");
  return known;
}

void TKesShellLink::Save() { SaveToFile(fileName_); }

void TKesShellLink::SaveToFile(const std::string& path) {
  ShellLinkData link;
  link.description = description_;
  link.target = target_;
  link.workingDir = workingDir_;
  link.arguments = arguments_;
  link.showCommand = showCommand_;
  link.hotKey = hotKey_;
  link.iconFile = fileIcon_.FileName();
  link.iconIndex = fileIcon_.IconIndex();
  switch (platform_.saveShellLink(link, path)) {
    case ShellLinkResult::Saved:
      return;
    case ShellLinkResult::CreateFailed:
      throw EKesShellLink("\"CoCreateInstance\" failed.");
    case ShellLinkResult::QueryInterfaceFailed:
      throw EKesShellLink("\"PersistFile QueryInterface\" failed.");
    case ShellLinkResult::SaveFailed:
      break;
  }
  throw EKesShellLink("Write error.");
}

void applyInstallWindowSettings(TKesShellLink& link) {
  link.FileIcon().setIconIndex(0);
  link.setHotKey(0);
  link.setFileName("C:\\WINDOWS\\Start Menu\\Programs\\");
  link.setWindowState(wsNormal);
  link.setShellFolder(sfPrograms);
}

}  // namespace tsaver
