// Contract tests against the simulated Windows.
#include "contract/ContractWorld.h"
#include "platform/Paths.h"
#include "platform/SimulatedWindows.h"

namespace tsaver::contract {

namespace {

class SimulatedWorld : public ContractWorld {
 public:
  explicit SimulatedWorld(const std::string& testName)
      : scratch_("C:\\contract\\" + testName), registryRoot_("Software\\TsaverContract\\" + testName) {
    windows_.putDirectory(scratch_);
  }

  Platform& platform() override { return windows_; }
  std::string scratch() const override { return scratch_; }
  std::string registryRoot() const override { return registryRoot_; }
  void putRegistryValue(const std::string& key, const std::string& name, const std::string& data,
                        RegType type) override {
    static constexpr SimulatedWindows::ValueType kTypes[] = {
        SimulatedWindows::ValueType::String, SimulatedWindows::ValueType::ExpandString,
        SimulatedWindows::ValueType::DWord, SimulatedWindows::ValueType::Binary};
    windows_.putRegistryValue(key, name, data, kTypes[static_cast<int>(type)]);
  }
  std::optional<std::pair<RegType, std::string>> registryData(RegRoot root, const std::string& key,
                                                             const std::string& name) override {
    for (const auto& value : windows_.registryValues())
      if (value.root == root && upperAscii(value.key) == upperAscii(key) && upperAscii(value.name) == upperAscii(name))
        return std::make_pair(static_cast<RegType>(value.type), value.data);
    return std::nullopt;
  }
  void lockFile(const std::string& path) override { windows_.lockFile(path, true); }
  void unlockFile(const std::string& path) override { windows_.lockFile(path, false); }
  void makeReadOnly(const std::string& path) override { windows_.setReadOnly(path); }
  bool isReadOnly(const std::string& path) override { return windows_.isReadOnly(path); }

 private:
  SimulatedWindows windows_;
  std::string scratch_;
  std::string registryRoot_;
};

}  // namespace

std::unique_ptr<ContractWorld> makeContractWorld(const std::string& testName) {
  return std::make_unique<SimulatedWorld>(testName);
}

}  // namespace tsaver::contract
