#pragma once
// TKesShellLink writes one shortcut (.lnk) file at a time through the platform's
// shell-link object. It can place the file in one of the user's shell folders,
// whose paths it reads from the HKCU "...\Explorer\Shell Folders" values.
// Every failure is raised to the caller.
#include <cstdint>
#include <string>

#include "platform/Platform.h"
#include "shelllink/FileIcon.h"

namespace tsaver {

// The folder the link file goes in; each member but sfNone names a Shell Folders value.
enum TShellFolder : std::uint8_t {
  sfNone,
  sfDesktop,
  sfFavorites,
  sfFonts,
  sfPersonal,
  sfPrograms,
  sfRecent,
  sfSendTo,
  sfStartMenu,
  sfStartup,
  sfTemplates
};

enum TWindowState { wsNormal, wsMinimized, wsMaximized };

// Virtual-key code in the low 13 bits, plus 0x2000 Shift, 0x4000 Ctrl, 0x8000 Alt.
using TShortCut = std::uint16_t;

class TKesShellLink {
 public:
  // Every text empty, show command and hot key 0, a new icon, sfNone.
  explicit TKesShellLink(Platform& platform) : platform_(platform) {}
  TKesShellLink(const TKesShellLink&) = delete;
  TKesShellLink& operator=(const TKesShellLink&) = delete;

  const std::string& Arguments() const { return arguments_; }
  void setArguments(const std::string& text) { arguments_ = text; }
  const std::string& Description() const { return description_; }
  void setDescription(const std::string& text) { description_ = text; }
  const std::string& Target() const { return target_; }
  void setTarget(const std::string& text) { target_ = text; }
  const std::string& WorkingDir() const { return workingDir_; }
  void setWorkingDir(const std::string& text) { workingDir_ = text; }

  // The component's own icon, changed in place. Setting it copies FileName then
  // IconIndex; a reference can be neither of another class nor absent, so the
  // invalid-typecast and no-object cases cannot arise.
  TFileIcon& FileIcon() { return fileIcon_; }
  const TFileIcon& FileIcon() const { return fileIcon_; }
  void setFileIcon(const TFileIcon& icon) { fileIcon_.Assign(icon); }

  // The hot key word keeps the key in its low byte and 0x01 Shift, 0x02 Ctrl,
  // 0x04 Alt in its high byte; reading drops every other bit of the high byte.
  TShortCut HotKey() const;
  void setHotKey(TShortCut shortCut);

  // wsNormal, wsMinimized and wsMaximized are show commands 1, 7 and 3. A show
  // command that maps to no member (0 on a new component) reads as wsNormal.
  TWindowState WindowState() const;
  void setWindowState(TWindowState state);

  // An unchanged text does nothing. Otherwise, with a shell folder, the name
  // part moves into that folder; ".lnk" is appended unless the extension is
  // already ".LNK" in any case; a name part of just ".lnk" empties the name.
  // Raises ERegistryException for an unreadable folder value, or EKesShellLink
  // "Write error." for a folder nobody knows; FileName unchanged.
  const std::string& FileName() const { return fileName_; }
  void setFileName(const std::string& value);

  // A new folder other than sfNone moves the name part of FileName into it.
  // The folder is stored before its path is read: an error there leaves the
  // new folder with the old FileName.
  TShellFolder ShellFolder() const { return shellFolder_; }
  void setShellFolder(TShellFolder folder);

  // Writes the link to FileName (SaveToFile), replacing any file there.
  void Save();
  // Writes the link to path from the current properties; the platform cuts long
  // texts and refuses a path too long for the shell. Raises EKesShellLink
  // "\"CoCreateInstance\" failed.", "\"PersistFile QueryInterface\" failed."
  // or "Write error.".
  void SaveToFile(const std::string& path);

 private:
  // The folder's Shell Folders value as stored; when the key or value is missing
  // or empty, the path the shell knows; when it knows none, EKesShellLink "Write error.".
  std::string shellFolderPath(TShellFolder folder);

  Platform& platform_;
  std::string fileName_;
  std::string target_;
  std::string workingDir_;
  std::string description_;
  std::string arguments_;
  int showCommand_ = 0;
  std::uint16_t hotKey_ = 0;
  TFileIcon fileIcon_;
  TShellFolder shellFolder_ = sfNone;
};

// The settings the install window gives its link component when it is created,
// in their order; afterwards FileName is the Programs folder followed by "\".
void applyInstallWindowSettings(TKesShellLink& link);

}  // namespace tsaver
