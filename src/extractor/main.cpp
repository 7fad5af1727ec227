// The packed setup program: checks its packed files against their SHA-256,
// unpacks them into a fresh folder under the temporary folder that only
// Administrators and SYSTEM can write, runs the package's Install.exe there,
// waits for it, removes the folder and ends with the program's exit code.
#include <windows.h>

#include <string>

#include "extractor/OwnFile.h"
#include "extractor/ProgressWindow.h"
#include "extractor/Unpack.h"
#include "platform/win32/Handles.h"
#include "platform/win32/ProtectedFolder.h"
#include "platform/win32/SafeStart.h"

namespace {

using namespace tsaver::extractor;

// Exit codes of the extractor's own; any other is Install.exe's.
constexpr int kDamaged = 2;
constexpr int kCannotUnpack = 3;

const char kCaption[] = "Tessaryn Saver Setup";
const char kDamagedText[] =
    "The setup file is damaged: it was not downloaded completely, or it was changed since.\r\n"
    "Please download it again.";
const char kCannotUnpackText[] =
    "The setup files could not be unpacked into the temporary folder. Please make sure that the disk has room "
    "and try again.";
const char kCannotStartText[] = "The installation program could not be started.";

int fail(ProgressWindow& window, const char* text, int exitCode) {
  MessageBoxA(window.handle(), text, kCaption, MB_OK | MB_ICONSTOP);
  return exitCode;
}

std::string temporaryDirectory() {
  char buffer[MAX_PATH + 1];
  const DWORD length = GetTempPathA(sizeof buffer, buffer);
  if (length == 0 || length >= sizeof buffer) return "";
  std::string path(buffer, length);
  if (!path.empty() && path.back() == '\\') path.pop_back();
  return path;
}

// Runs the folder's Install.exe with the folder as its current directory; its exit code, or -1.
long long runInstaller(const std::string& folder, ProgressWindow& window) {
  const std::string program = folder + "\\Install.exe";
  std::string commandLine = "\"" + program + "\"";
  STARTUPINFOA startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION started{};
  if (!CreateProcessA(program.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr, folder.c_str(), &startup,
                      &started))
    return -1;
  tsaver::UniqueHandle process(started.hProcess), thread(started.hThread);
  // The progress window stays until the wizard is there, so that the screen is never empty.
  WaitForInputIdle(process.get(), 10000);
  window.close();
  WaitForSingleObject(process.get(), INFINITE);
  DWORD exitCode = 0;
  GetExitCodeProcess(process.get(), &exitCode);
  return exitCode;
}

int run(HINSTANCE instance) {
  ProgressWindow window(instance);
  window.setText("Checking the setup file...");
  OwnFile self;
  Payload payload;
  if (!self.open() || checkPayload(self.bytes(), self.size(), window, payload) != tsaver::packed::Problem::None)
    return fail(window, kDamagedText, kDamaged);
  const std::string folder = tsaver::createProtectedFolder(temporaryDirectory());
  if (folder.empty()) return fail(window, kCannotUnpackText, kCannotUnpack);
  window.setText("Unpacking the setup files...");
  if (!unpack(payload, folder, window)) {
    removeTree(folder);
    return fail(window, kCannotUnpackText, kCannotUnpack);
  }
  const long long exitCode = runInstaller(folder, window);
  removeTree(folder);
  if (exitCode < 0) return fail(window, kCannotStartText, kCannotUnpack);
  return static_cast<int>(exitCode);
}

}  // namespace

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  tsaver::hardenDllSearch();
  return run(instance);
}
