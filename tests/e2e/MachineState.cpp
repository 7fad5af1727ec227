#include "e2e/MachineState.h"

#include <windows.h>
#include <objbase.h>
#include <shlobj.h>

#include <cstring>
#include <ostream>

#include "e2e/robot/Files.h"
#include "e2e/robot/Wait.h"

namespace e2e {

namespace {

const char kNone[] = "<none>";

// The NUL-separated list that the profile functions fill, as strings.
std::vector<std::string> nulSeparated(const std::vector<char>& buffer, DWORD length) {
  std::vector<std::string> items;
  for (DWORD at = 0; at < length && buffer[at];) {
    items.emplace_back(&buffer[at]);
    at += static_cast<DWORD>(items.back().size()) + 1;
  }
  return items;
}

// Releases a COM pointer on every path.
template <typename T>
struct Com {
  T* p = nullptr;
  ~Com() {
    if (p) p->Release();
  }
};

// A key under HKEY_CURRENT_USER, closed on every path; a null handle when it does not open.
struct UserKey {
  UserKey(const std::string& path, REGSAM access, bool create = false) {
    const LONG result = create ? RegCreateKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, nullptr, 0, access, nullptr,
                                                 &handle, nullptr)
                               : RegOpenKeyExA(HKEY_CURRENT_USER, path.c_str(), 0, access, &handle);
    if (result != ERROR_SUCCESS) handle = nullptr;
  }
  ~UserKey() {
    if (handle) RegCloseKey(handle);
  }
  UserKey(const UserKey&) = delete;
  UserKey& operator=(const UserKey&) = delete;
  HKEY handle = nullptr;
};

}  // namespace

std::ostream& operator<<(std::ostream& os, const ProfileSection& s) {
  os << "[" << s.name << "]";
  for (const auto& [key, value] : s.keys) os << " " << key << "=" << value << ";";
  return os;
}

std::ostream& operator<<(std::ostream& os, const LinkFields& l) {
  return os << "path \"" << l.path << "\", dir \"" << l.workingDir << "\", description \"" << l.description
            << "\", arguments \"" << l.arguments << "\", icon \"" << l.iconFile << "\"," << l.iconIndex << ", show "
            << l.showCommand;
}

std::vector<ProfileSection> profileSections(const std::string& file) {
  std::vector<char> buffer(65536);
  std::vector<ProfileSection> sections;
  const DWORD namesLength =
      GetPrivateProfileSectionNamesA(buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
  for (const std::string& name : nulSeparated(buffer, namesLength)) sections.push_back({name, {}});
  for (ProfileSection& section : sections) {
    const DWORD length =
        GetPrivateProfileSectionA(section.name.c_str(), buffer.data(), static_cast<DWORD>(buffer.size()), file.c_str());
    for (const std::string& line : nulSeparated(buffer, length)) {
      const auto eq = line.find('=');
      section.keys.emplace_back(line.substr(0, eq), eq == std::string::npos ? "" : line.substr(eq + 1));
    }
  }
  return sections;
}

std::string profileString(const std::string& file, const std::string& section, const std::string& key) {
  char value[1024];
  GetPrivateProfileStringA(section.c_str(), key.c_str(), kNone, value, sizeof value, file.c_str());
  return value;
}

std::string userRegistryString(const std::string& key, const std::string& value) {
  UserKey opened(key, KEY_QUERY_VALUE);
  char data[1024];
  DWORD type = 0, size = sizeof data - 1;
  if (!opened.handle ||
      RegQueryValueExA(opened.handle, value.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data), &size) !=
          ERROR_SUCCESS ||
      type != REG_SZ)
    return kNone;
  data[size] = '\0';
  return data;
}

void setUserRegistryString(const std::string& key, const std::string& value, const std::string& data) {
  UserKey opened(key, KEY_SET_VALUE, true);
  if (!opened.handle || RegSetValueExA(opened.handle, value.c_str(), 0, REG_SZ,
                                       reinterpret_cast<const BYTE*>(data.c_str()),
                                       static_cast<DWORD>(data.size() + 1)) != ERROR_SUCCESS)
    throw RobotError("cannot set HKCU\\" + key + " " + value);
}

void deleteUserRegistryValue(const std::string& key, const std::string& value) {
  UserKey opened(key, KEY_SET_VALUE);
  if (opened.handle) RegDeleteValueA(opened.handle, value.c_str());
}

std::string shortPath(const std::string& path) {
  char buffer[MAX_PATH];
  const DWORD length = GetShortPathNameA(path.c_str(), buffer, MAX_PATH);
  return length && length < MAX_PATH ? std::string(buffer, length) : "";
}

LinkFields readLink(const std::string& file) {
  if (FAILED(CoInitialize(nullptr))) throw RobotError("CoInitialize failed");
  struct Uninitialize {
    ~Uninitialize() { CoUninitialize(); }
  } uninitialize;
  Com<IShellLinkA> link;
  Com<IPersistFile> persist;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA,
                              reinterpret_cast<void**>(&link.p))) ||
      FAILED(link.p->QueryInterface(IID_IPersistFile, reinterpret_cast<void**>(&persist.p))))
    throw RobotError("no shell link object");
  wchar_t wide[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, file.c_str(), -1, wide, MAX_PATH);
  if (FAILED(persist.p->Load(wide, STGM_READ))) throw RobotError("cannot load the link " + file);

  LinkFields fields;
  char text[1024];
  const auto read = [&text](HRESULT result) { return SUCCEEDED(result) ? std::string(text) : std::string(kNone); };
  fields.path = read(link.p->GetPath(text, sizeof text, nullptr, SLGP_RAWPATH));
  fields.workingDir = read(link.p->GetWorkingDirectory(text, sizeof text));
  fields.description = read(link.p->GetDescription(text, sizeof text));
  fields.arguments = read(link.p->GetArguments(text, sizeof text));
  fields.iconFile = read(link.p->GetIconLocation(text, sizeof text, &fields.iconIndex));
  // Wine's Load reports 1 for any saved show command; the header holds the
  // value written, a little-endian DWORD at offset 0x3C.
  const std::string bytes = readFile(file);
  if (bytes.size() >= 0x40) {
    std::uint32_t show;
    std::memcpy(&show, bytes.data() + 0x3C, sizeof show);
    fields.showCommand = static_cast<int>(show);
  }
  return fields;
}

}  // namespace e2e
