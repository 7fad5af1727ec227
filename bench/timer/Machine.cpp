#include "Machine.h"

#include <windows.h>

#include <cstdint>
#include <cstdio>
#include <tuple>
#include <utility>
#include <vector>

#include "e2e/FixtureRecords.h"
#include "e2e/MachineState.h"
#include "e2e/ProductPackage.h"
#include "e2e/robot/Files.h"
#include "e2e/robot/Wait.h"
#include "vendor/PackedSetup.h"

namespace bench {

namespace {

const char kOptions[] = "4\r\nFalse\r\nTrue\r\nTrue\r\n";
constexpr size_t kMovieBytes = 50u << 20;
constexpr size_t kExtraBytes = 10u << 10;

// A movie is compressed data: bytes that no installer can pack any smaller.
std::string incompressibleBytes(size_t count) {
  std::string bytes(count, '\0');
  std::uint32_t state = 2463534242u;
  for (char& b : bytes) {
    state ^= state << 13;
    state ^= state >> 17;
    state ^= state << 5;
    b = static_cast<char>(state);
  }
  return bytes;
}

// The tray option "False" leaves these in the package.
bool installedWithOptions(const std::string& file) { return file != "TaskTray.exe" && file != "Contacts.bmp"; }

std::vector<std::string> productPaths() {
  std::vector<std::string> paths;
  for (const e2e::ProductFile& file : e2e::productFiles(kProduct))
    if (installedWithOptions(file.name))
      paths.push_back((file.toWindowsDir ? e2e::windowsDir() : installDir()) + "\\" + file.name);
  return paths;
}

std::vector<std::string> linkPaths() {
  const std::string group = e2e::groupDir(kProduct);
  return {group + "\\" + kProduct + " screen saver.lnk", group + "\\Uninstall.lnk",
          e2e::shellFolder("Desktop") + "\\" + kProduct + " screen saver.lnk"};
}

std::string extraName(int n) {
  char name[32];
  std::snprintf(name, sizeof name, "Extra%03d.bmp", n);
  return name;
}

std::vector<std::string> extraPaths(const Payload& payload) {
  std::vector<std::string> paths;
  for (int n = 1; n <= payload.extras; ++n) paths.push_back(installDir() + "\\" + extraName(n));
  return paths;
}

// The peer's part of the extra files, one line each, as an installer script lists its files.
void writePeerExtras(int extras) {
  std::string script = "!macro InstallExtras\r\n";
  for (int n = 1; n <= extras; ++n) script += "  File \"${PAYLOAD}/" + extraName(n) + "\"\r\n";
  script += "!macroend\r\n!macro RemoveExtras\r\n";
  for (int n = 1; n <= extras; ++n) script += "  Delete \"$INSTDIR\\" + extraName(n) + "\"\r\n";
  script += "!macroend\r\n";
  e2e::writeFile("C:\\e2e\\BenchExtras.nsh", script);
}

std::string dataPath() { return e2e::profileString("TSaver.ini", e2e::settingsSection(kProduct), "DataPath"); }

std::string upper(std::string text) {
  for (char& c : text)
    if (c >= 'a' && c <= 'z') c = static_cast<char>(c - 'a' + 'A');
  return text;
}

}  // namespace

std::string makePayloads(const e2e::ProgramBuild& i686) {
  const std::string movie = incompressibleBytes(kMovieBytes);
  const std::string extra = incompressibleBytes(kExtraBytes);
  std::string made;
  // Each folder starts as the product's and is then moved to its payload's name; the plain x86_64 one stays.
  for (const auto& [payload, build] :
       {std::pair{kExtrasPayloadI686, i686}, std::pair{kExtrasPayload, e2e::thisBuild()},
        std::pair{kPayloadI686, i686}, std::pair{kPayload, e2e::thisBuild()}}) {
    e2e::Package package = e2e::makeProductPackage(kProduct, kOptions, build);
    package.write("Movie.swf", movie);
    std::string extras;
    for (int n = 1; n <= payload.extras; ++n) {
      package.write(extraName(n), extra);
      extras += extraName(n) + "\r\n";
    }
    package.write("Extras.txt", extras);
    const std::string folder = "C:\\e2e\\" + std::string(payload.name);
    if (folder + "\\" != package.dir()) {
      e2e::removePath(folder);
      if (!MoveFileA(package.dir().c_str(), folder.c_str())) throw e2e::RobotError("cannot make " + folder);
    }
    made += (made.empty() ? "" : ", ") + folder + "\\";
  }
  writePeerExtras(kExtrasPayload.extras);
  return made;
}

void packPayloads(const std::string& extractorX8664, const std::string& extractorI686) {
  for (const auto& [payload, extractor, file] : {std::tuple{kPayload, extractorX8664, kSetupFile},
                                                 std::tuple{kPayloadI686, extractorI686, kSetupFileI686}}) {
    const auto folder = tsaver::vendor::readPackageFolder("C:\\e2e\\" + std::string(payload.name));
    e2e::writeFile(file, tsaver::vendor::packSetup(folder, e2e::readFile(extractor)).bytes);
  }
}

std::string copyPayload(const Payload& from) {
  const std::string payload = "C:\\e2e\\" + std::string(from.name) + "\\";
  e2e::Package run(std::string(kProduct) + "Run");
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((payload + "*").c_str(), &found);
  if (search == INVALID_HANDLE_VALUE) throw e2e::RobotError("no payload in " + payload + ": make it first");
  do {
    // Linked, not copied: the run deletes its package files, not the payload's, and no
    // untimed write of 60 MB is still on its way to the disk while the run is timed.
    if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) &&
        !CreateHardLinkA(run.path(found.cFileName).c_str(), (payload + found.cFileName).c_str(), nullptr))
      throw e2e::RobotError("cannot link " + payload + found.cFileName + " into " + run.dir());
  } while (FindNextFileA(search, &found));
  FindClose(search);
  return run.dir();
}

