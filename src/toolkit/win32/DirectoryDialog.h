#pragma once
// The directory chooser: a #32770 dialog "Select Directory" opened on the
// current directory, with a "Directory &Name:" field (TkName "DirectoryName")
// into which any path may be typed, the drives, the current path's parents and
// subdirectories (double-click opens one), its files, "OK", "Cancel", "&Help"
// and, where a network provider is installed, "Ne&twork...". On OK a missing
// directory is offered for creation ("Create it?"; No keeps the chooser open)
// and made with its missing parents, failures ignored. Returns the path as the
// field names it ("C:\" for a root, no trailing "\" deeper), nothing on Cancel.
#include <windows.h>

#include <optional>
#include <string>

namespace tsaver::tk {

std::optional<std::string> showDirectoryDialog(HINSTANCE instance, HWND owner);

// Whether the system has a network provider for WNetConnectionDialog to offer.
bool networkDialogAvailable();

// "C:" and "C:\" name the root "C:\"; deeper paths lose their trailing "\";
// a relative path is taken inside `base`.
std::string chooserPath(const std::string& typed, const std::string& base);

}  // namespace tsaver::tk
