// The simulated machine's registry, HKEY_CURRENT_USER and HKEY_LOCAL_MACHINE: keys, values and open handles.
#include "platform/simulated/MachineState.h"

#include "platform/Errors.h"
#include "platform/Paths.h"

namespace tsaver {

std::string SimulatedWindows::State::registryKey(const std::string& path) {
  std::string key;
  std::string::size_type start = 0;
  while (start <= path.size()) {
    auto end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    const std::string component = path.substr(start, end - start);
    if (!component.empty()) key += (key.empty() ? "" : "\\") + upperAscii(component);
    start = end + 1;
  }
  return key;
}

SimulatedWindows::State::RegistryKey& SimulatedWindows::State::makeKey(RegRoot root, const std::string& path) {
  Hive& hive = hives[root];
  const std::string key = registryKey(path);
  std::string partial;
  std::string display;
  std::string::size_type start = 0;
  while (start <= path.size()) {
    auto end = path.find('\\', start);
    if (end == std::string::npos) end = path.size();
    const std::string component = path.substr(start, end - start);
    start = end + 1;
    if (component.empty()) continue;
    partial += (partial.empty() ? "" : "\\") + upperAscii(component);
    display += (display.empty() ? "" : "\\") + component;
    if (!hive.count(partial)) hive[partial].path = display;
  }
  return hive[key];
}

SimulatedWindows::State::RegistryKey* SimulatedWindows::State::openedKey(RegKey handle) {
  const auto it = handles.find(handle);
  if (it == handles.end()) return nullptr;
  Hive& hive = hives[it->second.root];
  const auto key = hive.find(it->second.key);
  return key == hive.end() ? nullptr : &key->second;
}

void SimulatedWindows::putRegistryValue(const std::string& key, const std::string& name, const std::string& data,
                                        ValueType type, RegRoot root) {
  state_->makeKey(root, key).values[upperAscii(name)] = State::RegValue{name, type, data};
}

std::optional<std::string> SimulatedWindows::registryValue(const std::string& key, const std::string& name,
                                                           RegRoot root) const {
  const State::Hive& hive = state_->hives[root];
  const auto it = hive.find(State::registryKey(key));
  if (it == hive.end()) return std::nullopt;
  const auto value = it->second.values.find(upperAscii(name));
  if (value == it->second.values.end()) return std::nullopt;
  return value->second.data;
}

bool SimulatedWindows::registryKeyExists(const std::string& key, RegRoot root) const {
  return state_->hives[root].count(State::registryKey(key)) != 0;
}

std::vector<SimulatedWindows::RegistryEntry> SimulatedWindows::registryValues() const {
  std::vector<RegistryEntry> entries;
  for (const RegRoot root : {RegRoot::CurrentUser, RegRoot::LocalMachine})
    for (const auto& [upper, key] : state_->hives[root])
      for (const auto& [name, value] : key.values)
        entries.push_back({root, key.path, value.name, value.data, value.type});
  return entries;
}

std::vector<std::pair<RegRoot, std::string>> SimulatedWindows::registryKeys() const {
  std::vector<std::pair<RegRoot, std::string>> keys;
  for (const RegRoot root : {RegRoot::CurrentUser, RegRoot::LocalMachine})
    for (const auto& [upper, key] : state_->hives[root])
      if (!upper.empty()) keys.emplace_back(root, key.path);
  return keys;
}

void SimulatedWindows::deleteRegistryKey(const std::string& key, RegRoot root) {
  const std::string upper = State::registryKey(key);
  if (upper.empty()) return;
  State::Hive& hive = state_->hives[root];
  for (auto it = hive.begin(); it != hive.end();) {
    if (it->first == upper || it->first.compare(0, upper.size() + 1, upper + "\\") == 0)
      it = hive.erase(it);
    else
      ++it;
  }
}

RegKey SimulatedWindows::regOpenKey(RegRoot root, const std::string& subKey, bool create) {
  State& s = *state_;
  // The registry refuses a name that starts with "\" (ERROR_BAD_PATHNAME).
  if (!subKey.empty() && subKey.front() == '\\') return 0;
  const std::string key = State::registryKey(subKey);
  if (!s.hives[root].count(key)) {
    if (!create) return 0;
    s.makeKey(root, subKey);
  }
  const RegKey handle = s.nextHandle;
  s.nextHandle += 4;
  s.handles[handle] = State::Handle{root, key, subKey};
  return handle;
}

std::optional<std::string> SimulatedWindows::regReadString(RegKey key, const std::string& name) {
  State::RegistryKey* opened = state_->openedKey(key);
  if (!opened) return std::nullopt;
  const auto it = opened->values.find(upperAscii(name));
  if (it == opened->values.end()) return std::nullopt;
  const State::RegValue& value = it->second;
  if (value.type != ValueType::String && value.type != ValueType::ExpandString) {
    if (value.data.empty()) return std::string();
    throw ERegistryException("Invalid data type for '" + name + "'");
  }
  return value.data.substr(0, value.data.find('\0'));
}

void SimulatedWindows::State::storeValue(RegKey handle, const std::string& name, ValueType type,
                                         const std::string& data) {
  RegistryKey* opened = openedKey(handle);
  if (!opened) throw ERegistryException("Failed to set data for '" + name + "'");
  auto& stored = opened->values[upperAscii(name)];
  if (stored.name.empty()) stored.name = name;
  stored.type = type;
  stored.data = data;
}

void SimulatedWindows::regWriteString(RegKey key, const std::string& name, const std::string& value) {
  state_->storeValue(key, name, ValueType::String, value);
}

void SimulatedWindows::regWriteDword(RegKey key, const std::string& name, std::uint32_t value) {
  std::string bytes;
  for (int shift = 0; shift < 32; shift += 8) bytes += static_cast<char>((value >> shift) & 0xFF);
  state_->storeValue(key, name, ValueType::DWord, bytes);
}

bool SimulatedWindows::regDeleteValue(RegKey key, const std::string& name) {
  State::RegistryKey* opened = state_->openedKey(key);
  return opened && opened->values.erase(upperAscii(name)) != 0;
}

void SimulatedWindows::regFlushKey(RegKey key) {
  const auto it = state_->handles.find(key);
  journal_.push_back("RegFlushKey(" + (it == state_->handles.end() ? std::string("?") : it->second.display) + ")");
}

void SimulatedWindows::regCloseKey(RegKey key) { state_->handles.erase(key); }

bool SimulatedWindows::regDeleteKey(RegRoot root, const std::string& subKey) {
  State::Hive& hive = state_->hives[root];
  const std::string key = State::registryKey(subKey);
  if (key.empty() || (!subKey.empty() && subKey.front() == '\\') || !hive.count(key)) return false;
  const auto firstBelow = hive.lower_bound(key + "\\");
  if (firstBelow != hive.end() && firstBelow->first.compare(0, key.size() + 1, key + "\\") == 0) return false;
  hive.erase(key);
  return true;
}

}  // namespace tsaver
