#include "installer/InstallRollback.h"

#include <algorithm>

#include "platform/Paths.h"

namespace tsaver {

namespace {
void dropTrailingSeparator(std::string& path) {
  if (!path.empty() && path.back() == '\\') path.pop_back();
}
}  // namespace

void InstallRollback::watchFile(const std::string& path) {
  if (!platform_.fileExists(path)) absentAtStart_.push_back(path);
}

void InstallRollback::made(const std::string& path) {
  // A few dozen paths at most: a search in place is enough.
  if (std::find(absentAtStart_.begin(), absentAtStart_.end(), path) != absentAtStart_.end()) made_.push_back(path);
}

void InstallRollback::watchDirectories(std::string path) {
  // The levels forceDirectories would create: longer than a drive, not there yet.
  dropTrailingSeparator(path);
  while (path.size() >= 3 && !platform_.directoryExists(path)) {
    directories_.push_back(path);
    std::string parent = directoryPart(path);
    dropTrailingSeparator(parent);
    if (parent == path) break;
    path = parent;
  }
}

void InstallRollback::takeBack() {
  for (const std::string& file : made_)
    if (platform_.fileExists(file)) platform_.deleteFile(file);
  for (const std::string& directory : directories_) platform_.removeDirectory(directory);
}

}  // namespace tsaver
