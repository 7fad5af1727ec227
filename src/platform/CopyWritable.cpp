#include "platform/Platform.h"

namespace tsaver {

bool copyWritable(Platform& platform, const std::string& source, const std::string& destination) {
  // Windows refuses to copy onto a read-only file, such as one an earlier version
  // copied from a CD; there is no such file on a first installation.
  platform.clearReadOnly(destination);
  if (!platform.copyFile(source, destination)) return false;
  platform.clearReadOnly(destination);
  return true;
}

}  // namespace tsaver
