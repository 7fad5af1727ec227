#include "uninstaller/TemporaryCopy.h"

#include <functional>
#include <random>
#include <string>

#include "platform/Errors.h"

namespace tsaver {

namespace {

// Another program's folder may hold the name drawn; a few draws find a free one.
constexpr int kFolderAttempts = 8;
// The first process ends right after the copy has announced itself; this only keeps a
// first process that hangs from holding the copy for ever.
constexpr unsigned kFirstProcessWaitMs = 30000;

// A new, empty folder under the temporary directory; empty when none could be made.
// The names are drawn from a generator seeded with this process's identity (its id
// and start time), which no other process shares; the library's random_device
// would bring a large part of the run-time library into the shipped file.
std::string makeFreshFolder(Platform& platform, const std::string& temporaryDirectory, const std::string& identity) {
  std::minstd_rand draw(static_cast<std::minstd_rand::result_type>(std::hash<std::string>()(identity)));
  for (int attempt = 0; attempt < kFolderAttempts; ++attempt) {
    const std::string folder = temporaryDirectory + "\\tsv" + std::to_string(draw());
    if (platform.createDirectory(folder)) return folder;
  }
  return std::string();
}

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
  const std::string folder = makeFreshFolder(platform, temporaryDirectory, identity);
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
