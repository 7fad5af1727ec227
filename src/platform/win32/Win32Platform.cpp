#include "platform/win32/Win32Platform.h"

#include <windows.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <vector>

#include "platform/Errors.h"
#include "platform/Paths.h"
#include "platform/win32/ShellLinkWriter.h"
#include "platform/win32/Handles.h"
#include "platform/win32/ProfileList.h"
#include "platform/win32/ProtectedFolder.h"
#include "platform/win32/SafeStart.h"
#include "platform/win32/RemovalProcesses.h"
#include "platform/win32/RunLock.h"

namespace tsaver {

namespace {

// The buffers the program has always passed; a result that fills one was cut.
constexpr DWORD kModuleNameBuffer = 261;
constexpr UINT kWindowsDirectoryBuffer = 144;
constexpr DWORD kShortPathBuffer = 259;
constexpr DWORD kProfileBuffer = 1024;
constexpr std::size_t kShellPathBuffer = MAX_PATH + 1;
// A copy reads and writes in pieces this large: a 50 MB movie in fifty.
constexpr DWORD kCopyChunk = 1 << 20;

HKEY toHkey(RegKey key) { return reinterpret_cast<HKEY>(key); }
HKEY toHkey(RegRoot root) { return root == RegRoot::LocalMachine ? HKEY_LOCAL_MACHINE : HKEY_CURRENT_USER; }

const char* orNull(const std::optional<std::string>& text) { return text ? text->c_str() : nullptr; }

// The text of a call that fills a buffer and returns its length: empty when it
// failed (0) or when the text did not fit.
std::string filledText(const char* buffer, DWORD length, DWORD bufferSize) {
  if (length == 0 || length >= bufferSize) return std::string();
  return std::string(buffer, length);
}

[[noreturn]] void raiseLastError() { throw EInOutError(static_cast<int>(GetLastError())); }

// A program named without a folder (REGSVR32.EXE, rundll32) is one of the system's. It is
// started by its full path in the system directory and never searched for: the search
// begins beside this program and in the current directory, the package's folder.
bool isBareProgramName(const std::string& name) { return name.find_first_of("\\/:\"") == std::string::npos; }
std::string systemProgram(const std::string& name) {
  return systemProgramPath(name.find('.') == std::string::npos ? name + ".exe" : name);
}

}  // namespace

// --- Files and directories ------------------------------------------------------------

bool Win32Platform::copyFile(const std::string& source, const std::string& destination) {
  // What CopyFileA does, without its first open of the destination to see whether it is
  // the source: under Wine a search of the whole directory for every new file. Onto the
  // source itself the destination's open fails: it shares nothing with the source's handle.
  // The source's attributes, size and time in one look: GetFileInformationByHandle's
  // volume serial number is a call to another process under Wine.
  WIN32_FILE_ATTRIBUTE_DATA about;
  if (!GetFileAttributesExA(source.c_str(), GetFileExInfoStandard, &about) ||
      (about.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return false;
  const UniqueFileHandle from(CreateFileA(source.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                                          OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr));
  if (!from.valid()) return false;
  // The source's attributes, the read-only one too, as CopyFileA gives them.
  const DWORD attributes = about.dwFileAttributes & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_HIDDEN |
                                                     FILE_ATTRIBUTE_SYSTEM | FILE_ATTRIBUTE_ARCHIVE);
  UniqueFileHandle to(CreateFileA(destination.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                  attributes != 0 ? attributes : FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!to.valid()) return false;
  // A small file in one piece, and no megabyte cleared for it: most extras are a few KB.
  const DWORD chunk = about.nFileSizeHigh != 0 || about.nFileSizeLow > kCopyChunk ? kCopyChunk
                                                                                   : about.nFileSizeLow + 1;
  const std::uint64_t size = (static_cast<std::uint64_t>(about.nFileSizeHigh) << 32) | about.nFileSizeLow;
  const std::unique_ptr<char[]> buffer(new char[chunk]);
  bool copied = true;
  std::uint64_t total = 0;
  for (DWORD read = 0;;) {
    if (!ReadFile(from.get(), buffer.get(), chunk, &read, nullptr)) {
      copied = false;
      break;
    }
    if (read == 0) break;
    DWORD written = 0;
    if (!WriteFile(to.get(), buffer.get(), read, &written, nullptr) || written != read) {
      copied = false;
      break;
    }
    total += read;
    // A short read that brought the whole size seen is the end: no read more to learn it.
    if (read < chunk && total >= size) break;
  }
  if (copied) copied = SetFileTime(to.get(), nullptr, nullptr, &about.ftLastWriteTime) != FALSE;
  to.reset();
  // A part of the file is no copy of it.
  if (!copied) DeleteFileA(destination.c_str());
  return copied;
}

bool Win32Platform::moveFile(const std::string& from, const std::string& to) {
  return MoveFileA(from.c_str(), to.c_str()) != FALSE;
}

bool Win32Platform::moveFileReplacing(const std::string& source, const std::string& destination) {
  // A read-only source stays where it is, as it would after a copy whose deletion was
  // refused. INVALID_FILE_ATTRIBUTES, a missing source, has every bit set.
  if ((GetFileAttributesA(source.c_str()) & (FILE_ATTRIBUTE_READONLY | FILE_ATTRIBUTE_DIRECTORY)) != 0) return false;
  // A moved file keeps the permissions of the folder it came from, a user's download
  // folder for one; it is given those of a file made in its new folder, as a copy has.
  // Read once a folder, from a file made for that alone, which goes with its handle
  // so that even a program ended here leaves nothing: then one write a moved file.
  std::string folder = destination.substr(0, destination.find_last_of('\\') + 1);
  if (folder != newFileSecurityFolder_) {
    newFileSecurityFolder_ = folder;
    newFileSecurity_.assign(0x10000 + sizeof(SECURITY_DESCRIPTOR), '\0');  // a DACL is at most 64 KB
    const UniqueFileHandle probe(CreateFileA((folder += "~permissions.tmp").c_str(), READ_CONTROL | DELETE, 0,
                                             nullptr, CREATE_NEW, FILE_ATTRIBUTE_HIDDEN | FILE_FLAG_DELETE_ON_CLOSE,
                                             nullptr));
    DWORD size = 0;
    if (!probe.valid() || !GetKernelObjectSecurity(probe.get(), DACL_SECURITY_INFORMATION, &newFileSecurity_[0],
                                                   static_cast<DWORD>(newFileSecurity_.size()), &size))
      newFileSecurity_.clear();
  }
  // No MOVEFILE_COPY_ALLOWED: onto another volume the caller's own copy does that work.
  if (newFileSecurity_.empty() || !MoveFileExA(source.c_str(), destination.c_str(), MOVEFILE_REPLACE_EXISTING))
    return false;
  if (SetFileSecurityA(destination.c_str(), DACL_SECURITY_INFORMATION, &newFileSecurity_[0])) return true;
  // Back to the package for the caller's copy; a file that cannot go back has arrived all the same.
  return !MoveFileExA(destination.c_str(), source.c_str(), 0);
}

bool Win32Platform::deleteFile(const std::string& path) { return DeleteFileA(path.c_str()) != FALSE; }

bool Win32Platform::clearReadOnly(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0) return false;
  if ((attributes & FILE_ATTRIBUTE_READONLY) == 0) return true;
  // FILE_ATTRIBUTE_NORMAL stands for no attribute at all; it is valid only alone.
  const DWORD kept = attributes & ~static_cast<DWORD>(FILE_ATTRIBUTE_READONLY);
  return SetFileAttributesA(path.c_str(), kept != 0 ? kept : FILE_ATTRIBUTE_NORMAL) != FALSE;
}

bool Win32Platform::fileExists(const std::string& path) {
  WIN32_FIND_DATAA data;
  const UniqueFindHandle found(FindFirstFileA(path.c_str(), &data));
  return found.valid() && (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

std::optional<std::uint64_t> Win32Platform::fileSize(const std::string& path) {
  WIN32_FILE_ATTRIBUTE_DATA data;
  if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &data) ||
      (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
    return std::nullopt;
  return (static_cast<std::uint64_t>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
}

bool Win32Platform::directoryExists(const std::string& path) {
  const DWORD attributes = GetFileAttributesA(path.c_str());
  return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

bool Win32Platform::createDirectory(const std::string& path) {
  return CreateDirectoryA(path.c_str(), nullptr) != FALSE;
}

bool Win32Platform::removeDirectory(const std::string& path) { return RemoveDirectoryA(path.c_str()) != FALSE; }

std::string Win32Platform::currentDirectory() {
  // Asked for its size first: the current directory may be longer than MAX_PATH.
  const DWORD size = GetCurrentDirectoryA(0, nullptr);
  if (size == 0) return std::string();
  std::vector<char> buffer(size);
  return filledText(buffer.data(), GetCurrentDirectoryA(size, buffer.data()), size);
}

void Win32Platform::setCurrentDirectory(const std::string& path) {
  if (!SetCurrentDirectoryA(path.c_str())) raiseLastError();
}

std::string Win32Platform::moduleFileName() {
  char buffer[kModuleNameBuffer];
  return filledText(buffer, GetModuleFileNameA(nullptr, buffer, kModuleNameBuffer), kModuleNameBuffer);
}

std::string Win32Platform::windowsDirectory() {
  char buffer[kWindowsDirectoryBuffer];
  std::string directory =
      filledText(buffer, GetWindowsDirectoryA(buffer, kWindowsDirectoryBuffer), kWindowsDirectoryBuffer);
  // A Windows directory in a drive's root comes back as "C:\".
  if (!directory.empty() && directory.back() == '\\') directory.pop_back();
  return directory;
}

std::string Win32Platform::shortPathName(const std::string& path) {
  char buffer[kShortPathBuffer];
  return filledText(buffer, GetShortPathNameA(path.c_str(), buffer, kShortPathBuffer), kShortPathBuffer);
}

std::string Win32Platform::readFile(const std::string& path) {
  const UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ, nullptr, OPEN_EXISTING,
                                          FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) raiseLastError();
  std::string content;
  char chunk[64 * 1024];
  DWORD read = 0;
  do {
    if (!ReadFile(file.get(), chunk, sizeof chunk, &read, nullptr)) raiseLastError();
    content.append(chunk, read);
  } while (read > 0);
  return content;
}

void Win32Platform::writeFile(const std::string& path, const std::string& content) {
  const UniqueFileHandle file(
      CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) raiseLastError();
  std::size_t done = 0;
  while (done < content.size()) {
    DWORD written = 0;
    const DWORD chunk = static_cast<DWORD>(std::min<std::size_t>(content.size() - done, 1u << 30));
    if (!WriteFile(file.get(), content.data() + done, chunk, &written, nullptr)) raiseLastError();
    done += written;
  }
}

namespace {

class Win32HeldFile : public HeldFile {
 public:
  explicit Win32HeldFile(UniqueFileHandle file) : file_(std::move(file)) {}
  bool rewrite(const std::string& content) override {
    // From the start, then cut where the content ends when it shrank. (A write at an
    // OVERLAPPED offset costs Wine one server call more than a seek and a write.)
    LARGE_INTEGER start{};
    DWORD written = 0;
    if (content.size() > MAXDWORD || !SetFilePointerEx(file_.get(), start, nullptr, FILE_BEGIN) ||
        !WriteFile(file_.get(), content.data(), static_cast<DWORD>(content.size()), &written, nullptr) ||
        written != content.size())
      return false;
    const bool shrank = content.size() < size_;
    size_ = content.size();
    return !shrank || SetEndOfFile(file_.get());
  }

 private:
  UniqueFileHandle file_;
  std::size_t size_ = MAXDWORD;  // unknown at first: the first rewrite cuts
};

}  // namespace

std::unique_ptr<HeldFile> Win32Platform::holdFile(const std::string& path) {
  UniqueFileHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, FILE_SHARE_READ, nullptr, OPEN_ALWAYS,
                                    FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!file.valid()) return nullptr;
  return std::make_unique<Win32HeldFile>(std::move(file));
}

// --- Settings files ----------------------------------------------------------------------

std::string Win32Platform::getProfileString(const std::string& section, const std::string& key,
                                            const std::string& defaultValue, const std::string& file) {
  char buffer[kProfileBuffer];
  const DWORD length = GetPrivateProfileStringA(section.c_str(), key.c_str(), defaultValue.c_str(), buffer,
                                                kProfileBuffer, file.c_str());
  return std::string(buffer, length);
}

bool Win32Platform::writeProfileString(const std::string& section, const std::optional<std::string>& key,
                                       const std::optional<std::string>& value, const std::string& file) {
  return WritePrivateProfileStringA(section.c_str(), orNull(key), orNull(value), file.c_str()) != FALSE;
}

// --- Registry --------------------------------------------------------------------------

RegKey Win32Platform::regOpenKey(RegRoot root, const std::string& subKey, bool create) {
  HKEY key = nullptr;
  const LONG result = create ? RegCreateKeyExA(toHkey(root), subKey.c_str(), 0, nullptr, REG_OPTION_NON_VOLATILE,
                                               KEY_ALL_ACCESS, nullptr, &key, nullptr)
                             : RegOpenKeyExA(toHkey(root), subKey.c_str(), 0, KEY_ALL_ACCESS, &key);
  return result == ERROR_SUCCESS ? reinterpret_cast<RegKey>(key) : 0;
}

std::optional<std::string> Win32Platform::regReadString(RegKey key, const std::string& name) {
  DWORD type = REG_NONE;
  DWORD size = 0;
  if (RegQueryValueExA(toHkey(key), name.c_str(), nullptr, &type, nullptr, &size) != ERROR_SUCCESS)
    return std::nullopt;
  if (size == 0) return std::string();
  if (type != REG_SZ && type != REG_EXPAND_SZ) throw ERegistryException("Invalid data type for '" + name + "'");
  // One byte more than asked for: stored strings need not end in a NUL.
  std::vector<char> data(size + 1, '\0');
  DWORD readSize = size;
  if (RegQueryValueExA(toHkey(key), name.c_str(), nullptr, &type, reinterpret_cast<BYTE*>(data.data()),
                       &readSize) != ERROR_SUCCESS)
    throw ERegistryException("Failed to get data for '" + name + "'");
  return std::string(data.data());
}

void Win32Platform::regWriteString(RegKey key, const std::string& name, const std::string& value) {
  if (RegSetValueExA(toHkey(key), name.c_str(), 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                     static_cast<DWORD>(value.size() + 1)) != ERROR_SUCCESS)
    throw ERegistryException("Failed to set data for '" + name + "'");
}

void Win32Platform::regWriteDword(RegKey key, const std::string& name, std::uint32_t value) {
  const DWORD data = value;
  if (RegSetValueExA(toHkey(key), name.c_str(), 0, REG_DWORD, reinterpret_cast<const BYTE*>(&data), sizeof data) !=
      ERROR_SUCCESS)
    throw ERegistryException("Failed to set data for '" + name + "'");
}

bool Win32Platform::regDeleteValue(RegKey key, const std::string& name) {
  return RegDeleteValueA(toHkey(key), name.c_str()) == ERROR_SUCCESS;
}

void Win32Platform::regFlushKey(RegKey key) { RegFlushKey(toHkey(key)); }

void Win32Platform::regCloseKey(RegKey key) {
  if (key != 0) RegCloseKey(toHkey(key));
}

bool Win32Platform::regDeleteKey(RegRoot root, const std::string& subKey) {
  return RegDeleteKeyA(toHkey(root), subKey.c_str()) == ERROR_SUCCESS;
}

// --- Shell, processes, system ---------------------------------------------------------------

namespace {

// A started program works in its own folder, not in the installer's: that is the package
// folder, which the setup program that unpacked it removes once the installer has ended,
// and a running program's current directory (the tray program's, an open Readme's) keeps
// a folder from being removed. Empty for a program named by its command line alone.
std::string startedProgramDirectory(const std::string& program) {
  std::string directory = directoryPart(program);
  if (directory.size() > 3 && directory.back() == '\\') directory.pop_back();
  return directory;
}

}  // namespace

void Win32Platform::shellExecute(const std::string& file, const std::string& parameters, int show) {
  const std::string program = isBareProgramName(file) ? systemProgram(file) : file;
  if (program.empty()) return;
  const std::string directory = startedProgramDirectory(program);
  ShellExecuteA(nullptr, nullptr, program.c_str(), parameters.empty() ? nullptr : parameters.c_str(),
                directory.empty() ? nullptr : directory.c_str(), show);
}

void Win32Platform::winExec(const std::string& commandLine, int show) {
  // What WinExec does, without its wait (up to 30 s) for the started program to
  // become idle: the program never waits for what it starts.
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  startup.dwFlags = STARTF_USESHOWWINDOW;
  startup.wShowWindow = static_cast<WORD>(show);
  PROCESS_INFORMATION started{};
  std::string line = commandLine;  // CreateProcessA may write into the command line
  const std::string::size_type nameEnd = std::min(line.find(' '), line.size());
  std::string program;  // none: the command line's own, which names its folder
  if (isBareProgramName(line.substr(0, nameEnd))) {
    program = systemProgram(line.substr(0, nameEnd));
    if (program.empty()) return;
    line = "\"" + program + "\"" + line.substr(nameEnd);
  }
  const std::string directory = startedProgramDirectory(program);
  if (!CreateProcessA(program.empty() ? nullptr : program.c_str(), &line[0], nullptr, nullptr, FALSE, 0, nullptr,
                      directory.empty() ? nullptr : directory.c_str(), &startup, &started))
    return;
  CloseHandle(started.hThread);
  CloseHandle(started.hProcess);
}

std::string Win32Platform::desktopDirectory() {
  UniquePidl list;
  if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_DESKTOPDIRECTORY, list.receive()))) return std::string();
  char path[kShellPathBuffer] = {};
  if (!SHGetPathFromIDListA(list.get(), path)) return std::string();
  return path;
}

void Win32Platform::setScreenSaveActive() {
  SystemParametersInfoA(SPI_SETSCREENSAVEACTIVE, 1, nullptr, SPIF_SENDWININICHANGE);
}

void Win32Platform::startScreenSaver() { PostMessageA(GetDesktopWindow(), WM_SYSCOMMAND, SC_SCREENSAVE, 0); }

void Win32Platform::sleep(unsigned milliseconds) { Sleep(milliseconds); }

ShellLinkResult Win32Platform::saveShellLink(const ShellLinkData& link, const std::string& path) {
  // Each save pairs its own CoInitialize and CoUninitialize; this outer one keeps
  // the apartment, and the shell's link object loaded in it, from being torn
  // down and built again for every link, which costs more than the link itself.
  if (!comKept_) comKept_ = SUCCEEDED(CoInitialize(nullptr));
  return saveShellLinkThroughCom(link, path);
}

std::string Win32Platform::shellFolderPath(int csidl) {
  char path[kShellPathBuffer] = {};
  if (FAILED(SHGetFolderPathA(nullptr, csidl, nullptr, SHGFP_TYPE_CURRENT, path))) return std::string();
  return path;
}

// --- Processes of the removal -----------------------------------------------------------------

std::string Win32Platform::temporaryDirectory() {
  char buffer[MAX_PATH + 1];
  std::string directory = filledText(buffer, GetTempPathA(sizeof buffer, buffer), sizeof buffer);
  if (!directory.empty() && directory.back() == '\\') directory.pop_back();
  return directory;
}

std::string Win32Platform::createProtectedFolder(const std::string& parent) {
  return tsaver::createProtectedFolder(parent);
}

std::string Win32Platform::environmentVariable(const std::string& name) {
  const DWORD size = GetEnvironmentVariableA(name.c_str(), nullptr, 0);
  if (size == 0) return std::string();
  std::vector<char> buffer(size);
  return filledText(buffer.data(), GetEnvironmentVariableA(name.c_str(), buffer.data(), size), size);
}

std::string Win32Platform::processIdentity() { return identityOf(GetCurrentProcess(), GetCurrentProcessId()); }

void Win32Platform::waitForProcess(const std::string& identity, unsigned milliseconds) {
  const UniqueHandle process = openIdentifiedProcess(identity);
  if (process.valid()) WaitForSingleObject(process.get(), milliseconds);
}

bool Win32Platform::startSelfRemovingProgram(const std::string& program, const std::string& workingDir,
                                             const EnvironmentVariables& variables, const std::string& announcement) {
  return startUnderRemovingHelper(program, workingDir, variables, announcement);
}

void Win32Platform::announceStarted(const std::string& value) { announceToStarter(value); }

bool Win32Platform::takeRunLock() { return runLock_.valid() || takeRunMutex(runLock_); }

Win32Platform::~Win32Platform() {
  if (comKept_) CoUninitialize();
}

// --- Reading a whole section ---------------------------------------------------------------

std::vector<std::string> Win32Platform::profileKeyNames(const std::string& section, const std::string& file) {
  std::vector<std::string> names = profileList([&](char* buffer, DWORD size) {
    return GetPrivateProfileStringA(section.c_str(), nullptr, "", buffer, size, file.c_str());
  });
  if (!names.empty()) return names;
  // Wine, measured: when the section's first key has no name ("=value"), the list
  // comes back empty, whatever follows. The section's lines name every key then
  // (blanks taken off, should a platform give the lines as they stand).
  for (const std::string& line : profileList([&](char* buffer, DWORD size) {
         return GetPrivateProfileSectionA(section.c_str(), buffer, size, file.c_str());
       })) {
    const std::string name = line.substr(0, line.find('='));
    const auto first = name.find_first_not_of(" \t");
    if (first == std::string::npos)
      names.emplace_back();
    else
      names.push_back(name.substr(first, name.find_last_not_of(" \t") - first + 1));
  }
  return names;
}

}  // namespace tsaver
