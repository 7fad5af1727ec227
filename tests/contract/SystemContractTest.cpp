// The current directory, the program's own path, the Windows and desktop
// directories, relative names, the directory-tree rule and shell links.
#include <string>
#include <vector>

#include "contract/ContractFixture.h"
#include "platform/Paths.h"

namespace tsaver::contract {
namespace {

using CurrentDirectory = Contract;
using System = Contract;
using DirectoryTree = Contract;

TEST_F(CurrentDirectory, SetThenGetWithoutTrailingBackslash) {
  ASSERT_TRUE(p().createDirectory(at("Here")));
  p().setCurrentDirectory(at("Here"));
  EXPECT_EQ(p().currentDirectory(), at("Here"));
  p().setCurrentDirectory(at("Here") + "\\");
  EXPECT_EQ(p().currentDirectory(), at("Here")) << "the trailing \"\\\" is not kept";
  p().setCurrentDirectory(at("HERE"));
  EXPECT_EQ(p().currentDirectory(), at("HERE")) << "kept as spelled";
  p().setCurrentDirectory("..");
  EXPECT_EQ(upperAscii(p().currentDirectory()), upperAscii(dir()));
  p().setCurrentDirectory("C:\\");
  EXPECT_EQ(p().currentDirectory(), "C:\\") << "a root keeps its \"\\\"";
}

TEST_F(CurrentDirectory, SettingWhatIsNoDirectoryRaisesTheSystemsCode) {
  put(at("file.txt"));
  p().setCurrentDirectory(dir());
  struct Case {
    const char* title;
    std::string path;
    int code;
  };
  const std::vector<Case> cases = {
      {"missing directory", at("missing"), 2},
      {"missing parent", at("missing\\deeper"), 3},
      {"a file", at("file.txt"), 267},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ioErrorOf([&] { p().setCurrentDirectory(c.path); }), c.code) << c.title;
    EXPECT_EQ(p().currentDirectory(), dir()) << c.title << ": unchanged";
  }
}

TEST_F(CurrentDirectory, RelativeNamesResolveAgainstIt) {
  ASSERT_TRUE(p().createDirectory(at("cwd")));
  p().setCurrentDirectory(at("cwd"));
  p().writeFile("rel.txt", "relative");
  EXPECT_EQ(p().readFile(at("cwd\\rel.txt")), "relative");
  EXPECT_TRUE(p().fileExists("C:rel.txt")) << "drive-relative: the current directory of that drive";
  EXPECT_TRUE(p().fileExists(at("cwd").substr(2) + "\\rel.txt")) << "\"\\x\": from the current drive's root";
  EXPECT_TRUE(p().fileExists("..\\cwd\\rel.txt"));
  EXPECT_TRUE(p().createDirectory("sub"));
  EXPECT_TRUE(p().directoryExists(at("cwd\\sub")));
  EXPECT_TRUE(p().copyFile("rel.txt", "sub\\copy.txt"));
  EXPECT_EQ(p().readFile(at("cwd\\sub\\copy.txt")), "relative");
}

TEST_F(System, WindowsDirectoryExistsAndHasNoTrailingBackslash) {
  const std::string windows = p().windowsDirectory();
  ASSERT_GE(windows.size(), 3u);
  EXPECT_NE(windows.back(), '\\');
  EXPECT_EQ(windows[1], ':');
  EXPECT_TRUE(p().directoryExists(windows));
}

TEST_F(System, TheProgramsOwnFileExists) {
  const std::string self = p().moduleFileName();
  EXPECT_TRUE(p().fileExists(self)) << self;
  EXPECT_NE(self.find('\\'), std::string::npos);
}

TEST_F(System, DesktopDirectoryExists) {
  const std::string desktop = p().desktopDirectory();
  EXPECT_TRUE(p().directoryExists(desktop)) << desktop;
}

TEST_F(System, ShellLinksAreSavedAsFilesWhereTheirFolderExists) {
  put(at("target.exe"));
  ShellLinkData link;
  link.target = at("target.exe");
  link.description = "A link";
  link.workingDir = dir();
  link.showCommand = kShowNormal;
  EXPECT_EQ(p().saveShellLink(link, at("A link.lnk")), ShellLinkResult::Saved);
  EXPECT_TRUE(p().fileExists(at("a link.lnk")));
  EXPECT_EQ(p().saveShellLink(link, at("missing\\A link.lnk")), ShellLinkResult::SaveFailed);
  EXPECT_FALSE(p().fileExists(at("missing\\A link.lnk")));
}

TEST_F(DirectoryTree, CreatesEveryMissingLevel) {
  forceDirectories(p(), at("one\\two\\three"));
  EXPECT_TRUE(p().directoryExists(at("one")));
  EXPECT_TRUE(p().directoryExists(at("one\\two")));
  EXPECT_TRUE(p().directoryExists(at("one\\two\\three")));
  forceDirectories(p(), at("one\\two\\three"));  // all there: nothing to do
  EXPECT_TRUE(p().directoryExists(at("one\\two\\three")));
}

TEST_F(DirectoryTree, DropsOneTrailingBackslash) {
  forceDirectories(p(), at("a\\b\\"));
  EXPECT_TRUE(p().directoryExists(at("a\\b")));
}

TEST_F(DirectoryTree, APathUnderThreeCharactersIsNeverCreated) {
  p().setCurrentDirectory(dir());
  forceDirectories(p(), "ab");
  EXPECT_FALSE(p().directoryExists(at("ab")));
  forceDirectories(p(), "ab\\");
  EXPECT_FALSE(p().directoryExists(at("ab")));
  forceDirectories(p(), "abc");
  EXPECT_TRUE(p().directoryExists(at("abc"))) << "three characters are enough";
}

TEST_F(DirectoryTree, AFileInTheWayStopsIt) {
  put(at("file"));
  forceDirectories(p(), at("file\\below"));
  EXPECT_FALSE(p().directoryExists(at("file\\below")));
  EXPECT_TRUE(p().fileExists(at("file")));
}

}  // namespace
}  // namespace tsaver::contract
