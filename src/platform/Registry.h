#pragma once
// One registry accessor with the root HKEY_CURRENT_USER, created for one use:
// at most one key open at a time, closed again by CloseKey or the destructor.
#include <string>

#include "platform/Platform.h"

namespace tsaver {

class Registry {
 public:
  explicit Registry(Platform& platform) : platform_(platform) {}
  ~Registry() { CloseKey(); }
  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;

  // A leading "\" marks a path from the root and is dropped. True when the key opened.
  bool OpenKey(const std::string& path, bool canCreate);
  // The stored string, or "" when the value is missing; raises ERegistryException
  // for a value of another type or unreadable data.
  std::string ReadString(const std::string& name);
  // Raises ERegistryException "Failed to set data for '%s'" on failure.
  void WriteString(const std::string& name, const std::string& value);
  bool DeleteValue(const std::string& name);
  void FlushKey();
  void CloseKey();

 private:
  Platform& platform_;
  RegKey key_ = 0;
};

}  // namespace tsaver
