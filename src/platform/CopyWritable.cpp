#include "platform/Platform.h"

namespace tsaver {

bool copyWritable(Platform& platform, const std::string& source, const std::string& destination) {
  // Windows refuses to copy onto a read-only file, such as one an earlier version
  // copied from a CD: cleared only then, since a look at a missing file costs a
  // search of its whole directory under Wine.
  if (!platform.copyFile(source, destination) &&
      !(platform.clearReadOnly(destination) && platform.copyFile(source, destination)))
    return false;
  return platform.clearReadOnly(destination);
}

}  // namespace tsaver
