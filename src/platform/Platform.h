#pragma once
// The Windows operations the program calls, named for what callers rely on.
// Win32Platform is the real API; SimulatedWindows an in-memory machine for the
// native tests. Results are plain values: callers that care test the effect
// afterwards (the destination exists, the key opened), as the program always has.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tsaver {

// Show-window codes passed to started programs and shell links.
enum ShowCommand : int {
  kShowNormal = 1,      // SW_SHOWNORMAL
  kShowMaximized = 3,   // SW_SHOWMAXIMIZED
  kShow = 5,            // SW_SHOW
  kShowMinNoActive = 7  // SW_SHOWMINNOACTIVE
};

// The shell takes at most this many characters of each link text and of the link's path.
constexpr std::size_t kShellLinkTextLimit = 255;

// What a shell link file is built from; saveShellLink cuts the texts to the limit.
struct ShellLinkData {
  std::string description;
  std::string target;
  std::string workingDir;
  std::string arguments;
  int showCommand = 0;
  std::uint16_t hotKey = 0;
  std::string iconFile;
  int iconIndex = 0;
};

enum class ShellLinkResult {
  Saved,
  CreateFailed,          // CoCreateInstance of the shell-link object failed
  QueryInterfaceFailed,  // the object gave no IPersistFile
  SaveFailed             // IPersistFile::Save failed
};

// A file held open for writing, whose whole content is replaced again and again.
class HeldFile {
 public:
  virtual ~HeldFile() = default;
  // Replaces the file's content, straight to the file; false when the system refuses.
  virtual bool rewrite(const std::string& content) = 0;
};

// Names and values added to a started program's environment.
using EnvironmentVariables = std::vector<std::pair<std::string, std::string>>;

// An open registry key; 0 is no key.
using RegKey = std::uintptr_t;

// The registry's roots the program writes under. Keys are opened in the registry's
// default view: a 32-bit program on 64-bit Windows sees the 32-bit one.
enum class RegRoot { CurrentUser, LocalMachine };

class Platform {
 public:
  virtual ~Platform() = default;

  // --- Files and directories ------------------------------------------------
  // CopyFileA(source, destination, FALSE): an existing destination is replaced.
  virtual bool copyFile(const std::string& source, const std::string& destination) = 0;
  virtual bool moveFile(const std::string& from, const std::string& to) = 0;
  // MoveFileExA(source, destination, MOVEFILE_REPLACE_EXISTING) within one volume, for a
  // source that is not read-only; the moved file then takes the permissions that its new
  // folder gives a new file, as a copy would. False, with the source where it was, otherwise.
  virtual bool moveFileReplacing(const std::string& source, const std::string& destination) = 0;
  // DeleteFileA: a read-only file is refused.
  virtual bool deleteFile(const std::string& path) = 0;
  // SetFileAttributesA without FILE_ATTRIBUTE_READONLY, the other attributes kept
  // (CopyFileA gives a copy the source's attributes, a CD's read-only included).
  // True when the file exists and is no longer read-only.
  virtual bool clearReadOnly(const std::string& path) = 0;
  // True only for an existing file (FindFirstFileA finds it and it is no directory).
  virtual bool fileExists(const std::string& path) = 0;
  // The size of an existing file, as FindFirstFileA reports it; nothing for a directory or a missing file.
  virtual std::optional<std::uint64_t> fileSize(const std::string& path) = 0;
  // GetFileAttributesA has FILE_ATTRIBUTE_DIRECTORY.
  virtual bool directoryExists(const std::string& path) = 0;
  virtual bool createDirectory(const std::string& path) = 0;
  virtual bool removeDirectory(const std::string& path) = 0;

  virtual std::string currentDirectory() = 0;
  // Raises EInOutError with the system's error code when the directory cannot be made current.
  virtual void setCurrentDirectory(const std::string& path) = 0;
  // GetModuleFileNameA(NULL) into 261 characters.
  virtual std::string moduleFileName() = 0;
  // GetWindowsDirectoryA into 144 bytes, without a trailing "\".
  virtual std::string windowsDirectory() = 0;
  // GetShortPathNameA(path, buffer, 259): as many characters as the call returns, empty on failure.
  virtual std::string shortPathName(const std::string& path) = 0;

  // Whole-file access for the text-file layer. Both raise EInOutError with the
  // file-system error code (2 not found, 3 bad path, 5 access denied, ...).
  virtual std::string readFile(const std::string& path) = 0;
  // Creates the file anew, replacing an earlier one.
  virtual void writeFile(const std::string& path, const std::string& content) = 0;
  // Opens the file for writing (others may read it meanwhile), creating it when missing;
  // nothing when it cannot. Rewriting a held file spares the system an open and a close each time.
  virtual std::unique_ptr<HeldFile> holdFile(const std::string& path) = 0;

  // --- Settings (profile) files; a bare file name means the Windows directory ----
  // GetPrivateProfileStringA into a 1024-byte buffer: at most 1023 characters.
  virtual std::string getProfileString(const std::string& section, const std::string& key,
                                       const std::string& defaultValue, const std::string& file) = 0;
  // WritePrivateProfileStringA; no key erases the whole section. False when the system reports failure.
  virtual bool writeProfileString(const std::string& section, const std::optional<std::string>& key,
                                  const std::optional<std::string>& value, const std::string& file) = 0;

