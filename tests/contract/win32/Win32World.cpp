// Contract tests against the real API, under Wine: a scratch folder
// C:\contract\<test> and a key HKCU\Software\TsaverContract\<test>, both made
// fresh for each test and removed after it, with the current directory restored.
#include <windows.h>

#include <map>
#include <string>

#include "contract/ContractWorld.h"
#include "platform/win32/Handles.h"
#include "platform/win32/Win32Platform.h"

namespace tsaver::contract {

namespace {

const std::string kScratchParent = "C:\\contract";
const std::string kRegistryParent = "Software\\TsaverContract";
const HKEY kRoots[] = {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE};

void removeTree(const std::string& dir) {
  WIN32_FIND_DATAA found;
  {
    UniqueFindHandle search(FindFirstFileA((dir + "\\*").c_str(), &found));
    if (search) {
      do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") continue;
        const std::string path = dir + "\\" + name;
        SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
        if (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)
          removeTree(path);
        else
          DeleteFileA(path.c_str());
      } while (FindNextFileA(search.get(), &found));
    }
  }
  RemoveDirectoryA(dir.c_str());
}

void deleteKeyTree(HKEY parent, const std::string& name) {
  {
    UniqueRegKey key;
    if (RegOpenKeyExA(parent, name.c_str(), 0, KEY_ALL_ACCESS, key.receive()) != ERROR_SUCCESS) return;
    char child[256];
    for (;;) {
      DWORD size = sizeof child;
      if (RegEnumKeyExA(key.get(), 0, child, &size, nullptr, nullptr, nullptr, nullptr) != ERROR_SUCCESS) break;
      const std::string before = child;
      deleteKeyTree(key.get(), before);
      // A child that will not go would be enumerated for ever.
      size = sizeof child;
      if (RegEnumKeyExA(key.get(), 0, child, &size, nullptr, nullptr, nullptr, nullptr) == ERROR_SUCCESS &&
          before == child)
        break;
    }
  }
  RegDeleteKeyA(parent, name.c_str());
}

class Win32World : public ContractWorld {
 public:
  explicit Win32World(const std::string& testName)
      : scratch_(kScratchParent + "\\" + testName), registryRoot_(kRegistryParent + "\\" + testName) {
    char cwd[MAX_PATH];
    GetCurrentDirectoryA(MAX_PATH, cwd);
    originalDirectory_ = cwd;
    removeTree(scratch_);
    CreateDirectoryA(kScratchParent.c_str(), nullptr);
    CreateDirectoryA(scratch_.c_str(), nullptr);
    for (HKEY root : kRoots) deleteKeyTree(root, registryRoot_);
  }
  ~Win32World() override {
    locks_.clear();
    SetCurrentDirectoryA(originalDirectory_.c_str());
    removeTree(scratch_);
    RemoveDirectoryA(kScratchParent.c_str());  // only when no other test's folder is left
    for (HKEY root : kRoots) {
      deleteKeyTree(root, registryRoot_);
      RegDeleteKeyA(root, kRegistryParent.c_str());
    }
  }

  Platform& platform() override { return platform_; }
  std::string scratch() const override { return scratch_; }
  std::string registryRoot() const override { return registryRoot_; }

  void putRegistryValue(const std::string& key, const std::string& name, const std::string& data,
                        RegType type) override {
    static constexpr DWORD kTypes[] = {REG_SZ, REG_EXPAND_SZ, REG_DWORD, REG_BINARY};
    UniqueRegKey opened;
    if (RegCreateKeyExA(HKEY_CURRENT_USER, key.c_str(), 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, opened.receive(),
                        nullptr) != ERROR_SUCCESS)
      return;
    RegSetValueExA(opened.get(), name.c_str(), 0, kTypes[static_cast<int>(type)],
                   reinterpret_cast<const BYTE*>(data.data()), static_cast<DWORD>(data.size()));
  }

  std::optional<std::pair<RegType, std::string>> registryData(RegRoot root, const std::string& key,
                                                             const std::string& name) override {
    UniqueRegKey opened;
    if (RegOpenKeyExA(root == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER, key.c_str(), 0,
                      KEY_QUERY_VALUE, opened.receive()) != ERROR_SUCCESS)
      return std::nullopt;
    DWORD type = REG_NONE, size = 0;
    if (RegQueryValueExA(opened.get(), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
      return std::nullopt;
    std::string data(size, '\0');
    RegQueryValueExA(opened.get(), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(&data[0]), &size);
    const RegType kinds[] = {RegType::String, RegType::ExpandString, RegType::Binary, RegType::DWord};
    const DWORD types[] = {REG_SZ, REG_EXPAND_SZ, REG_BINARY, REG_DWORD};
    for (int i = 0; i < 4; ++i)
      if (types[i] == type) return std::make_pair(kinds[i], data.substr(0, size));
    return std::nullopt;
  }

  void lockFile(const std::string& path) override {
    locks_[path] = UniqueFileHandle(CreateFileA(path.c_str(), GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                                OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  }
  void unlockFile(const std::string& path) override { locks_.erase(path); }
  void makeReadOnly(const std::string& path) override {
    SetFileAttributesA(path.c_str(), GetFileAttributesA(path.c_str()) | FILE_ATTRIBUTE_READONLY);
  }
  bool isReadOnly(const std::string& path) override {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_READONLY) != 0;
  }

 private:
  Win32Platform platform_;
  std::string scratch_;
  std::string registryRoot_;
  std::string originalDirectory_;
  std::map<std::string, UniqueFileHandle> locks_;
};

}  // namespace

std::unique_ptr<ContractWorld> makeContractWorld(const std::string& testName) {
  return std::make_unique<Win32World>(testName);
}

}  // namespace tsaver::contract
