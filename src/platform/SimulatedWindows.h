#pragma once
// An in-memory Windows machine behind the platform interface: drives, names
// compared without regard to ASCII case, "\" separators, one current directory,
// the Windows directory, profile files with Windows' rules, the registry under
// HKEY_CURRENT_USER, and a journal of programs started and system calls made.
// It serves the native tests, and a vendor's dry run of an installation.
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <utility>
#include <vector>

#include "platform/Platform.h"

namespace tsaver {

class SimulatedWindows : public Platform {
 public:
  // A machine with drive C:, the Windows directory "C:\WINDOWS" (with "System.ini"
  // absent), the current directory "C:\", the program "C:\INSTALL.EXE", the desktop
  // "C:\WINDOWS\Desktop", and HKCU Shell Folders "Programs" = "C:\WINDOWS\Start Menu\Programs"
  // and "Desktop" = "C:\WINDOWS\Desktop" (REG_SZ), all of those directories existing.
  SimulatedWindows();
  // One machine: a copy would share its files but not its journal.
  SimulatedWindows(const SimulatedWindows&) = delete;
  SimulatedWindows& operator=(const SimulatedWindows&) = delete;

  // --- Setting the machine up ---------------------------------------------------
  void addDrive(char letter);
  void setWindowsDirectory(const std::string& path);
  void setModuleFileName(const std::string& path);
  // Empty: the shell cannot report the desktop directory.
  void setDesktopDirectory(const std::string& path);
  // Creates the file (and its missing parent directories) with the content.
  void putFile(const std::string& path, const std::string& content = "");
  // Creates the directory with its missing parents.
  void putDirectory(const std::string& path);

  // --- Faults ------------------------------------------------------------------
  // A locked file (open elsewhere without sharing, or a running program) cannot be
  // deleted, moved, replaced or read: error 32 for reads, false for the others.
  // Kept simple: Windows does let a running program be read and copied.
  void lockFile(const std::string& path, bool locked = true);
  // The read-only attribute, as a CD gives it to every file: copies keep it, and
  // deletions and copies onto the file fail until clearReadOnly.
  void setReadOnly(const std::string& path);
  bool isReadOnly(const std::string& path) const;
  // Copies onto this destination report success but leave no file there.
  void failCopiesTo(const std::string& destination);
  // Writes to this profile file (resolved as Windows does) report failure.
  void failProfileWrites(const std::string& file);
  void failShortPathNames(bool fail = true);
  // saveShellLink answers with this result, writing nothing.
  void failShellLinks(ShellLinkResult result);
  // setCurrentDirectory to this path raises as a missing directory would.
  void failSetCurrentDirectory(const std::string& path);

  // --- Looking at the machine ------------------------------------------------------
  std::optional<std::string> fileContent(const std::string& path) const;
  // Every file and directory, full paths as first created, directories ending in "\".
  std::vector<std::string> allPaths() const;
  // A profile file's sections with their keys and values, in file order.
  using ProfileSection = std::pair<std::string, std::vector<std::pair<std::string, std::string>>>;
  std::vector<ProfileSection> profileSections(const std::string& file) const;
  // The .lnk written at that path by saveShellLink.
  std::optional<ShellLinkData> shellLink(const std::string& path) const;

  // Keys are under HKEY_CURRENT_USER unless a root is given.
  enum class ValueType { String, ExpandString, DWord, Binary };
  void putRegistryValue(const std::string& key, const std::string& name, const std::string& data,
                        ValueType type = ValueType::String, RegRoot root = RegRoot::CurrentUser);
  // The data as stored (a REG_DWORD's four bytes, low first); nothing when the value is missing.
  std::optional<std::string> registryValue(const std::string& key, const std::string& name,
                                           RegRoot root = RegRoot::CurrentUser) const;
  bool registryKeyExists(const std::string& key, RegRoot root = RegRoot::CurrentUser) const;
  // Every value, HKEY_CURRENT_USER's first, keys in case-blind order, values by name.
  struct RegistryEntry {
    RegRoot root = RegRoot::CurrentUser;
    std::string key;  // as first created, "" for the root itself
    std::string name;
    std::string data;
    ValueType type = ValueType::String;
    bool operator==(const RegistryEntry& o) const {
      return root == o.root && key == o.key && name == o.name && data == o.data && type == o.type;
    }
  };
  std::vector<RegistryEntry> registryValues() const;
  // Every key below the roots, paths as first created, HKEY_CURRENT_USER's first.
  std::vector<std::pair<RegRoot, std::string>> registryKeys() const;
  void deleteRegistryKey(const std::string& key, RegRoot root = RegRoot::CurrentUser);

  // Programs started, in order.
  struct Launch {
    enum Kind { ShellExecute, WinExec } kind;
    std::string file;         // ShellExecute: the file; WinExec: the whole command line
    std::string parameters;   // ShellExecute only
    int show = 0;
  };
  const std::vector<Launch>& launches() const { return launches_; }
  // System calls with observable effect, in order, e.g. "SystemParametersInfoA(17,1,0,2)",
  // "PostMessageA(desktop,WM_SYSCOMMAND,0xF140,0)", "Sleep(500)", "RegFlushKey(Control Panel\desktop)",
  // "WaitForProcess(1.5,30000)".
  const std::vector<std::string>& journal() const { return journal_; }
  // Called after every Sleep with its duration (a test may change the machine then).
  std::function<void(unsigned)> onSleep;