  // --- Registry, KEY_ALL_ACCESS ----------------------------------------------------
  // RegOpenKeyExA, or RegCreateKeyExA when create is set; 0 when it fails.
  virtual RegKey regOpenKey(RegRoot root, const std::string& subKey, bool create) = 0;
  // The value as stored when it is REG_SZ or REG_EXPAND_SZ (unexpanded, cut at its
  // first NUL); nothing when the value is missing. Raises ERegistryException
  // "Invalid data type for '%s'" for other types with data, and
  // "Failed to get data for '%s'" when the data cannot be read after its size.
  virtual std::optional<std::string> regReadString(RegKey key, const std::string& name) = 0;
  // REG_SZ; raises ERegistryException "Failed to set data for '%s'" on failure.
  virtual void regWriteString(RegKey key, const std::string& name, const std::string& value) = 0;
  // REG_DWORD; raises like regWriteString.
  virtual void regWriteDword(RegKey key, const std::string& name, std::uint32_t value) = 0;
  virtual bool regDeleteValue(RegKey key, const std::string& name) = 0;
  virtual void regFlushKey(RegKey key) = 0;
  virtual void regCloseKey(RegKey key) = 0;
  // RegDeleteKeyA: the key with its values; false when it is missing or still has subkeys.
  virtual bool regDeleteKey(RegRoot root, const std::string& subKey) = 0;

  // --- Shell, processes, system -----------------------------------------------
  // Both take a program named without a folder ("REGSVR32.EXE", "rundll32") from the
  // system directory by its full path, never from a search that starts in the package.
  // ShellExecuteA(0, no verb, file, parameters, no directory, show).
  virtual void shellExecute(const std::string& file, const std::string& parameters, int show) = 0;
  // As WinExec(commandLine, show), without waiting for the program to become idle.
  virtual void winExec(const std::string& commandLine, int show) = 0;
  // SHGetSpecialFolderLocation(0, CSIDL_DESKTOPDIRECTORY) + SHGetPathFromIDList; empty when the shell cannot say.
  virtual std::string desktopDirectory() = 0;
  // SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, 1, NULL, SPIF_SENDWININICHANGE).
  virtual void setScreenSaveActive() = 0;
  // PostMessageA(GetDesktopWindow(), WM_SYSCOMMAND, SC_SCREENSAVE, 0).
  virtual void startScreenSaver() = 0;
  virtual void sleep(unsigned milliseconds) = 0;

  // Writes a .lnk through the shell's COM shell-link object (CoInitialize,
  // CoCreateInstance IShellLinkA, IPersistFile, MultiByteToWideChar, Save, CoUninitialize).
  // Each text goes in as its first kShellLinkTextLimit characters; a longer path is
  // refused with SaveFailed, never cut (a cut path would name another file).
  virtual ShellLinkResult saveShellLink(const ShellLinkData& link, const std::string& path) = 0;

  // --- Shell folders known to the shell -------------------------------------------
  // SHGetFolderPathA(0, csidl, 0, SHGFP_TYPE_CURRENT): the folder's path; empty when the shell cannot say.
  virtual std::string shellFolderPath(int csidl) = 0;

  // --- Processes of the removal ----------------------------------------------------
  // GetTempPathA without its trailing "\"; empty when the system cannot say.
  virtual std::string temporaryDirectory() = 0;
  // A new folder under `parent`, its path without a trailing "\"; empty when none could be
  // made. Its name is drawn from the system's cryptographic random source and is never one
  // that exists. When the process runs elevated, only Administrators and SYSTEM may write
  // into it; the account may read and run what it holds.
  virtual std::string createProtectedFolder(const std::string& parent) = 0;
  // GetEnvironmentVariableA; empty when the variable is not set.
  virtual std::string environmentVariable(const std::string& name) = 0;
  // This process as waitForProcess takes it: its id and creation time, so that an id
  // the system has given to another process since never matches.
  virtual std::string processIdentity() = 0;
  // Waits on the handle of that process until it has ended, at most `milliseconds`;
  // returns at once when it has gone already.
  virtual void waitForProcess(const std::string& identity, unsigned milliseconds) = 0;
  // Starts `program`, without arguments, in `workingDir`, with `variables` added to this
  // process's environment and no handles inherited, under a helper that waits for it to
  // end and then deletes its file and removes its folder. True once the program has
  // called announceStarted(announcement); false when it could not start or ended without.
  virtual bool startSelfRemovingProgram(const std::string& program, const std::string& workingDir,
                                        const EnvironmentVariables& variables, const std::string& announcement) = 0;
  // Tells the process waiting in startSelfRemovingProgram with that value that this one runs.
  virtual void announceStarted(const std::string& value) = 0;

  // --- One run at a time ---------------------------------------------------------
  // Takes the machine-wide lock that every run of this program shares, installations and
  // removals alike, for the rest of this process's life: the system releases it when the
  // process ends, however it ends. False when another run holds it.
  virtual bool takeRunLock() = 0;

  // --- For reading a whole settings-file section at the cost of one read ----------
  // The names of the section's keys as GetPrivateProfileStringA(section, NULL, ...)
  // lists them, in file order; none when the file or the section is missing. A name
  // too many does no harm (its key is read from the file), one too few would.
  virtual std::vector<std::string> profileKeyNames(const std::string& section, const std::string& file) = 0;
};

// Creates the directory with every missing parent: drop one trailing "\"; a path
// under 3 characters or an existing directory needs nothing; otherwise the parent
// (up to the last "\" or ":") first, then the directory. Failures are not reported.
void forceDirectories(Platform& platform, std::string path);

// A copy of the program's own: an older read-only destination is replaced too, and the
// copy is writable whatever the source (a package on a CD is read-only). True when the
// destination is a writable file afterwards, as the file-exists test would find it.
bool copyWritable(Platform& platform, const std::string& source, const std::string& destination);

}  // namespace tsaver
