#include "uninstall_log/HeldSettingsFile.h"

#include "platform/Errors.h"
#include "platform/ProfileText.h"

namespace tsaver {

namespace {

constexpr int kFileNotFound = 2;

}  // namespace

void HeldSettingsFile::Open(const std::string& path) {
  path_ = path;
  lines_.clear();
  file_.reset();
  try {
    lines_ = profile::splitLines(platform_.readFile(path));
  } catch (const EInOutError& e) {
    // Any other failure: the file cannot be taken as it is, so it is not written.
    if (e.code() != kFileNotFound) return;
  }
  file_ = platform_.holdFile(path);
}

void HeldSettingsFile::WriteString(const std::string& section, const std::string& key, const std::string& value) {
  if (!file_) throw ESettingsWriteError(path_);
  profile::setProfileValue(lines_, section, key, value);
  if (!file_->rewrite(profile::joinLines(lines_))) throw ESettingsWriteError(path_);
}

void HeldSettingsFile::Release() {
  file_.reset();
  lines_.clear();
  path_.clear();
}

}  // namespace tsaver
