#include "platform/SimulatedWindows.h"

#include <algorithm>
#include <cctype>

#include "platform/Errors.h"
#include "platform/Paths.h"

namespace tsaver {

namespace {

// Windows' error codes, as GetLastError gives them.
constexpr int kFileNotFound = 2;
constexpr int kPathNotFound = 3;
constexpr int kAccessDenied = 5;
constexpr int kSharingViolation = 32;
constexpr int kInvalidName = 123;
constexpr int kDirectoryName = 267;  // ERROR_DIRECTORY: the name is no directory

// GetPrivateProfileStringA's buffer of 1024 bytes holds 1023 characters and the NUL.
constexpr std::size_t kProfileLimit = 1023;
// GetShortPathNameA's buffer: a result that needs more is a failure.
constexpr std::size_t kShortPathBuffer = 259;

bool sameText(const std::string& a, const std::string& b) { return upperAscii(a) == upperAscii(b); }

std::string trimmed(const std::string& text) {
  const auto first = text.find_first_not_of(" \t");
  if (first == std::string::npos) return std::string();
  const auto last = text.find_last_not_of(" \t");
  return text.substr(first, last - first + 1);
}

bool hasInvalidNameCharacter(const std::string& name) { return name.find_first_of("*?\"<>|") != std::string::npos; }

bool hasWildcard(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

// FindFirstFile's pattern match: "*" any run, "?" one character, without regard to ASCII case.
bool wildcardMatch(const char* pattern, const char* name) {
  for (; *pattern; ++pattern) {
    if (*pattern == '*') {
      for (const char* rest = name;; ++rest) {
        if (wildcardMatch(pattern + 1, rest)) return true;
        if (!*rest) return false;
      }
    }
    if (!*name) return false;
    if (*pattern != '?' && std::toupper(static_cast<unsigned char>(*pattern)) !=
                               std::toupper(static_cast<unsigned char>(*name)))
      return false;
    ++name;
  }
  return !*name;
}

// A name that fits DOS 8.3 needs no short alias (case does not matter, as on NTFS and under Wine).
bool fitsEightDotThree(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  if (name.find_first_of(" +,;=[]") != std::string::npos) return false;
  const auto dot = name.find('.');
  if (dot != name.rfind('.')) return false;
  const std::string base = dot == std::string::npos ? name : name.substr(0, dot);
  const std::string ext = dot == std::string::npos ? std::string() : name.substr(dot + 1);
  return !base.empty() && base.size() <= 8 && ext.size() <= 3;
}

// Profile-file text: lines split at LF with a CR before it dropped; written back with CR LF.
std::vector<std::string> splitLines(const std::string& content) {
  std::vector<std::string> lines;
  std::string::size_type start = 0;
  while (start < content.size()) {
    auto end = content.find('\n', start);
    if (end == std::string::npos) end = content.size();
    std::string line = content.substr(start, end - start);
    if (!line.empty() && line.back() == '\r') line.pop_back();
    lines.push_back(line);
    start = end + 1;
  }
  return lines;
}

std::string joinLines(const std::vector<std::string>& lines) {
  std::string content;
  for (const auto& line : lines) content += line + "\r\n";
  return content;
}

bool sectionHeader(const std::string& line, std::string& name) {
  const std::string text = trimmed(line);
  if (text.empty() || text.front() != '[') return false;
  const auto close = text.find(']');
  name = trimmed(text.substr(1, close == std::string::npos ? std::string::npos : close - 1));
  return true;
}

bool keyLine(const std::string& line, std::string& name, std::string& value) {
  std::string ignored;
  if (sectionHeader(line, ignored)) return false;
  const std::string text = trimmed(line);
  if (text.empty()) return false;
  const auto eq = text.find('=');
  name = trimmed(text.substr(0, eq));
  value = eq == std::string::npos ? std::string() : trimmed(text.substr(eq + 1));
  return true;
}

// Windows takes a value out of one pair of matching quotes when it reads it.
std::string unquoted(const std::string& value) {
  if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') && value.back() == value.front())
    return value.substr(1, value.size() - 2);
  return value;
}

// Index of the first header of the section, or lines.size().
std::size_t findSection(const std::vector<std::string>& lines, const std::string& section) {
  std::string name;
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (sectionHeader(lines[i], name) && sameText(name, trimmed(section))) return i;
  return lines.size();
}

std::size_t sectionEnd(const std::vector<std::string>& lines, std::size_t header) {
  std::string name;
  for (std::size_t i = header + 1; i < lines.size(); ++i)
    if (sectionHeader(lines[i], name)) return i;
  return lines.size();
}

std::string cut(const std::string& text, std::size_t limit) { return text.substr(0, limit); }

}  // namespace

struct SimulatedWindows::State {
  struct Node {
    std::string path;       // the full path as first created ("C:\Program Files"); a root is "C:\"
    std::string name;       // the last component as first created
    std::string shortName;  // the 8.3 alias of a name that does not fit 8.3
    bool directory = false;
    std::string content;
    std::optional<ShellLinkData> link;
    bool locked = false;
    unsigned long long order = 0;
  };

