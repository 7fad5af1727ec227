// The simulated machine's files and paths: the tree of drives, directories and files,
// resolved and named as Windows does, and the file operations on it.
#include "platform/simulated/MachineState.h"

#include <algorithm>
#include <cctype>

#include "platform/Errors.h"
#include "platform/Paths.h"

namespace tsaver {

using namespace simulated;

namespace {

// GetShortPathNameA's buffer: a result that needs more is a failure.
constexpr std::size_t kShortPathBuffer = 259;

bool hasWildcard(const std::string& name) { return name.find_first_of("*?") != std::string::npos; }

bool sameLetter(char a, char b) {
  return std::toupper(static_cast<unsigned char>(a)) == std::toupper(static_cast<unsigned char>(b));
}

// FindFirstFile's pattern match: "*" any run, "?" one character, without regard to ASCII case.
// On a mismatch only the last "*" takes one character more: a pattern of many stars
// (a product name can hold them) stays quick, where trying every split of every star did not.
bool wildcardMatch(const char* pattern, const char* name) {
  const char* star = nullptr;
  const char* starRunEnd = nullptr;
  while (*name) {
    if (*pattern == '*') {
      star = pattern++;
      starRunEnd = name;
    } else if (*pattern && (*pattern == '?' || sameLetter(*pattern, *name))) {
      ++pattern;
      ++name;
    } else if (star) {
      pattern = star + 1;
      name = ++starRunEnd;
    } else {
      return false;
    }
  }
  while (*pattern == '*') ++pattern;
  return !*pattern;
}

}  // namespace

// --- The file tree ------------------------------------------------------------------------

SimulatedWindows::State::Node* SimulatedWindows::State::find(const std::string& key) {
  const auto it = nodes.find(key);
  return it == nodes.end() ? nullptr : &it->second;
}

SimulatedWindows::State::Node* SimulatedWindows::State::findNamed(const Resolved& r) {
  return r.ok && !r.trailingSeparator ? find(r.key) : nullptr;
}

bool SimulatedWindows::State::isDirectory(const std::string& key) {
  const Node* node = find(key);
  return node && node->directory;
}

std::vector<std::string> SimulatedWindows::State::children(const std::string& key) {
  std::vector<std::string> result;
  const std::string prefix = key + "\\";
  for (auto it = nodes.lower_bound(prefix); it != nodes.end() && it->first.compare(0, prefix.size(), prefix) == 0;
       ++it)
    if (it->first.find('\\', prefix.size()) == std::string::npos) result.push_back(it->first);
  return result;
}

std::string SimulatedWindows::State::childKey(const std::string& parentKey, const std::string& component) {
  const std::string direct = parentKey + "\\" + upperAscii(component);
  // Every alias holds "~": other names need no look at a directory's thousand children.
  if (find(direct) || component.find('~') == std::string::npos) return direct;
  for (const auto& child : children(parentKey))
    if (!nodes[child].shortName.empty() && nodes[child].shortName == upperAscii(component)) return child;
  return direct;
}

SimulatedWindows::State::Resolved SimulatedWindows::State::resolve(const std::string& path) {
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

std::string SimulatedWindows::State::shortAlias(const std::string& parentKey, const std::string& name) {
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

SimulatedWindows::State::Node& SimulatedWindows::State::create(const Resolved& r, bool directory) {
  const Node& parent = nodes.at(r.parentKey);
  Node node;
  node.path = parent.path + (parent.path.back() == '\\' ? "" : "\\") + r.name;
  node.name = r.name;
  node.shortName = fitsEightDotThree(r.name) ? std::string() : shortAlias(r.parentKey, r.name);
  node.directory = directory;
  node.order = nextOrder++;
  return nodes[r.key] = node;
}

void SimulatedWindows::State::addDrive(char letter) {
  const std::string key(1, static_cast<char>(std::toupper(static_cast<unsigned char>(letter))));
  if (find(key + ":")) return;
  Node root;
  root.path = key + ":\\";
  root.name = key + ":";
  root.directory = true;
  root.order = nextOrder++;
  nodes[key + ":"] = root;
}

bool SimulatedWindows::State::makeDirectories(const std::string& path) {
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

int SimulatedWindows::State::checkWritable(const Resolved& r) {
  if (!r.ok || r.name.empty()) return kPathNotFound;
  if (!isDirectory(r.parentKey)) return kPathNotFound;
  const Node* node = find(r.key);
  if (node && node->directory) return kAccessDenied;
  if (node && r.trailingSeparator) return kInvalidName;
  if (node && node->locked) return kSharingViolation;
  if (node && node->readOnly) return kAccessDenied;
  if (!node && r.trailingSeparator) return kPathNotFound;
  if (hasInvalidNameCharacter(r.name)) return kInvalidName;
  return 0;
}

void SimulatedWindows::State::storeFile(const Resolved& r, const std::string& content, const std::optional<ShellLinkData>& link) {
  Node* node = find(r.key);
  if (!node) node = &create(r, false);
  node->content = content;
  node->link = link;
}

// --- Setting up and looking at files --------------------------------------------------------

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

void SimulatedWindows::lockFile(const std::string& path, bool locked) {
  const State::Resolved r = state_->resolve(path);
  if (State::Node* node = r.ok ? state_->find(r.key) : nullptr) node->locked = locked;
}

void SimulatedWindows::setReadOnly(const std::string& path) {
  const State::Resolved r = state_->resolve(path);
  if (State::Node* node = r.ok ? state_->find(r.key) : nullptr) node->readOnly = !node->directory;
}

bool SimulatedWindows::isReadOnly(const std::string& path) const {
  const State::Resolved r = state_->resolve(path);
  const State::Node* node = r.ok ? state_->find(r.key) : nullptr;
  return node && node->readOnly;
}

void SimulatedWindows::failCopiesTo(const std::string& destination) {
  const State::Resolved r = state_->resolve(destination);
  if (r.ok) state_->failCopies.insert(r.key);
}

void SimulatedWindows::failShortPathNames(bool fail) { state_->failShortPaths = fail; }

void SimulatedWindows::failSetCurrentDirectory(const std::string& path) {
  const State::Resolved r = state_->resolve(path);
  if (r.ok) state_->failCurrentDirs.insert(r.key);
}

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

bool SimulatedWindows::copyFile(const std::string& source, const std::string& destination) {
  State& s = *state_;
  const State::Resolved from = s.resolve(source);
  const State::Node* sourceNode = s.findNamed(from);
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
  const bool readOnly = sourceNode->readOnly;
  s.storeFile(to, content, link);
  s.find(to.key)->readOnly = readOnly;  // CopyFileA gives the copy the source's attributes
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

bool SimulatedWindows::moveFileReplacing(const std::string& source, const std::string& destination) {
  State& s = *state_;
  const State::Resolved from = s.resolve(source);
  const State::Node* node = s.findNamed(from);
  if (!node || node->directory || node->readOnly || node->locked) return false;
  const State::Resolved to = s.resolve(destination);
  if (!to.ok || to.key.empty() || to.key[0] != from.key[0] || s.failCopies.count(to.key)) return false;
  if (to.key == from.key) return moveFile(source, destination);
  if (s.checkWritable(to) != 0) return false;  // a folder, a file in use or read-only
  // Both ends are known good now: the rename that replaces cannot fail.
  s.nodes.erase(to.key);
  return moveFile(source, destination);
}

bool SimulatedWindows::deleteFile(const std::string& path) {
  const State::Resolved r = state_->resolve(path);
  const State::Node* node = state_->findNamed(r);
  if (!node || node->directory || node->locked || node->readOnly) return false;
  state_->nodes.erase(r.key);
  return true;
}

std::optional<std::uint64_t> SimulatedWindows::fileSize(const std::string& path) {
  State& s = *state_;
  const State::Resolved r = s.resolve(path);
  if (!r.ok || r.name.empty() || r.trailingSeparator || hasWildcard(r.name)) return std::nullopt;
  const State::Node* node = s.find(r.key);
  if (!node || node->directory) return std::nullopt;
  return node->content.size();
}

bool SimulatedWindows::clearReadOnly(const std::string& path) {
  const State::Resolved r = state_->resolve(path);
  State::Node* node = state_->findNamed(r);
  if (!node || node->directory) return false;
  node->readOnly = false;
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

namespace {

// Written as writeFile writes, each time: the simulated machine holds no handles.
class SimulatedHeldFile : public HeldFile {
 public:
  SimulatedHeldFile(SimulatedWindows& machine, std::string path) : machine_(machine), path_(std::move(path)) {}
  bool rewrite(const std::string& content) override {
    try {
      machine_.writeFile(path_, content);
      return true;
    } catch (const EInOutError&) {
      return false;
    }
  }

 private:
  SimulatedWindows& machine_;
  std::string path_;
};

}  // namespace

std::unique_ptr<HeldFile> SimulatedWindows::holdFile(const std::string& path) {
  State& s = *state_;
  const State::Resolved r = s.resolve(path);
  if (s.checkWritable(r) != 0) return nullptr;
  if (!s.find(r.key)) s.storeFile(r, "", std::nullopt);
  return std::make_unique<SimulatedHeldFile>(*this, r.full);
}

void SimulatedWindows::writeFile(const std::string& path, const std::string& content) {
  State& s = *state_;
  const State::Resolved r = s.resolve(path);
  if (const int code = s.checkWritable(r)) throw EInOutError(code);
  s.storeFile(r, content, std::nullopt);
}

}  // namespace tsaver
