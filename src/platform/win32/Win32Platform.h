#pragma once
// The real Windows API behind the platform interface, ANSI calls throughout.
// Each operation reports failure as Platform.h states; no handle outlives its call
// except the registry keys handed to the caller, which regCloseKey closes.
#include "platform/Platform.h"
#include "platform/win32/Handles.h"

namespace tsaver {

class Win32Platform : public Platform {
 public:
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

  std::string shellFolderPath(int csidl) override;

  std::string temporaryDirectory() override;
  std::string createProtectedFolder(const std::string& parent) override;
  std::string environmentVariable(const std::string& name) override;
  std::string processIdentity() override;
  void waitForProcess(const std::string& identity, unsigned milliseconds) override;
  bool startSelfRemovingProgram(const std::string& program, const std::string& workingDir,
                                const EnvironmentVariables& variables, const std::string& announcement) override;
  void announceStarted(const std::string& value) override;

  bool takeRunLock() override;

  std::vector<std::string> profileKeyNames(const std::string& section, const std::string& file) override;

  // Kept apart for speed: COM, once a link has needed it, stays initialised for
  // the platform's life on the thread that made the first link.
  ~Win32Platform() override;

 private:
  bool comKept_ = false;
  UniqueHandle runLock_;
  // What a file made in that folder is given, for the files moved there.
  std::string newFileSecurityFolder_;
  std::string newFileSecurity_;  // the security descriptor's bytes
};

}  // namespace tsaver