  // A path as Windows resolves it: absolute, "." and ".." applied, doubled "\" and
  // trailing dots and blanks of components dropped, "/" taken for "\".
  struct Resolved {
    bool ok = false;
    std::string key;        // canonical: each existing component's long name, upper case; a root is "C:"
    std::string parentKey;  // empty for a root
    std::string name;       // the last component as spelled; empty for a root
    std::string full;       // as spelled: "C:\PKG\Data.dat", a root "C:\"
    bool trailingSeparator = false;
  };

  struct RegValue {
    std::string name;
    ValueType type = ValueType::String;
    std::string data;
  };
  struct RegistryKey {
    std::string path;
    std::map<std::string, RegValue> values;  // by upper-case name
  };
  struct Handle {
    std::string key;      // upper-case path
    std::string display;  // the path as opened
  };

  std::map<std::string, Node> nodes;  // by canonical key
  unsigned long long nextOrder = 0;
  std::string currentDir = "C:\\";
  std::string windowsDir = "C:\\WINDOWS";
  std::string moduleFileName = "C:\\INSTALL.EXE";
  std::string desktopDir = "C:\\WINDOWS\\Desktop";

  std::set<std::string> failCopies;
  std::set<std::string> failProfiles;
  std::set<std::string> failCurrentDirs;
  bool failShortPaths = false;
  std::optional<ShellLinkResult> linkFailure;

  std::map<std::string, RegistryKey> keys = {{"", RegistryKey{}}};  // "" is HKEY_CURRENT_USER itself
  std::map<RegKey, Handle> handles;
  RegKey nextHandle = 0x1000;

  // --- File system ---------------------------------------------------------------
  Node* find(const std::string& key) {
    const auto it = nodes.find(key);
    return it == nodes.end() ? nullptr : &it->second;
  }
  bool isDirectory(const std::string& key) {
    const Node* node = find(key);
    return node && node->directory;
  }

  // The keys of a directory's children, in key order.
  std::vector<std::string> children(const std::string& key) {
    std::vector<std::string> result;
    const std::string prefix = key + "\\";
    for (auto it = nodes.lower_bound(prefix); it != nodes.end() && it->first.compare(0, prefix.size(), prefix) == 0;
         ++it)
      if (it->first.find('\\', prefix.size()) == std::string::npos) result.push_back(it->first);
    return result;
  }

  std::string childKey(const std::string& parentKey, const std::string& component) {
    const std::string direct = parentKey + "\\" + upperAscii(component);
    if (find(direct)) return direct;
    for (const auto& child : children(parentKey))
      if (!nodes[child].shortName.empty() && nodes[child].shortName == upperAscii(component)) return child;
    return direct;
  }

