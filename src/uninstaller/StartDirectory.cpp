#include "uninstaller/StartDirectory.h"

#include "platform/Errors.h"
#include "platform/Paths.h"
#include "uninstall_log/LogNames.h"

namespace tsaver {

void enterStartDirectory(Platform& platform) {
  if (platform.fileExists(platform.currentDirectory() + "\\" + log::kFileName)) return;
  const std::string ownFolder = directoryPart(platform.moduleFileName());  // with its "\"
  if (ownFolder.empty() || !platform.fileExists(ownFolder + log::kFileName)) return;
  // Named as the system names a current directory: without the "\", a drive's root aside.
  const bool driveRoot = ownFolder.size() <= 3;
  try {
    platform.setCurrentDirectory(driveRoot ? ownFolder : ownFolder.substr(0, ownFolder.size() - 1));
  } catch (const EInOutError&) {
  }
}

}  // namespace tsaver
