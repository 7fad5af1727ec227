#pragma once
// An install package: a fresh folder C:\e2e\<name>\ in the Wine drive with
// the files a test puts there.
#include <string>

namespace e2e {

class Package {
 public:
  // Empties or creates the folder; `name` may hold "\" for nested folders.
  explicit Package(const std::string& name);

  // The folder, ending in "\".
  const std::string& dir() const { return dir_; }
  std::string path(const std::string& file) const { return dir_ + file; }
  bool has(const std::string& file) const;

  void copyIn(const std::string& from, const std::string& as);
  // A fixture program of this build (see tests/fixtures), under the given name.
  void copyFixture(const std::string& fixture, const std::string& as);
  // The program under test, under the given name.
  void copyProgram(const std::string& as);
  void write(const std::string& file, const std::string& content);
  // Gives every file of the folder the read-only attribute, as on a CD.
  void makeReadOnly();

 private:
  std::string dir_;
};

}  // namespace e2e
