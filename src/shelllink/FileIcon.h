#pragma once
// The icon of a shortcut: the file that holds it (.ico, .exe or .dll) and the
// icon's index within that file. A new icon has no file and index 0.
#include <string>

namespace tsaver {

class TFileIcon {
 public:
  const std::string& FileName() const { return fileName_; }
  void setFileName(const std::string& fileName) { fileName_ = fileName; }
  int IconIndex() const { return iconIndex_; }
  void setIconIndex(int iconIndex) { iconIndex_ = iconIndex; }

  // Copies the other icon's FileName, then its IconIndex.
  void Assign(const TFileIcon& source);

 private:
  std::string fileName_;
  int iconIndex_ = 0;
};

}  // namespace tsaver
