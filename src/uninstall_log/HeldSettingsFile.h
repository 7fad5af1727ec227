#pragma once
// A settings file that one writer changes many times in a row: its text is read
// once, and every WriteString changes it as the profile functions would and
// writes it whole, straight to the file, through one handle held meanwhile. The
// profile functions read and write the whole file anew at every call, and Wine
// asks its server half a dozen times for each: this costs one write a value.
#include <memory>
#include <string>
#include <vector>

#include "platform/Platform.h"

namespace tsaver {

class HeldSettingsFile {
 public:
  explicit HeldSettingsFile(Platform& platform) : platform_(platform) {}

  // Reads the file at that path (with its directory; missing, it is empty) and holds it.
  void Open(const std::string& path);
  // Raises ESettingsWriteError "Unable to write to %s" (the opened path) on failure.
  void WriteString(const std::string& section, const std::string& key, const std::string& value);
  void Release();

 private:
  Platform& platform_;
  std::string path_;
  std::vector<std::string> lines_;
  std::unique_ptr<HeldFile> file_;
};

}  // namespace tsaver