  Resolved resolve(const std::string& path) {
    Resolved r;
    std::string p = path;
    std::replace(p.begin(), p.end(), '/', '\\');
    if (p.empty() || p.compare(0, 2, "\\\\") == 0) return r;  // no UNC names on this machine
    std::string drive;
    std::string rest;
    const std::string cwd = currentDir;
    if (p.size() >= 2 && p[1] == ':' && std::isalpha(static_cast<unsigned char>(p[0]))) {
      drive = p.substr(0, 1);
      rest = p.substr(2);
      if (rest.empty() || rest.front() != '\\') {
        // Drive-relative: the current directory when it is on that drive, else the drive's root.
        const std::string base = std::toupper(static_cast<unsigned char>(cwd[0])) ==
                                         std::toupper(static_cast<unsigned char>(drive[0]))
                                     ? cwd.substr(2)
                                     : std::string("\\");
        rest = base + "\\" + rest;
      }
    } else if (p.front() == '\\') {
      drive = cwd.substr(0, 1);
      rest = p;
    } else {
      drive = cwd.substr(0, 1);
      rest = cwd.substr(2) + "\\" + p;
    }
    r.trailingSeparator = p.back() == '\\';

    std::vector<std::string> components;
    std::string::size_type start = 0;
    while (start <= rest.size()) {
      auto end = rest.find('\\', start);
      if (end == std::string::npos) end = rest.size();
      std::string component = rest.substr(start, end - start);
      start = end + 1;
      if (component.empty() || component == ".") continue;
      if (component == "..") {
        if (!components.empty()) components.pop_back();
        continue;
      }
      while (!component.empty() && (component.back() == '.' || component.back() == ' ')) component.pop_back();
      if (!component.empty()) components.push_back(component);
    }

    r.full = drive + ":\\";
    r.key = upperAscii(drive) + ":";
    for (std::size_t i = 0; i < components.size(); ++i) {
      if (i > 0) r.full += "\\";
      r.full += components[i];
      r.parentKey = r.key;
      r.key = childKey(r.key, components[i]);
    }
    r.name = components.empty() ? std::string() : components.back();
    if (components.empty()) r.parentKey.clear();
    r.ok = true;
    return r;
  }

  std::string shortAlias(const std::string& parentKey, const std::string& name) {
    std::string base;
    std::string ext;
    const auto dot = name.rfind('.');
    const std::string stem = dot == std::string::npos || dot == 0 ? name : name.substr(0, dot);
    const std::string tail = dot == std::string::npos || dot == 0 ? std::string() : name.substr(dot + 1);
    const auto dosChars = [](const std::string& text, std::size_t limit) {
      std::string out;
      for (char c : text) {
        if (c == ' ' || c == '.') continue;
        if (std::string("+,;=[]").find(c) != std::string::npos) c = '_';
        out += c;
        if (out.size() == limit) break;
      }
      return upperAscii(out);
    };
    base = dosChars(stem, 6);
    ext = dosChars(tail, 3);
    std::set<std::string> taken;
    for (const auto& child : children(parentKey)) {
      taken.insert(upperAscii(nodes[child].name));
      if (!nodes[child].shortName.empty()) taken.insert(nodes[child].shortName);
    }
    for (int n = 1;; ++n) {
      const std::string number = "~" + std::to_string(n);
      std::string candidate = base.substr(0, 8 - std::min<std::size_t>(number.size(), 8)) + number;
      if (!ext.empty()) candidate += "." + ext;
      if (!taken.count(candidate)) return candidate;
    }
  }

  Node& create(const Resolved& r, bool directory) {
    const Node& parent = nodes.at(r.parentKey);
    Node node;
    node.path = parent.path + (parent.path.back() == '\\' ? "" : "\\") + r.name;
    node.name = r.name;
    node.shortName = fitsEightDotThree(r.name) ? std::string() : shortAlias(r.parentKey, r.name);
    node.directory = directory;
    node.order = nextOrder++;
    return nodes[r.key] = node;
  }

