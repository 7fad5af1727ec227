#pragma once
// The simulated machine's state, shared by the files that implement SimulatedWindows
// one concern each: files and paths, profile files, registry, shell links, and the
// journal of programs started and system calls made.
#include <map>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "platform/SimulatedWindows.h"

namespace tsaver {

namespace simulated {

// Windows' error codes, as GetLastError gives them.
constexpr int kFileNotFound = 2;
constexpr int kPathNotFound = 3;
constexpr int kAccessDenied = 5;
constexpr int kSharingViolation = 32;
constexpr int kInvalidName = 123;
constexpr int kDirectoryName = 267;  // ERROR_DIRECTORY: the name is no directory

// Windows refuses these in a file or directory name, control characters included.
inline bool hasInvalidNameCharacter(const std::string& name) {
  for (const char c : name)
    if (static_cast<unsigned char>(c) < 32 || std::string("*?\"<>|").find(c) != std::string::npos) return true;
  return false;
}

// A name that fits DOS 8.3 needs no short alias (case does not matter, as on NTFS and under Wine).
inline bool fitsEightDotThree(const std::string& name) {
  if (name.empty() || name == "." || name == "..") return false;
  if (name.find_first_of(" +,;=[]") != std::string::npos) return false;
  const auto dot = name.find('.');
  if (dot != name.rfind('.')) return false;
  const std::string base = dot == std::string::npos ? name : name.substr(0, dot);
  const std::string ext = dot == std::string::npos ? std::string() : name.substr(dot + 1);
  return !base.empty() && base.size() <= 8 && ext.size() <= 3;
}

inline std::string cut(const std::string& text, std::size_t limit) { return text.substr(0, limit); }

}  // namespace simulated

struct SimulatedWindows::State {
  struct Node {
    std::string path;       // the full path as first created ("C:\Program Files"); a root is "C:\"
    std::string name;       // the last component as first created
    std::string shortName;  // the 8.3 alias of a name that does not fit 8.3
    bool directory = false;
    std::string content;
    std::optional<ShellLinkData> link;
    bool locked = false;
    bool readOnly = false;
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
  using Hive = std::map<std::string, RegistryKey>;  // by upper-case path; "" is the root itself
  struct Handle {
    RegRoot root;
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
  std::string tempDir = "C:\\WINDOWS\\TEMP";
  std::map<std::string, std::string> environment;  // by upper-case name
  bool failProgramStarts = false;
  bool runLockHeldElsewhere = false;
  bool failProtectedFolders = false;
  unsigned long long protectedFolderDraws = 0;

  std::map<RegRoot, Hive> hives = {{RegRoot::CurrentUser, {{"", RegistryKey{}}}},
                                   {RegRoot::LocalMachine, {{"", RegistryKey{}}}}};
  std::map<RegKey, Handle> handles;
  RegKey nextHandle = 0x1000;

  // --- File system (SimulatedFiles) ---------------------------------------------------
  Node* find(const std::string& key);
  // What a resolved path names, as the file calls take it: nothing after a trailing separator.
  Node* findNamed(const Resolved& r);
  bool isDirectory(const std::string& key);
  // The keys of a directory's children, in key order.
  std::vector<std::string> children(const std::string& key);
  std::string childKey(const std::string& parentKey, const std::string& component);
  Resolved resolve(const std::string& path);
  std::string shortAlias(const std::string& parentKey, const std::string& name);
  Node& create(const Resolved& r, bool directory);
  void addDrive(char letter);
  // Creates every missing directory of the resolved path; false when a file is in the way.
  bool makeDirectories(const std::string& path);
  // Where CreateFile would put a new file, or the code it would fail with.
  int checkWritable(const Resolved& r);
  void storeFile(const Resolved& r, const std::string& content, const std::optional<ShellLinkData>& link);

  // --- Profile files (SimulatedProfileFiles) ------------------------------------------
  // A bare file name (no "\", "/" or drive) lies in the Windows directory; anything else
  // is resolved like any path, relative to the current directory (as Wine does).
  Resolved resolveProfile(const std::string& file);
  const Node* profileFile(const std::string& file);

  // --- Registry (SimulatedRegistry) ----------------------------------------------------
  static std::string registryKey(const std::string& path);
  RegistryKey& makeKey(RegRoot root, const std::string& path);
  RegistryKey* openedKey(RegKey handle);
  // Raises "Failed to set data for '%s'" when the handle names no key.
  void storeValue(RegKey handle, const std::string& name, ValueType type, const std::string& data);
};

}  // namespace tsaver
