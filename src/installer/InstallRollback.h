#pragma once
// What an installation run creates, remembered so that an aborted run can take
// it back: the files that this run's own copies and writes made where no file was
// when the run began, and the directories it made. A file that merely was absent
// at the start is not this run's (another run may have made it since); files the
// run replaced, or deleted as older copies, cannot be brought back.
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace tsaver {

class InstallRollback {
 public:
  explicit InstallRollback(Platform& platform) : platform_(platform) {}
  InstallRollback(const InstallRollback&) = delete;
  InstallRollback& operator=(const InstallRollback&) = delete;

  // Call before the run may write the path: notes whether a file is there yet.
  void watchFile(const std::string& path);
  // Call when this run's own copy or write has made the path.
  void made(const std::string& path);
  // Call before the tree is created: remembers each missing level, deepest first,
  // down to the existing directory it will be created under.
  void watchDirectories(std::string path);
  // Deletes the files this run made that were not there when it began, then removes
  // the remembered directories deepest first; one that is not empty stays. Failures
  // are ignored.
  void takeBack();

 private:
  Platform& platform_;
  std::vector<std::string> absentAtStart_;
  std::vector<std::string> made_;
  std::vector<std::string> directories_;
};

}  // namespace tsaver
