#pragma once
// Writes a .lnk file through the shell's COM shell-link object (IShellLinkA,
// IPersistFile) on the calling thread, with COM initialised for this call only.
// Each text is cut to kShellLinkTextLimit characters; a longer path is refused
// (SaveFailed) rather than cut. Interfaces and COM are released on every path.
#include <string>

#include "platform/Platform.h"

namespace tsaver {

ShellLinkResult saveShellLinkThroughCom(const ShellLinkData& link, const std::string& path);

}  // namespace tsaver