  // --- Platform ----------------------------------------------------------------
  bool copyFile(const std::string& source, const std::string& destination) override;
  bool moveFile(const std::string& from, const std::string& to) override;
  bool moveFileReplacing(const std::string& source, const std::string& destination) override;
  bool deleteFile(const std::string& path) override;
  bool clearReadOnly(const std::string& path) override;
  bool fileExists(const std::string& path) override;
  std::optional<std::uint64_t> fileSize(const std::string& path) override;
  bool directoryExists(const std::string& path) override;
  bool createDirectory(const std::string& path) override;
  bool removeDirectory(const std::string& path) override;
  std::string currentDirectory() override;
  void setCurrentDirectory(const std::string& path) override;
  std::string moduleFileName() override;
  std::string windowsDirectory() override;
  std::string shortPathName(const std::string& path) override;
  std::string readFile(const std::string& path) override;
  void writeFile(const std::string& path, const std::string& content) override;
  std::unique_ptr<HeldFile> holdFile(const std::string& path) override;
  std::string getProfileString(const std::string& section, const std::string& key, const std::string& defaultValue,
                               const std::string& file) override;
  bool writeProfileString(const std::string& section, const std::optional<std::string>& key,
                          const std::optional<std::string>& value, const std::string& file) override;
  RegKey regOpenKey(RegRoot root, const std::string& subKey, bool create) override;
  std::optional<std::string> regReadString(RegKey key, const std::string& name) override;
  void regWriteString(RegKey key, const std::string& name, const std::string& value) override;
  void regWriteDword(RegKey key, const std::string& name, std::uint32_t value) override;
  bool regDeleteValue(RegKey key, const std::string& name) override;
  void regFlushKey(RegKey key) override;
  void regCloseKey(RegKey key) override;
  bool regDeleteKey(RegRoot root, const std::string& subKey) override;
  void shellExecute(const std::string& file, const std::string& parameters, int show) override;
  void winExec(const std::string& commandLine, int show) override;
  std::string desktopDirectory() override;
  void setScreenSaveActive() override;
  void startScreenSaver() override;
  void sleep(unsigned milliseconds) override;
  ShellLinkResult saveShellLink(const ShellLinkData& link, const std::string& path) override;

  // --- Shell folders known to the shell -------------------------------------------
  // The shell knows CSIDL_PROGRAMS (2) as "C:\WINDOWS\Start Menu\Programs" and
  // CSIDL_DESKTOPDIRECTORY (0x10) as "C:\WINDOWS\Desktop"; empty: it cannot say.
  void setShellFolderPath(int csidl, const std::string& path) { shellFolderPaths_[csidl] = path; }
  std::string shellFolderPath(int csidl) override;

  // --- Processes of the removal ------------------------------------------------------
  // The temporary directory is "C:\WINDOWS\TEMP", not created until set; this process is "1.5";
  // no environment variable is set. A program started self-removing is only journalled:
  // "StartSelfRemovingProgram(program,workingDir,name=value,...)"; it counts as started,
  // unless failProgramStarts is set. Waits and announcements are journalled too.
  // Protected folders are named "tsv" and 16 hexadecimal digits counted up from 1, passing
  // over names that exist; failProtectedFolders makes none.
  void setTemporaryDirectory(const std::string& path);
  void setEnvironmentVariable(const std::string& name, const std::string& value);
  void failProgramStarts(bool fail = true);
  void failProtectedFolders(bool fail = true);
  std::string temporaryDirectory() override;
  std::string createProtectedFolder(const std::string& parent) override;
  std::string environmentVariable(const std::string& name) override;
  std::string processIdentity() override;
  void waitForProcess(const std::string& identity, unsigned milliseconds) override;
  bool startSelfRemovingProgram(const std::string& program, const std::string& workingDir,
                                const EnvironmentVariables& variables, const std::string& announcement) override;
  void announceStarted(const std::string& value) override;

  // --- One run at a time -----------------------------------------------------------
  // The lock is free unless another run is said to hold it; a take is journalled as
  // "TakeRunLock" and holds it from then on.
  void holdRunLockElsewhere(bool held = true);
  bool takeRunLock() override;

  std::vector<std::string> profileKeyNames(const std::string& section, const std::string& file) override;

 private:
  // The implementation keeps its own state below (file tree, registry, faults).
  struct State;
  std::shared_ptr<State> state_;
  std::vector<Launch> launches_;
  std::vector<std::string> journal_;
  std::map<int, std::string> shellFolderPaths_ = {{0x02, "C:\\WINDOWS\\Start Menu\\Programs"},
                                                  {0x10, "C:\\WINDOWS\\Desktop"}};
};

}  // namespace tsaver
