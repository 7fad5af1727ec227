#include "platform/Registry.h"

namespace tsaver {

std::string Registry::fromRoot(const std::string& path) {
  return !path.empty() && path.front() == '\\' ? path.substr(1) : path;
}

bool Registry::OpenKey(const std::string& path, bool canCreate) {
  CloseKey();
  key_ = platform_.regOpenKey(root_, fromRoot(path), canCreate);
  return key_ != 0;
}

std::string Registry::ReadString(const std::string& name) {
  return platform_.regReadString(key_, name).value_or(std::string());
}

void Registry::WriteString(const std::string& name, const std::string& value) {
  platform_.regWriteString(key_, name, value);
}

void Registry::WriteInteger(const std::string& name, std::uint32_t value) {
  platform_.regWriteDword(key_, name, value);
}

bool Registry::DeleteValue(const std::string& name) { return platform_.regDeleteValue(key_, name); }

void Registry::FlushKey() {
  if (key_ != 0) platform_.regFlushKey(key_);
}

void Registry::CloseKey() {
  if (key_ == 0) return;
  platform_.regCloseKey(key_);
  key_ = 0;
}

bool Registry::DeleteKey(const std::string& path) { return platform_.regDeleteKey(root_, fromRoot(path)); }

}  // namespace tsaver
