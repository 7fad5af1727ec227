// Files and directories: what the program relies on from CopyFileA, MoveFileA,
// DeleteFileA, FindFirstFileA, GetFileAttributesA(Ex), Create/RemoveDirectoryA,
// GetShortPathNameA and whole-file reads and writes.
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "contract/ContractFixture.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"

namespace tsaver::contract {
namespace {

using Files = Contract;

TEST_F(Files, CopyReplacesAnExistingDestination) {
  // Empty, short, and longer than the Win32 copy's piece of 1 MB.
  for (const std::string& content : {std::string(), std::string("new"), std::string((1 << 20) + 3, 'm')}) {
    put(at("a.txt"), content);
    put(at("b.txt"), "old and longer");
    EXPECT_TRUE(p().copyFile(at("a.txt"), at("b.txt")));
    EXPECT_EQ(p().readFile(at("b.txt")), content) << content.size() << " bytes";
    EXPECT_EQ(p().readFile(at("a.txt")), content);
  }
}

TEST_F(Files, CopyFailsFromAMissingSourceOntoADirectoryOrIntoAMissingDirectory) {
  put(at("a.txt"), "a");
  ASSERT_TRUE(p().createDirectory(at("d")));
  struct Case {
    std::string source, destination;
  };
  const std::vector<Case> cases = {
      {at("missing.txt"), at("b.txt")},
      {at("a.txt"), at("d")},
      {at("a.txt"), at("nowhere\\b.txt")},
      {at("d"), at("b.txt")},
  };
  for (const auto& c : cases) {
    EXPECT_FALSE(p().copyFile(c.source, c.destination)) << c.source << " -> " << c.destination;
    EXPECT_FALSE(p().fileExists(c.destination)) << c.destination;
  }
  EXPECT_TRUE(p().directoryExists(at("d")));
}

TEST_F(Files, CopyOfAFileOntoItselfFails) {
  put(at("a.txt"), "a");
  EXPECT_FALSE(p().copyFile(at("a.txt"), at("A.TXT")));
  EXPECT_EQ(p().readFile(at("a.txt")), "a");
}

TEST_F(Files, FileExistsAndFileSizeOnlyForAFile) {
  put(at("File.txt"), "12345");
  put(at("Empty.txt"), "");
  ASSERT_TRUE(p().createDirectory(at("Dir")));
  put(at("Dir\\inner.txt"));
  struct Case {
    std::string path;
    bool exists;
    std::optional<std::uint64_t> size;
  };
  const std::vector<Case> cases = {
      {at("File.txt"), true, 5},
      {at("FILE.TXT"), true, 5},            // names without regard to case
      {at("file.txt"), true, 5},
      {at("Empty.txt"), true, 0},
      {at("Dir\\..\\File.txt"), true, 5},    // ".." taken away
      {at(".\\File.txt"), true, 5},
      {dir() + "/File.txt", true, 5},       // "/" serves as "\"
      {at("File.txt\\"), false, {}},        // a file is no directory to look into
      {at("Dir"), false, {}},                // a directory is no file
      {at("Dir\\"), false, {}},
      {dir(), false, {}},
      {at("missing.txt"), false, {}},
      {at("missing\\File.txt"), false, {}},
      {at("File.txt\\inner.txt"), false, {}},
      {at("Dir\\inner.txt"), true, 1},
      {at("Dir\\*.txt"), true, {}},          // FindFirstFileA takes wildcards, the size asks for one name
      {at("*.none"), false, {}},
      {"", false, {}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(p().fileExists(c.path), c.exists) << "'" << c.path << "'";
    EXPECT_EQ(p().fileSize(c.path), c.size) << "'" << c.path << "'";
  }
}

TEST_F(Files, DirectoryExistsForADirectoryOnly) {
  put(at("File.txt"));
  ASSERT_TRUE(p().createDirectory(at("Dir")));
  struct Case {
    std::string path;
    bool exists;
  };
  const std::vector<Case> cases = {
      {at("Dir"), true},
      {at("DIR"), true},
      {at("Dir\\"), true},
      {dir(), true},
      {dir().substr(0, 3), true},  // the drive's root, "C:\"
      {at("File.txt"), false},
      {at("missing"), false},
      {at("missing\\Dir"), false},
      {"", false},
  };
  for (const auto& c : cases) EXPECT_EQ(p().directoryExists(c.path), c.exists) << "'" << c.path << "'";
}

TEST_F(Files, DeleteFileTakesFilesOnly) {
  put(at("a.txt"));
  ASSERT_TRUE(p().createDirectory(at("d")));
  EXPECT_TRUE(p().deleteFile(at("A.txt")));
  EXPECT_FALSE(p().fileExists(at("a.txt")));
  EXPECT_FALSE(p().deleteFile(at("a.txt"))) << "already gone";
  EXPECT_FALSE(p().deleteFile(at("d")));
  EXPECT_TRUE(p().directoryExists(at("d")));
}

TEST_F(Files, MoveRenamesButNeverOntoAnExistingName) {
  put(at("a.txt"), "a");
  put(at("b.txt"), "b");
  EXPECT_FALSE(p().moveFile(at("a.txt"), at("b.txt")));
  EXPECT_EQ(p().readFile(at("a.txt")), "a");
  EXPECT_EQ(p().readFile(at("b.txt")), "b");

  EXPECT_TRUE(p().moveFile(at("a.txt"), at("c.txt")));
  EXPECT_FALSE(p().fileExists(at("a.txt")));
  EXPECT_EQ(p().readFile(at("c.txt")), "a");
  EXPECT_FALSE(p().moveFile(at("missing.txt"), at("d.txt")));
  EXPECT_FALSE(p().moveFile(at("c.txt"), at("nowhere\\c.txt")));
}

TEST_F(Files, MoveReplacingTakesAWritableFileOrLeavesBothAsTheyWere) {
  enum Held { Nothing, ReadOnlySource, DestinationInUse };
  for (const Held held : {Nothing, ReadOnlySource, DestinationInUse}) {
    const std::string folder = at(std::to_string(held)), source = folder + "\\s.txt", older = folder + "\\d.txt";
    ASSERT_TRUE(p().createDirectory(folder));
    put(source, "new");
    put(older, "old");
    if (held == ReadOnlySource) world().makeReadOnly(source);
    if (held == DestinationInUse) world().lockFile(older);
    EXPECT_EQ(p().moveFileReplacing(source, older), held == Nothing) << held;
    if (held == DestinationInUse) world().unlockFile(older);
    EXPECT_EQ(p().fileExists(source), held != Nothing) << held;
    EXPECT_EQ(p().readFile(older), held == Nothing ? "new" : "old") << held;
  }
  // Windows refuses to move onto a read-only file; Wine replaces it, as it does with a copy.
}

TEST_F(Files, MoveTakesADirectoryWithItsContent) {
  ASSERT_TRUE(p().createDirectory(at("d")));
  put(at("d\\f.txt"), "f");
  EXPECT_TRUE(p().moveFile(at("d"), at("e")));
  EXPECT_FALSE(p().directoryExists(at("d")));
  EXPECT_EQ(p().readFile(at("e\\f.txt")), "f");
}

TEST_F(Files, MoveIntoAnotherDirectory) {
  ASSERT_TRUE(p().createDirectory(at("d")));
  put(at("f.txt"), "f");
  EXPECT_TRUE(p().moveFile(at("f.txt"), at("d\\g.txt")));
  EXPECT_EQ(p().readFile(at("d\\g.txt")), "f");
}

TEST_F(Files, CreateAndRemoveDirectory) {
  EXPECT_TRUE(p().createDirectory(at("d")));
  EXPECT_FALSE(p().createDirectory(at("D"))) << "exists";
  EXPECT_FALSE(p().createDirectory(at("x\\y"))) << "no parent";
  put(at("f"));
  EXPECT_FALSE(p().createDirectory(at("f"))) << "a file has the name";
  EXPECT_FALSE(p().createDirectory(at("line\nbreak"))) << "a control character";

  put(at("d\\inner.txt"));
  EXPECT_FALSE(p().removeDirectory(at("d"))) << "not empty";
  ASSERT_TRUE(p().deleteFile(at("d\\inner.txt")));
  EXPECT_FALSE(p().removeDirectory(at("f"))) << "a file";
  EXPECT_TRUE(p().removeDirectory(at("D")));
  EXPECT_FALSE(p().directoryExists(at("d")));
  EXPECT_FALSE(p().removeDirectory(at("d"))) << "already gone";
}

TEST_F(Files, ReadAndWriteAreWhole) {
  const std::string bytes = std::string("one\r\ntwo\0three\x1a", 15) + std::string(70000, 'z');
  p().writeFile(at("f.bin"), bytes);
  EXPECT_EQ(p().readFile(at("f.bin")), bytes);
  p().writeFile(at("f.bin"), "short");
  EXPECT_EQ(p().readFile(at("F.BIN")), "short") << "a write replaces the file";
  p().writeFile(at("empty"), "");
  EXPECT_EQ(p().readFile(at("empty")), "");
}

TEST_F(Files, ReadAndWriteRaiseTheSystemsErrorCode) {
  put(at("f.txt"));
  put(at("locked.txt"), "locked");
  ASSERT_TRUE(p().createDirectory(at("d")));
  world().lockFile(at("locked.txt"));
  struct Case {
    const char* title;
    std::string path;
    int readCode, writeCode;
  };
  const std::vector<Case> cases = {
      {"missing file", at("missing.txt"), 2, 0},
      {"missing directory in the path", at("missing\\f.txt"), 3, 3},
      {"a file used as a directory", at("f.txt\\g.txt"), 3, 3},
      {"a directory", at("d"), 5, 5},
      {"a file held open without sharing", at("locked.txt"), 32, 32},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ioErrorOf([&] { p().readFile(c.path); }), c.readCode) << c.title;
    EXPECT_EQ(ioErrorOf([&] { p().writeFile(c.path, "new"); }), c.writeCode) << c.title;
  }
  world().unlockFile(at("locked.txt"));
  EXPECT_EQ(p().readFile(at("locked.txt")), "locked") << "the failed write left it";
}

TEST_F(Files, ALockedFileCannotBeDeletedMovedOrReplaced) {
  put(at("locked.txt"), "locked");
  put(at("other.txt"), "other");
  world().lockFile(at("locked.txt"));
  EXPECT_FALSE(p().deleteFile(at("locked.txt")));
  EXPECT_FALSE(p().copyFile(at("other.txt"), at("locked.txt")));
  EXPECT_FALSE(p().copyFile(at("locked.txt"), at("copy.txt")));
  EXPECT_FALSE(p().moveFile(at("locked.txt"), at("moved.txt")));
  world().unlockFile(at("locked.txt"));
  EXPECT_EQ(p().readFile(at("locked.txt")), "locked");
}

TEST_F(Files, AReadOnlyFileKeepsItsAttributeInACopyAndIsDeletedOnlyOnceItIsCleared) {
  put(at("cd.txt"), "from a CD");
  world().makeReadOnly(at("cd.txt"));
  ASSERT_TRUE(world().isReadOnly(at("cd.txt")));
  EXPECT_TRUE(p().copyFile(at("cd.txt"), at("copy.txt")));
  EXPECT_TRUE(world().isReadOnly(at("copy.txt"))) << "a copy keeps the source's attributes";
  EXPECT_FALSE(p().deleteFile(at("copy.txt")));
  EXPECT_EQ(p().readFile(at("copy.txt")), "from a CD");

  EXPECT_TRUE(p().clearReadOnly(at("copy.txt")));
  EXPECT_FALSE(world().isReadOnly(at("copy.txt")));
  EXPECT_TRUE(world().isReadOnly(at("cd.txt"))) << "the source stays as it was";
  EXPECT_TRUE(p().clearReadOnly(at("copy.txt"))) << "a writable file stays writable";
  EXPECT_TRUE(p().deleteFile(at("copy.txt")));
  EXPECT_FALSE(p().clearReadOnly(at("copy.txt"))) << "gone";
  ASSERT_TRUE(p().createDirectory(at("d")));
  EXPECT_FALSE(p().clearReadOnly(at("d"))) << "a directory is no file";
  // Windows also refuses to copy or write onto a read-only file; Wine replaces it (measured
  // with CopyFileA and CreateFileA CREATE_ALWAYS), so that stays out of the contract.
}

TEST_F(Files, AHeldFileIsRewrittenWhole) {
  put(at("held.txt"), "an earlier and longer content");
  {
    const std::unique_ptr<HeldFile> held = p().holdFile(at("held.txt"));
    ASSERT_TRUE(held);
    EXPECT_TRUE(held->rewrite("first"));
    EXPECT_TRUE(held->rewrite("second, longer"));
    EXPECT_TRUE(held->rewrite("third"));
  }
  EXPECT_EQ(p().readFile(at("held.txt")), "third");
  {
    const std::unique_ptr<HeldFile> created = p().holdFile(at("new.txt"));
    ASSERT_TRUE(created);
    EXPECT_TRUE(created->rewrite("made"));
  }
  EXPECT_EQ(p().readFile(at("new.txt")), "made");
  ASSERT_TRUE(p().createDirectory(at("d")));
  EXPECT_FALSE(p().holdFile(at("d")));
  EXPECT_FALSE(p().holdFile(at("missing\\f.txt")));
}

TEST_F(Files, TextFilesAreWrittenWithCrLfAndReadBackByLine) {
  writeTextLines(p(), at("t.txt"), {"first", "", "third line"});
  EXPECT_EQ(p().readFile(at("t.txt")), "first\r\n\r\nthird line\r\n");
  TextReader reader(p(), at("T.TXT"));
  EXPECT_EQ(reader.readLine(), "first");
  EXPECT_EQ(reader.readLine(), "");
  EXPECT_EQ(reader.readLine(), "third line");
  EXPECT_TRUE(reader.eof());
  EXPECT_EQ(reader.readLine(), "") << "a line that is not there reads as empty";
  EXPECT_EQ(ioErrorOf([&] { TextReader missing(p(), at("missing.txt")); }), 2);
  EXPECT_EQ(ioErrorOf([&] { writeTextLines(p(), at("missing\\t.txt"), {"x"}); }), 3);
}

TEST_F(Files, ShortPathNameGivesAnEightDotThreeFormOfAnExistingPath) {
  ASSERT_TRUE(p().createDirectory(at("Long Directory Name")));
  put(at("Long Directory Name\\Long File Name.text"), "long");
  put(at("Long Directory Name\\Short.txt"), "short");
  const std::string longFile = at("Long Directory Name\\Long File Name.text");
  const std::string shortForm = p().shortPathName(longFile);
  ASSERT_FALSE(shortForm.empty());
  EXPECT_EQ(shortForm.find(' '), std::string::npos) << shortForm;
  const std::string name = fileNamePart(shortForm);
  EXPECT_EQ(upperAscii(name), name) << "a long name becomes an upper-case alias";
  EXPECT_LE(name.size(), 12u) << name;
  EXPECT_EQ(extensionPart(name), ".TEX") << name;
  EXPECT_EQ(p().readFile(shortForm), "long") << "the short form names the same file";
  EXPECT_TRUE(p().fileExists(shortForm));
  EXPECT_EQ(shortForm.substr(0, 3), "C:\\");

  const std::string fits = p().shortPathName(at("Long Directory Name\\Short.txt"));
  EXPECT_EQ(fileNamePart(fits), "Short.txt") << "a name that fits 8.3 stays as it is";
  EXPECT_EQ(p().readFile(fits), "short");
  EXPECT_EQ(p().shortPathName(at("Long Directory Name")), directoryPart(shortForm).substr(0, directoryPart(shortForm).size() - 1));

  EXPECT_EQ(p().shortPathName(at("missing.txt")), "");
  EXPECT_EQ(p().shortPathName(at("missing dir\\f.txt")), "");
  EXPECT_EQ(p().shortPathName(""), "");
}

TEST_F(Files, TheCurrentDirectoryCannotBeRemoved) {
  ASSERT_TRUE(p().createDirectory(at("cwd")));
  p().setCurrentDirectory(at("cwd"));
  // The process holds its current directory open; Wine refuses as Windows does.
  EXPECT_FALSE(p().removeDirectory(at("cwd")));
  EXPECT_TRUE(p().directoryExists(at("cwd")));
  p().setCurrentDirectory(dir());
  EXPECT_TRUE(p().removeDirectory(at("cwd")));
}

}  // namespace
}  // namespace tsaver::contract