std::string installDir() { return e2e::defaultInstallDir(kProduct); }

void resetMachine() {
  e2e::forgetProduct(kProduct);
  e2e::removePath(e2e::windowsDir() + "\\SWFlash.ocx");
  WritePrivateProfileStringA("boot", "SCRNSAVE.EXE", nullptr, "System.ini");
  e2e::forgetFixtureRecords("swflash");
}

void checkInstalled(const std::string& who, const Payload& payload) {
  std::vector<std::string> expected = productPaths();
  for (const std::string& extra : extraPaths(payload)) expected.push_back(extra);
  for (const std::string& link : linkPaths()) expected.push_back(link);
  expected.push_back(installDir() + "\\Uninstall.exe");
  expected.push_back(e2e::windowsDir() + "\\" + kProduct + ".ini");
  for (const std::string& path : expected)
    if (!e2e::fileExists(path)) throw e2e::RobotError(who + " did not install " + path);
  if (dataPath() != installDir()) throw e2e::RobotError(who + " wrote DataPath=" + dataPath() + " into TSaver.ini");
  if (e2e::profileString("System.ini", "boot", "SCRNSAVE.EXE") == "<none>")
    throw e2e::RobotError(who + " did not make the screen saver active");
  // Both sides register it twice, once on copying and once at the end; REGSVR32 /s
  // fails silently. The peer does not wait for it: nor may its run leak into the next.
  e2e::waitForFixtureRecords("swflash", "DllRegisterServer", 2);
}

void checkRemoved(const std::string& who, const Payload& payload) {
  std::vector<std::string> gone = productPaths();
  for (const std::string& extra : extraPaths(payload)) gone.push_back(extra);
  for (const std::string& link : linkPaths()) gone.push_back(link);
  const std::string flashControl = e2e::windowsDir() + "\\SWFlash.ocx";  // not logged: it may serve other products
  for (const std::string& path : gone)
    if (path != flashControl && e2e::fileExists(path)) throw e2e::RobotError(who + " did not remove " + path);
  if (e2e::directoryExists(e2e::groupDir(kProduct))) throw e2e::RobotError(who + " left the program group");
  if (dataPath() != "<none>") throw e2e::RobotError(who + " left the settings section in TSaver.ini");
}

int loggedTrayPrograms() {
  std::vector<char> section(65536);
  const DWORD length = GetPrivateProfileSectionA("FILES", section.data(), static_cast<DWORD>(section.size()),
                                                 (installDir() + "\\UNINSTALL.INI").c_str());
  int count = 0;
  for (const char* entry = section.data(); entry < section.data() + length && *entry; entry += strlen(entry) + 1) {
    const std::string value = std::string(entry).substr(std::string(entry).find('=') + 1);
    if (upper(value.substr(value.find_last_of("\\:") + 1)) == "TASKTRAY.EXE") ++count;
  }
  return count;
}

}  // namespace bench
