#pragma once
// The platform under a contract test, with what the interface itself cannot do:
// a fresh scratch directory, a registry key of the test's own, values of other
// types, and a file held open elsewhere. Each platform's folder (native/, win32/)
// defines makeContractWorld; everything a world made is gone when it is destroyed.
#include <memory>
#include <optional>
#include <string>
#include <utility>

#include "platform/Platform.h"

namespace tsaver::contract {

enum class RegType { String, ExpandString, DWord, Binary };

class ContractWorld {
 public:
  virtual ~ContractWorld() = default;
  virtual Platform& platform() = 0;
  // An existing, empty directory of this test: absolute, no trailing "\".
  virtual std::string scratch() const = 0;
  // A key that does not exist yet under either root ("Software\TsaverContract\<test>").
  virtual std::string registryRoot() const = 0;
  // Stores a value of any type, raw bytes as given, creating the key.
  virtual void putRegistryValue(const std::string& key, const std::string& name, const std::string& data,
                                RegType type) = 0;
  // A value's type and raw bytes; nothing when it is missing.
  virtual std::optional<std::pair<RegType, std::string>> registryData(RegRoot root, const std::string& key,
                                                                     const std::string& name) = 0;
  // Opens the file without sharing, as another program might, until unlockFile or the end of the test.
  virtual void lockFile(const std::string& path) = 0;
  virtual void unlockFile(const std::string& path) = 0;
  // The read-only attribute, set as a CD has it and looked at as Explorer shows it.
  virtual void makeReadOnly(const std::string& path) = 0;
  virtual bool isReadOnly(const std::string& path) = 0;
};

// A world for the test of that (unique) name.
std::unique_ptr<ContractWorld> makeContractWorld(const std::string& testName);

}  // namespace tsaver::contract
