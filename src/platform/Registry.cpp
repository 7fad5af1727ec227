#include "platform/Registry.h"

namespace tsaver {

bool Registry::OpenKey(const std::string& path, bool canCreate) {
  CloseKey();
  const std::string subKey = !path.empty() && path.front() == '\\' ? path.substr(1) : path;
  key_ = platform_.regOpenKey(subKey, canCreate);
  return key_ != 0;
}

std::string Registry::ReadString(const std::string& name) {
  return platform_.regReadString(key_, name).value_or(std::string());
}

void Registry::WriteString(const std::string& name, const std::string& value) {
  platform_.regWriteString(key_, name, value);
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

}  // namespace tsaver
