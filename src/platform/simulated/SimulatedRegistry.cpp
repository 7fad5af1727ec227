// The simulated machine's registry under HKEY_CURRENT_USER: keys, values and open handles.
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

SimulatedWindows::State::RegistryKey& SimulatedWindows::State::makeKey(const std::string& path) {
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
    if (!keys.count(partial)) keys[partial].path = display;
  }
  return keys[key];
}

SimulatedWindows::State::RegistryKey* SimulatedWindows::State::openedKey(RegKey handle) {
  const auto it = handles.find(handle);
  if (it == handles.end()) return nullptr;
  const auto key = keys.find(it->second.key);
  return key == keys.end() ? nullptr : &key->second;
}

void SimulatedWindows::putRegistryValue(const std::string& key, const std::string& name, const std::string& data,
                                        ValueType type) {
  state_->makeKey(key).values[upperAscii(name)] = State::RegValue{name, type, data};
}

std::optional<std::string> SimulatedWindows::registryValue(const std::string& key, const std::string& name) const {
  const auto it = state_->keys.find(State::registryKey(key));
  if (it == state_->keys.end()) return std::nullopt;
  const auto value = it->second.values.find(upperAscii(name));
  if (value == it->second.values.end()) return std::nullopt;
  return value->second.data;
}

bool SimulatedWindows::registryKeyExists(const std::string& key) const {
  return state_->keys.count(State::registryKey(key)) != 0;
}

std::vector<SimulatedWindows::RegistryEntry> SimulatedWindows::registryValues() const {
  std::vector<RegistryEntry> entries;
  for (const auto& [upper, key] : state_->keys)
    for (const auto& [name, value] : key.values) entries.push_back({key.path, value.name, value.data});
  return entries;
}

void SimulatedWindows::deleteRegistryKey(const std::string& key) {
  const std::string upper = State::registryKey(key);
  if (upper.empty()) return;
  for (auto it = state_->keys.begin(); it != state_->keys.end();) {
    if (it->first == upper || it->first.compare(0, upper.size() + 1, upper + "\\") == 0)
      it = state_->keys.erase(it);
    else
      ++it;
  }
}

RegKey SimulatedWindows::regOpenKey(const std::string& subKey, bool create) {
  State& s = *state_;
  // The registry refuses a name that starts with "\" (ERROR_BAD_PATHNAME).
  if (!subKey.empty() && subKey.front() == '\\') return 0;
  const std::string key = State::registryKey(subKey);
  if (!s.keys.count(key)) {
    if (!create) return 0;
    s.makeKey(subKey);
  }
  const RegKey handle = s.nextHandle;
  s.nextHandle += 4;
  s.handles[handle] = State::Handle{key, subKey};
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

void SimulatedWindows::regWriteString(RegKey key, const std::string& name, const std::string& value) {
  State::RegistryKey* opened = state_->openedKey(key);
  if (!opened) throw ERegistryException("Failed to set data for '" + name + "'");
  auto& stored = opened->values[upperAscii(name)];
  if (stored.name.empty()) stored.name = name;
  stored.type = ValueType::String;
  stored.data = value;
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

}  // namespace tsaver
