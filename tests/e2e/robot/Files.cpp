#include "e2e/robot/Files.h"

#include <windows.h>

#include <fstream>
#include <sstream>

#include "e2e/robot/Wait.h"

namespace e2e {

namespace {

DWORD attributes(const std::string& path) { return GetFileAttributesA(path.c_str()); }

bool removeTree(const std::string& path) {
  const DWORD attrs = attributes(path);
  if (attrs == INVALID_FILE_ATTRIBUTES) return true;
  SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
  if (!(attrs & FILE_ATTRIBUTE_DIRECTORY)) return DeleteFileA(path.c_str()) != 0;
  WIN32_FIND_DATAA found;
  HANDLE search = FindFirstFileA((path + "\\*").c_str(), &found);
  if (search != INVALID_HANDLE_VALUE) {
    do {
      const std::string name = found.cFileName;
      if (name != "." && name != "..") removeTree(path + "\\" + name);
    } while (FindNextFileA(search, &found));
    FindClose(search);
  }
  return RemoveDirectoryA(path.c_str()) != 0;
}

}  // namespace

std::string hostPath(const std::string& linuxPath) {
  std::string path = "Z:" + linuxPath;
  for (char& c : path)
    if (c == '/') c = '\\';
  return path;
}

std::string fixturesDir() { return hostPath(TSAVER_BUILD_DIR "/fixtures/"); }

std::string installExe() { return hostPath(TSAVER_INSTALL_EXE); }

std::string windowsDir() {
  char buffer[MAX_PATH];
  const UINT length = GetWindowsDirectoryA(buffer, MAX_PATH);
  return std::string(buffer, length);
}

bool fileExists(const std::string& path) {
  const DWORD attrs = attributes(path);
  return attrs != INVALID_FILE_ATTRIBUTES && !(attrs & FILE_ATTRIBUTE_DIRECTORY);
}

bool directoryExists(const std::string& path) {
  const DWORD attrs = attributes(path);
  return attrs != INVALID_FILE_ATTRIBUTES && (attrs & FILE_ATTRIBUTE_DIRECTORY);
}

std::string readFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream content;
  content << in.rdbuf();
  return content.str();
}

void writeFile(const std::string& path, const std::string& content) {
  std::ofstream out(path, std::ios::binary | std::ios::trunc);
  out << content;
  if (!out.flush()) throw RobotError("cannot write " + path);
}

void copyFile(const std::string& from, const std::string& to) {
  if (!CopyFileA(from.c_str(), to.c_str(), FALSE))
    throw RobotError("cannot copy " + from + " to " + to + ", error " + std::to_string(GetLastError()));
}

void makeDirectories(const std::string& path) {
  if (directoryExists(path)) return;
  const auto cut = path.find_last_of("\\:");
  if (cut != std::string::npos && cut > 2) makeDirectories(path.substr(0, cut));
  if (!CreateDirectoryA(path.c_str(), nullptr) && !directoryExists(path))
    throw RobotError("cannot create directory " + path + ", error " + std::to_string(GetLastError()));
}

void removePath(const std::string& path) {
  // A program that just ended may hold its file for a moment longer.
  waitUntil([&] { return removeTree(path); }, "the removal of " + path, Millis(5000));
}

}  // namespace e2e