  void addDrive(char letter) {
    const std::string key(1, static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
    if (find(key + ":")) return;
    Node root;
    root.path = key + ":\\";
    root.name = key + ":";
    root.directory = true;
    root.order = nextOrder++;
    nodes[key + ":"] = root;
  }

  // Creates every missing directory of the resolved path; false when a file is in the way.
  bool makeDirectories(const std::string& path) {
    Resolved whole = resolve(path);
    if (!whole.ok) return false;
    addDrive(whole.full[0]);
    std::string partial = whole.full.substr(0, 3);
    std::string rest = whole.full.substr(3);
    while (!rest.empty()) {
      const auto sep = rest.find('\\');
      partial += (partial.back() == '\\' ? "" : "\\") + rest.substr(0, sep);
      rest = sep == std::string::npos ? std::string() : rest.substr(sep + 1);
      const Resolved r = resolve(partial);
      const Node* node = find(r.key);
      if (node && !node->directory) return false;
      if (!node) create(r, true);
    }
    return true;
  }

  // Where CreateFile would put a new file, or the code it would fail with.
  int checkWritable(const Resolved& r) {
    if (!r.ok || r.name.empty()) return kPathNotFound;
    if (!isDirectory(r.parentKey)) return kPathNotFound;
    const Node* node = find(r.key);
    if (node && node->directory) return kAccessDenied;
    if (node && r.trailingSeparator) return kInvalidName;
    if (node && node->locked) return kSharingViolation;
    if (!node && r.trailingSeparator) return kPathNotFound;
    if (hasInvalidNameCharacter(r.name)) return kInvalidName;
    return 0;
  }

  void storeFile(const Resolved& r, const std::string& content, const std::optional<ShellLinkData>& link) {
    Node* node = find(r.key);
    if (!node) node = &create(r, false);
    node->content = content;
    node->link = link;
  }

  // --- Profile files ---------------------------------------------------------------
  // A bare file name (no "\", "/" or drive) lies in the Windows directory; anything else
  // is resolved like any path, relative to the current directory (as Wine does).
  Resolved resolveProfile(const std::string& file) {
    const bool bare = file.find_first_of("\\/") == std::string::npos && !(file.size() >= 2 && file[1] == ':');
    std::string dir = windowsDir;
    if (!dir.empty() && dir.back() == '\\') dir.pop_back();
    return resolve(bare ? dir + "\\" + file : file);
  }

  const Node* profileFile(const std::string& file) {
    const Resolved r = resolveProfile(file);
    const Node* node = r.ok ? find(r.key) : nullptr;
    return node && !node->directory ? node : nullptr;
  }

  // --- Registry ----------------------------------------------------------------------
  static std::string registryKey(const std::string& path) {
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

  RegistryKey& makeKey(const std::string& path) {
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

  RegistryKey* openedKey(RegKey handle) {
    const auto it = handles.find(handle);
    if (it == handles.end()) return nullptr;
    const auto key = keys.find(it->second.key);
    return key == keys.end() ? nullptr : &key->second;
  }
};

SimulatedWindows::SimulatedWindows() : state_(std::make_shared<State>()) {
  addDrive('C');
  putDirectory("C:\\WINDOWS");
  putDirectory("C:\\WINDOWS\\Desktop");
  putDirectory("C:\\WINDOWS\\Start Menu\\Programs");
  putFile("C:\\INSTALL.EXE");
  const std::string shellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
  putRegistryValue(shellFolders, "Programs", "C:\\WINDOWS\\Start Menu\\Programs");
  putRegistryValue(shellFolders, "Desktop", "C:\\WINDOWS\\Desktop");
}

// --- Setting the machine up -----------------------------------------------------------

void SimulatedWindows::addDrive(char letter) { state_->addDrive(letter); }

void SimulatedWindows::setWindowsDirectory(const std::string& path) {
  state_->makeDirectories(path);
  state_->windowsDir = path;
}

void SimulatedWindows::setModuleFileName(const std::string& path) { state_->moduleFileName = path; }

void SimulatedWindows::setDesktopDirectory(const std::string& path) {
  if (!path.empty()) state_->makeDirectories(path);
  state_->desktopDir = path;
}

void SimulatedWindows::putFile(const std::string& path, const std::string& content) {
  const State::Resolved r = state_->resolve(path);
  if (!r.ok || r.name.empty()) return;
  if (!state_->makeDirectories(r.full.substr(0, r.full.size() - r.name.size()))) return;
  const State::Node* node = state_->find(r.key);
  if (node && node->directory) return;
  state_->storeFile(r, content, std::nullopt);
}

void SimulatedWindows::putDirectory(const std::string& path) { state_->makeDirectories(path); }

// --- Faults ------------------------------------------------------------------------------

void SimulatedWindows::lockFile(const std::string& path, bool locked) {
  const State::Resolved r = state_->resolve(path);
  if (State::Node* node = r.ok ? state_->find(r.key) : nullptr) node->locked = locked;
}

void SimulatedWindows::failCopiesTo(const std::string& destination) {
  const State::Resolved r = state_->resolve(destination);
  if (r.ok) state_->failCopies.insert(r.key);
}

void SimulatedWindows::failProfileWrites(const std::string& file) {
  const State::Resolved r = state_->resolveProfile(file);
  if (r.ok) state_->failProfiles.insert(r.key);
}

void SimulatedWindows::failShortPathNames(bool fail) { state_->failShortPaths = fail; }

void SimulatedWindows::failShellLinks(ShellLinkResult result) { state_->linkFailure = result; }

void SimulatedWindows::failSetCurrentDirectory(const std::string& path) {
  const State::Resolved r = state_->resolve(path);
  if (r.ok) state_->failCurrentDirs.insert(r.key);
}

// --- Looking at the machine --------------------------------------------------------------

std::optional<std::string> SimulatedWindows::fileContent(const std::string& path) const {
  const State::Resolved r = state_->resolve(path);
  const State::Node* node = r.ok ? state_->find(r.key) : nullptr;
  if (!node || node->directory) return std::nullopt;
  return node->content;
}

std::vector<std::string> SimulatedWindows::allPaths() const {
  std::vector<const State::Node*> nodes;
  for (const auto& [key, node] : state_->nodes)
    if (!node.name.empty() && node.path.size() > 3) nodes.push_back(&node);
  std::sort(nodes.begin(), nodes.end(), [](const State::Node* a, const State::Node* b) { return a->order < b->order; });
  std::vector<std::string> paths;
  for (const State::Node* node : nodes) paths.push_back(node->path + (node->directory ? "\\" : ""));
  return paths;
}

std::vector<SimulatedWindows::ProfileSection> SimulatedWindows::profileSections(const std::string& file) const {
  std::vector<ProfileSection> sections;
  const State::Node* node = state_->profileFile(file);
  if (!node) return sections;
  std::string name;
  std::string value;
  for (const auto& line : splitLines(node->content)) {
    if (sectionHeader(line, name)) {
      sections.push_back({name, {}});
    } else if (!sections.empty() && keyLine(line, name, value)) {
      sections.back().second.emplace_back(name, unquoted(value));
    }
  }
  return sections;
}

std::optional<ShellLinkData> SimulatedWindows::shellLink(const std::string& path) const {
  const State::Resolved r = state_->resolve(path);
  const State::Node* node = r.ok ? state_->find(r.key) : nullptr;
  if (!node || node->directory) return std::nullopt;
  return node->link;
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

// --- Files and directories ------------------------------------------------------------------

bool SimulatedWindows::copyFile(const std::string& source, const std::string& destination) {
  State& s = *state_;
  const State::Resolved from = s.resolve(source);
  const State::Node* sourceNode = from.ok && !from.trailingSeparator ? s.find(from.key) : nullptr;
  if (!sourceNode || sourceNode->directory || sourceNode->locked) return false;
  const State::Resolved to = s.resolve(destination);
  if (s.checkWritable(to) != 0) return false;
  if (to.key == from.key) return false;  // the source is open for reading: a sharing violation
  if (s.failCopies.count(to.key)) {
    s.nodes.erase(to.key);
    return true;
  }
  const std::string content = sourceNode->content;
  const std::optional<ShellLinkData> link = sourceNode->link;
  s.storeFile(to, content, link);
  return true;
}

bool SimulatedWindows::moveFile(const std::string& from, const std::string& to) {
  State& s = *state_;
  const State::Resolved a = s.resolve(from);
  State::Node* node = a.ok && !a.name.empty() ? s.find(a.key) : nullptr;
  if (!node || node->locked) return false;
  const State::Resolved b = s.resolve(to);
  if (!b.ok || b.name.empty() || !s.isDirectory(b.parentKey) || hasInvalidNameCharacter(b.name)) return false;
  if (b.key == a.key) {  // a new spelling of the same name
    node->name = b.name;
    node->path = node->path.substr(0, node->path.size() - a.name.size()) + b.name;
    return true;
  }
  if (s.find(b.key)) return false;  // ERROR_ALREADY_EXISTS
  if (node->directory) {
    if (b.key[0] != a.key[0]) return false;  // directories stay on their volume
    if (b.key.compare(0, a.key.size() + 1, a.key + "\\") == 0) return false;  // into itself
  }
  State::Node moved = *node;
  const std::string oldPath = moved.path;
  const State::Node& parent = s.nodes.at(b.parentKey);
  moved.path = parent.path + (parent.path.back() == '\\' ? "" : "\\") + b.name;
  moved.name = b.name;
  moved.shortName = fitsEightDotThree(b.name) ? std::string() : s.shortAlias(b.parentKey, b.name);
  std::vector<std::pair<std::string, State::Node>> descendants;
  const std::string prefix = a.key + "\\";
  for (auto it = s.nodes.lower_bound(prefix); it != s.nodes.end() && it->first.compare(0, prefix.size(), prefix) == 0;) {
    State::Node child = it->second;
    child.path = moved.path + child.path.substr(oldPath.size());
    descendants.emplace_back(b.key + it->first.substr(a.key.size()), child);
    it = s.nodes.erase(it);
  }
  s.nodes.erase(a.key);
  s.nodes[b.key] = moved;
  for (auto& [key, child] : descendants) s.nodes[key] = child;
  return true;
}

bool SimulatedWindows::deleteFile(const std::string& path) {
  const State::Resolved r = state_->resolve(path);
  const State::Node* node = r.ok && !r.trailingSeparator ? state_->find(r.key) : nullptr;
  if (!node || node->directory || node->locked) return false;
  state_->nodes.erase(r.key);
  return true;
}

bool SimulatedWindows::deleteAtReboot(const std::string& path) {
  journal_.push_back("MoveFileExA(" + path + ",DELAY_UNTIL_REBOOT)");
  return true;
}

bool SimulatedWindows::fileExists(const std::string& path) {
  State& s = *state_;
  const State::Resolved r = s.resolve(path);
  if (!r.ok || r.name.empty() || r.trailingSeparator) return false;
  if (!hasWildcard(r.name)) {
    const State::Node* node = s.find(r.key);
    return node && !node->directory;
  }
  // FindFirstFileA reports the first match only; "." and ".." come first outside a root.
  if (!s.isDirectory(r.parentKey)) return false;
  if (r.parentKey.size() > 2 && (wildcardMatch(r.name.c_str(), ".") || wildcardMatch(r.name.c_str(), "..")))
    return false;
  for (const auto& child : s.children(r.parentKey)) {
    const State::Node& node = s.nodes[child];
    if (wildcardMatch(r.name.c_str(), node.name.c_str()) ||
        (!node.shortName.empty() && wildcardMatch(r.name.c_str(), node.shortName.c_str())))
      return !node.directory;
  }
  return false;
}

bool SimulatedWindows::directoryExists(const std::string& path) {
  const State::Resolved r = state_->resolve(path);
  return r.ok && state_->isDirectory(r.key);
}

bool SimulatedWindows::createDirectory(const std::string& path) {
  State& s = *state_;
  const State::Resolved r = s.resolve(path);
  if (!r.ok || r.name.empty() || !s.isDirectory(r.parentKey) || s.find(r.key) || hasInvalidNameCharacter(r.name))
    return false;
  s.create(r, true);
  return true;
}

bool SimulatedWindows::removeDirectory(const std::string& path) {
  State& s = *state_;
  const State::Resolved r = s.resolve(path);
  if (!r.ok || r.name.empty() || !s.isDirectory(r.key) || !s.children(r.key).empty()) return false;
  // The process holds its current directory open: Windows refuses to remove it.
  if (s.resolve(s.currentDir).key == r.key) return false;
  s.nodes.erase(r.key);
  return true;
}

std::string SimulatedWindows::currentDirectory() { return state_->currentDir; }

void SimulatedWindows::setCurrentDirectory(const std::string& path) {
  State& s = *state_;
  const State::Resolved r = s.resolve(path);
  if (!r.ok) throw EInOutError(kPathNotFound);
  if (s.failCurrentDirs.count(r.key)) throw EInOutError(kFileNotFound);
  const State::Node* node = s.find(r.key);
  if (!node) throw EInOutError(!r.parentKey.empty() && s.isDirectory(r.parentKey) ? kFileNotFound : kPathNotFound);
  if (!node->directory) throw EInOutError(kDirectoryName);
  s.currentDir = r.full;
}

std::string SimulatedWindows::moduleFileName() { return state_->moduleFileName; }

std::string SimulatedWindows::windowsDirectory() {
  std::string dir = state_->windowsDir;
  if (!dir.empty() && dir.back() == '\\') dir.pop_back();
  return dir;
}

std::string SimulatedWindows::shortPathName(const std::string& path) {
  State& s = *state_;
  if (s.failShortPaths || path.empty()) return std::string();
  if (!directoryExists(path) && !s.find(s.resolve(path).key)) return std::string();
  // Component by component, as Windows builds it: separators and "." / ".." copied,
  // every other component replaced by its alias, or its own name where it fits 8.3.
  std::string out;
  std::string::size_type i = 0;
  if (path.size() >= 2 && path[1] == ':') {
    out = path.substr(0, 2);
    i = 2;
  }
  while (i < path.size()) {
    if (path[i] == '\\' || path[i] == '/') {
      if (out.empty() || out.back() != '\\') out += '\\';
      ++i;
      continue;
    }
    auto end = path.find_first_of("\\/", i);
    if (end == std::string::npos) end = path.size();
    const std::string component = path.substr(i, end - i);
    i = end;
    if (component == "." || component == "..") {
      out += component;
      continue;
    }
    const State::Resolved r = s.resolve(out + component);
    const State::Node* node = r.ok ? s.find(r.key) : nullptr;
    if (!node) return std::string();
    out += node->shortName.empty() ? node->name : node->shortName;
  }
  return out.size() >= kShortPathBuffer ? std::string() : out;
}

std::string SimulatedWindows::readFile(const std::string& path) {
  State& s = *state_;
  const State::Resolved r = s.resolve(path);
  if (!r.ok || r.name.empty()) throw EInOutError(r.ok ? kAccessDenied : kPathNotFound);
  const State::Node* node = s.find(r.key);
  if (!node) throw EInOutError(s.isDirectory(r.parentKey) && !r.trailingSeparator ? kFileNotFound : kPathNotFound);
  if (node->directory) throw EInOutError(kAccessDenied);
  if (r.trailingSeparator) throw EInOutError(kInvalidName);
  if (node->locked) throw EInOutError(kSharingViolation);
  return node->content;
}

void SimulatedWindows::writeFile(const std::string& path, const std::string& content) {
  State& s = *state_;
  const State::Resolved r = s.resolve(path);
  if (const int code = s.checkWritable(r)) throw EInOutError(code);
  s.storeFile(r, content, std::nullopt);
}

// --- Settings files ----------------------------------------------------------------------------

std::string SimulatedWindows::getProfileString(const std::string& section, const std::string& key,
                                               const std::string& defaultValue, const std::string& file) {
  // Windows drops the default's trailing blanks.
  std::string fallback = defaultValue;
  while (!fallback.empty() && fallback.back() == ' ') fallback.pop_back();
  fallback = cut(fallback, kProfileLimit);
  const State::Node* node = state_->profileFile(file);
  if (!node) return fallback;
  const auto lines = splitLines(node->content);
  const auto header = findSection(lines, section);
  if (header == lines.size()) return fallback;
  const auto end = sectionEnd(lines, header);
  std::string name;
  std::string value;
  for (auto i = header + 1; i < end; ++i)
    if (keyLine(lines[i], name, value) && sameText(name, trimmed(key))) return cut(unquoted(value), kProfileLimit);
  return fallback;
}

bool SimulatedWindows::writeProfileString(const std::string& section, const std::optional<std::string>& key,
                                          const std::optional<std::string>& value, const std::string& file) {
  State& s = *state_;
  const State::Resolved r = s.resolveProfile(file);
  if (!r.ok || s.failProfiles.count(r.key) || s.checkWritable(r) != 0) return false;
  const State::Node* node = s.find(r.key);
  std::vector<std::string> lines = node ? splitLines(node->content) : std::vector<std::string>();
  const auto header = findSection(lines, section);
  bool changed = false;
  if (!key) {
    if (header != lines.size()) {
      lines.erase(lines.begin() + header, lines.begin() + sectionEnd(lines, header));
      changed = true;
    }
  } else {
    const auto end = header == lines.size() ? lines.size() : sectionEnd(lines, header);
    std::string name;
    std::string old;
    std::size_t found = lines.size();
    if (header != lines.size())
      for (auto i = header + 1; i < end && found == lines.size(); ++i)
        if (keyLine(lines[i], name, old) && sameText(name, trimmed(*key))) found = i;
    if (!value) {
      if (found != lines.size()) {
        lines.erase(lines.begin() + found);
        changed = true;
      }
    } else if (found != lines.size()) {
      // The key keeps its first spelling; only the value is replaced.
      keyLine(lines[found], name, old);
      lines[found] = name + "=" + *value;
      changed = true;
    } else if (header != lines.size()) {
      std::size_t at = header + 1;
      for (auto i = header + 1; i < end; ++i)
        if (!trimmed(lines[i]).empty()) at = i + 1;
      lines.insert(lines.begin() + at, *key + "=" + *value);
      changed = true;
    } else {
      lines.push_back("[" + section + "]");
      lines.push_back(*key + "=" + *value);
      changed = true;
    }
  }
  if (changed) s.storeFile(r, joinLines(lines), std::nullopt);
  return true;
}

// --- Registry ----------------------------------------------------------------------------------

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

// --- Shell, processes, system ----------------------------------------------------------------------

void SimulatedWindows::shellExecute(const std::string& file, const std::string& parameters, int show) {
  launches_.push_back(Launch{Launch::ShellExecute, file, parameters, show});
  journal_.push_back("ShellExecuteA(" + file + "," + parameters + "," + std::to_string(show) + ")");
}

void SimulatedWindows::winExec(const std::string& commandLine, int show) {
  launches_.push_back(Launch{Launch::WinExec, commandLine, std::string(), show});
  journal_.push_back("WinExec(" + commandLine + "," + std::to_string(show) + ")");
}

std::string SimulatedWindows::desktopDirectory() { return state_->desktopDir; }

void SimulatedWindows::setScreenSaveActive() { journal_.push_back("SystemParametersInfoA(17,1,0,2)"); }

void SimulatedWindows::startScreenSaver() { journal_.push_back("PostMessageA(desktop,WM_SYSCOMMAND,0xF140,0)"); }

void SimulatedWindows::sleep(unsigned milliseconds) {
  journal_.push_back("Sleep(" + std::to_string(milliseconds) + ")");
  if (onSleep) onSleep(milliseconds);
}

ShellLinkResult SimulatedWindows::saveShellLink(const ShellLinkData& link, const std::string& path) {
  State& s = *state_;
  if (s.linkFailure) return *s.linkFailure;
  // As the COM writer: a path the shell would cut is refused, each text is cut.
  if (path.size() > kShellLinkTextLimit) return ShellLinkResult::SaveFailed;
  const State::Resolved r = s.resolve(path);
  if (s.checkWritable(r) != 0) return ShellLinkResult::SaveFailed;
  ShellLinkData stored = link;
  for (std::string* text : {&stored.description, &stored.target, &stored.workingDir, &stored.arguments,
                            &stored.iconFile})
    *text = cut(*text, kShellLinkTextLimit);
  // The bytes stand in for a .lnk; what matters is the data kept beside them.
  s.storeFile(r, "L\r\n" + stored.target + "\r\n", stored);
  return ShellLinkResult::Saved;
}

}  // namespace tsaver

namespace tsaver {

// --- Reading a whole section -------------------------------------------------------------------

std::vector<std::string> SimulatedWindows::profileKeyNames(const std::string& section, const std::string& file) {
  std::vector<std::string> names;
  const State::Node* node = state_->profileFile(file);
  if (!node) return names;
  const auto lines = splitLines(node->content);
  const auto header = findSection(lines, section);
  if (header == lines.size()) return names;
  std::string name;
  std::string value;
  for (auto i = header + 1; i < sectionEnd(lines, header); ++i)
    // As Wine: a comment line is found by its name, but not listed.
    if (keyLine(lines[i], name, value) && name.front() != ';') names.push_back(name);
  return names;
}

}  // namespace tsaver
