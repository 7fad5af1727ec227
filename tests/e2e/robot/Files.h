#pragma once
// File-system helpers for setting up and checking test machines.
#include <string>

namespace e2e {

// A host (Linux) path as Wine's drive Z: shows it.
std::string hostPath(const std::string& linuxPath);
// The build folder's fixture outputs, as Windows paths ending in "\".
std::string fixturesDir();
// The program under test, Install.exe of this build.
std::string installExe();
std::string windowsDir();

bool fileExists(const std::string& path);
bool directoryExists(const std::string& path);
// Nothing when the file cannot be read.
std::string readFile(const std::string& path);
// Replaces the file; throws RobotError when it cannot.
void writeFile(const std::string& path, const std::string& content);
void copyFile(const std::string& from, const std::string& to);
// Creates the directory and its missing parents; throws RobotError when it cannot.
void makeDirectories(const std::string& path);
// Deletes a file or a whole directory tree if there; throws RobotError when
// something stays (a running program's file is retried for a while first).
void removePath(const std::string& path);

}  // namespace e2e
