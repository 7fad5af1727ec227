#include "shelllink/FileIcon.h"

namespace tsaver {

void TFileIcon::Assign(const TFileIcon& source) {
  fileName_ = source.fileName_;
  iconIndex_ = source.iconIndex_;
}

}  // namespace tsaver
