#include "uninstaller/TemporaryCopy.h"

#include <string>

#include "platform/Errors.h"

namespace tsaver {

namespace {

// The first process ends right after the copy has announced itself; this only keeps a
// first process that hangs from holding the copy for ever.
constexpr unsigned kFirstProcessWaitMs = 30000;

}  // namespace

bool handOffToTemporaryCopy(Platform& platform) {
  const std::string firstProcess = platform.environmentVariable(kFirstProcessVariable);
  if (!firstProcess.empty()) {
    platform.announceStarted(firstProcess);
    return false;
  }
  // Without its own identity the copy could not tell itself from a first process.
  const std::string identity = platform.processIdentity();
  const std::string temporaryDirectory = platform.temporaryDirectory();
  if (identity.empty() || temporaryDirectory.empty()) return false;
  const std::string folder = platform.createProtectedFolder(temporaryDirectory);
  if (folder.empty()) return false;
  const std::string copy = folder + "\\" + kTemporaryCopyName;
  // Writable, or the command interpreter could not delete it: an earlier version left
  // "Uninstall.exe" read-only when the package came from a CD.
  const EnvironmentVariables handedOver = {{kFirstProcessVariable, identity},
                                           {kStartDirectoryVariable, platform.currentDirectory()}};
  if (copyWritable(platform, platform.moduleFileName(), copy) &&
      platform.startSelfRemovingProgram(copy, folder, handedOver, identity))
    return true;
  platform.deleteFile(copy);
  platform.removeDirectory(folder);
  return false;
}

void enterFirstProcessStartDirectory(Platform& platform) {
  const std::string startDirectory = platform.environmentVariable(kStartDirectoryVariable);
  if (startDirectory.empty()) return;
  // Gone meanwhile: the copy stays where it is, finds no log there, and says so.
  try {
    platform.setCurrentDirectory(startDirectory);
  } catch (const EInOutError&) {
  }
}

void waitForFirstProcess(Platform& platform) {
  const std::string firstProcess = platform.environmentVariable(kFirstProcessVariable);
  if (!firstProcess.empty()) platform.waitForProcess(firstProcess, kFirstProcessWaitMs);
}

}  // namespace tsaver
