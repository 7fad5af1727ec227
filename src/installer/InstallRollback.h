#pragma once
// What an installation run creates, remembered so that an aborted run can take
// it back: files and directories that did not exist when the run began. Files
// the run replaced, or deleted as older copies, cannot be brought back.
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace tsaver {

class InstallRollback {
 public:
  explicit InstallRollback(Platform& platform) : platform_(platform) {}
  InstallRollback(const InstallRollback&) = delete;
  InstallRollback& operator=(const InstallRollback&) = delete;

  // Call before the run may write the path: remembered only if no file is there yet.
  void watchFile(const std::string& path);
  // Call before the tree is created: remembers each missing level, deepest first,
  // down to the existing directory it will be created under.
  void watchDirectories(std::string path);
  // Deletes the remembered files that exist now, then removes the remembered
  // directories deepest first; one that is not empty stays. Failures are ignored.
  void takeBack();

 private:
  Platform& platform_;
  std::vector<std::string> files_;
  std::vector<std::string> directories_;
};

}  // namespace tsaver
