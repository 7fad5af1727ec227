#include "platform/Paths.h"
#include "platform/Platform.h"

namespace tsaver {

void forceDirectories(Platform& platform, std::string path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
  if (path.size() < 3 || platform.directoryExists(path)) return;
  const std::string parent = directoryPart(path);
  // A path that is its own parent ("C::", say) would recurse for ever.
  if (parent != path) forceDirectories(platform, parent);
  platform.createDirectory(path);
}

}  // namespace tsaver
