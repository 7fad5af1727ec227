#pragma once
// One registry accessor with one root (HKEY_CURRENT_USER unless another is given),
// created for one use: at most one key open at a time, closed again by CloseKey or
// the destructor.
#include <cstdint>
#include <string>

#include "platform/Platform.h"

namespace tsaver {

class Registry {
 public:
  explicit Registry(Platform& platform, RegRoot root = RegRoot::CurrentUser) : platform_(platform), root_(root) {}
  ~Registry() { CloseKey(); }
  Registry(const Registry&) = delete;
  Registry& operator=(const Registry&) = delete;

  // A leading "\" marks a path from the root and is dropped. True when the key opened.
  bool OpenKey(const std::string& path, bool canCreate);
  // The stored string, or "" when the value is missing; raises ERegistryException
  // for a value of another type or unreadable data.
  std::string ReadString(const std::string& name);
  // Both raise ERegistryException "Failed to set data for '%s'" on failure.
  void WriteString(const std::string& name, const std::string& value);
  void WriteInteger(const std::string& name, std::uint32_t value);
  bool DeleteValue(const std::string& name);
  void FlushKey();
  void CloseKey();
  // Deletes a key (path as for OpenKey) that has no subkeys; false when it is missing or has some.
  bool DeleteKey(const std::string& path);

 private:
  static std::string fromRoot(const std::string& path);

  Platform& platform_;
  RegRoot root_;
  RegKey key_ = 0;
};

}  // namespace tsaver
