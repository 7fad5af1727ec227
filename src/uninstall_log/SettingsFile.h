#pragma once
// A settings (profile) file bound to one path, for one use. Every write goes
// straight to the file; a bare file name lies in the Windows directory.
#include <string>

#include "platform/Platform.h"

namespace tsaver {

class SettingsFile {
 public:
  explicit SettingsFile(Platform& platform) : platform_(platform) {}

  // Binds to the path; no file is touched, so a missing file is no error.
  void Open(const std::string& path) { path_ = path; }
  // The stored value, at most 1023 characters, or the default when the file,
  // section or key is missing.
  std::string ReadString(const std::string& section, const std::string& key, const std::string& defaultValue);
  // Raises ESettingsWriteError "Unable to write to %s" (the opened path) on failure.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  // Removes the section with all its keys; raises like WriteString.
  void EraseSection(const std::string& section);
  // Nothing to flush: every write has gone to the file already.
  void Release() { path_.clear(); }

  const std::string& path() const { return path_; }

 private:
  Platform& platform_;
  std::string path_;
};

}  // namespace tsaver
