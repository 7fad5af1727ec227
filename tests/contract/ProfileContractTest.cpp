// Settings (profile) files through GetPrivateProfileStringA and WritePrivateProfileStringA.
#include <optional>
#include <string>
#include <vector>

#include "contract/ContractFixture.h"
#include "uninstall_log/SettingsFile.h"

namespace tsaver::contract {
namespace {

class Profiles : public Contract {
 protected:
  void TearDown() override {
    // A bare name lands in the Windows directory: take the test's file away again.
    p().deleteFile(p().windowsDirectory() + "\\" + bareName());
    Contract::TearDown();
  }
  static std::string bareName() {
    return std::string("TsaverContract_") + ::testing::UnitTest::GetInstance()->current_test_info()->name() + ".ini";
  }
  bool write(const std::string& section, const std::optional<std::string>& key,
             const std::optional<std::string>& value, const std::string& file) {
    return p().writeProfileString(section, key, value, file);
  }
  std::string read(const std::string& section, const std::string& key, const std::string& file,
                   const std::string& fallback = "<default>") {
    return p().getProfileString(section, key, fallback, file);
  }
};

TEST_F(Profiles, FirstWriteCreatesFileSectionAndKey) {
  const std::string file = at("new.ini");
  EXPECT_TRUE(write("Data", std::string("Path"), std::string("C:\\Saver"), file));
  EXPECT_EQ(p().readFile(file), "[Data]\r\nPath=C:\\Saver\r\n");
  EXPECT_EQ(read("Data", "Path", file), "C:\\Saver");
}

TEST_F(Profiles, ABareNameLiesInTheWindowsDirectory) {
  ASSERT_TRUE(p().createDirectory(at("cwd")));
  p().setCurrentDirectory(at("cwd"));
  ASSERT_TRUE(write("boot", std::string("SCRNSAVE.EXE"), std::string("x.scr"), bareName()));
  EXPECT_TRUE(p().fileExists(p().windowsDirectory() + "\\" + bareName()));
  EXPECT_FALSE(p().fileExists(at("cwd\\" + bareName()))) << "not in the current directory";
  EXPECT_EQ(read("boot", "SCRNSAVE.EXE", bareName()), "x.scr");
  EXPECT_EQ(read("boot", "SCRNSAVE.EXE", p().windowsDirectory() + "\\" + bareName()), "x.scr");
}

TEST_F(Profiles, ANameWithADirectoryIsTakenFromTheCurrentDirectory) {
  // Measured under Wine: only a name without "\" (and without drive) goes to the Windows directory.
  ASSERT_TRUE(p().createDirectory(at("cwd")));
  ASSERT_TRUE(p().createDirectory(at("cwd\\sub")));
  p().setCurrentDirectory(at("cwd"));
  ASSERT_TRUE(write("s", std::string("k"), std::string("v"), "sub\\rel.ini"));
  EXPECT_TRUE(p().fileExists(at("cwd\\sub\\rel.ini")));
  ASSERT_TRUE(write("s", std::string("k"), std::string("v"), ".\\dot.ini"));
  EXPECT_TRUE(p().fileExists(at("cwd\\dot.ini")));
}

TEST_F(Profiles, SectionsAndKeysAreFoundWithoutRegardToCase) {
  const std::string file = at("case.ini");
  ASSERT_TRUE(write("Data", std::string("Path"), std::string("one"), file));
  EXPECT_EQ(read("DATA", "path", file), "one");
  EXPECT_EQ(read("data", "PATH", file), "one");
  ASSERT_TRUE(write("dATA", std::string("pATH"), std::string("two"), file));
  EXPECT_EQ(p().readFile(file), "[Data]\r\nPath=two\r\n") << "replaced in place, first spelling kept";
}

TEST_F(Profiles, NewKeysJoinTheirSectionAndNewSectionsFollow) {
  const std::string file = at("order.ini");
  ASSERT_TRUE(write("One", std::string("a"), std::string("1"), file));
  ASSERT_TRUE(write("Two", std::string("b"), std::string("2"), file));
  ASSERT_TRUE(write("One", std::string("c"), std::string("3"), file));
  ASSERT_TRUE(write("One", std::string("a"), std::string("4"), file));
  EXPECT_EQ(read("One", "a", file), "4");
  EXPECT_EQ(read("One", "c", file), "3");
  EXPECT_EQ(read("Two", "b", file), "2");
  // Measured under Wine: a new section follows the last line directly, no blank line between.
  EXPECT_EQ(p().readFile(file), "[One]\r\na=4\r\nc=3\r\n[Two]\r\nb=2\r\n");
}

TEST_F(Profiles, NoKeyErasesTheWholeSection) {
  const std::string file = at("erase.ini");
  ASSERT_TRUE(write("Gone", std::string("a"), std::string("1"), file));
  ASSERT_TRUE(write("Gone", std::string("b"), std::string("2"), file));
  ASSERT_TRUE(write("Kept", std::string("c"), std::string("3"), file));
  EXPECT_TRUE(write("gone", std::nullopt, std::nullopt, file));
  EXPECT_EQ(read("Gone", "a", file), "<default>");
  EXPECT_EQ(read("Gone", "b", file), "<default>");
  EXPECT_EQ(read("Kept", "c", file), "3");
  EXPECT_TRUE(write("Never there", std::nullopt, std::nullopt, file));
  EXPECT_EQ(read("Kept", "c", file), "3");
}

TEST_F(Profiles, ErasingInAMissingFileCreatesNothing) {
  EXPECT_TRUE(write("Any", std::nullopt, std::nullopt, at("none.ini")));
  EXPECT_FALSE(p().fileExists(at("none.ini")));
}

TEST_F(Profiles, NoValueRemovesTheKey) {
  const std::string file = at("key.ini");
  ASSERT_TRUE(write("S", std::string("a"), std::string("1"), file));
  ASSERT_TRUE(write("S", std::string("b"), std::string("2"), file));
  EXPECT_TRUE(write("S", std::string("A"), std::nullopt, file));
  EXPECT_EQ(read("S", "a", file), "<default>");
  EXPECT_EQ(read("S", "b", file), "2");
}

TEST_F(Profiles, AReadGivesAtMost1023Characters) {
  const std::string file = at("long.ini");
  std::string value;
  for (int i = 0; i < 2000; ++i) value += static_cast<char>('a' + i % 26);
  ASSERT_TRUE(write("S", std::string("k"), value, file));
  EXPECT_EQ(read("S", "k", file), value.substr(0, 1023));
  EXPECT_EQ(read("S", "k", file, std::string(1500, 'd')), value.substr(0, 1023));
  const std::string fits(1023, 'f');
  ASSERT_TRUE(write("S", std::string("fits"), fits, file));
  EXPECT_EQ(read("S", "fits", file), fits);
}

TEST_F(Profiles, MissingFileSectionOrKeyGivesTheDefault) {
  const std::string file = at("defaults.ini");
  ASSERT_TRUE(write("S", std::string("k"), std::string("v"), file));
  struct Case {
    const char* title;
    std::string section, key, file;
  };
  const std::vector<Case> cases = {
      {"missing file", "S", "k", at("missing.ini")},
      {"missing directory", "S", "k", at("missing\\x.ini")},
      {"missing section", "T", "k", file},
      {"missing key", "S", "x", file},
      {"a directory for a file", "S", "k", dir()},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(read(c.section, c.key, c.file, "fallback"), "fallback") << c.title;
    EXPECT_EQ(read(c.section, c.key, c.file, ""), "") << c.title;
  }
}

TEST_F(Profiles, WindowsDropsTheDefaultsTrailingBlanks) {
  EXPECT_EQ(read("S", "k", at("missing.ini"), "  with blanks  "), "  with blanks");
}

TEST_F(Profiles, HandWrittenFilesAreReadTheWindowsWay) {
  // Rows from the differential check against Wine: each says what a read gives of
  // a file that a hand or another program left. Rows marked "Wine" are Wine's
  // answers that only Windows can confirm (README).
  struct Row {
    const char* title;
    std::string content, section, key, expected;
  };
  const std::string q1023 = std::string(1023, 'q');
  const std::vector<Row> rows = {
      {"blanks around section, key and value", "  [ Spaced ]  \r\n  key  =  padded value  \r\n", "Spaced", "key",
       "padded value"},
      {"double quotes taken off", "[S]\r\nk=\"in quotes\"\r\n", "S", "k", "in quotes"},
      {"single quotes taken off", "[S]\r\nk='in single quotes'\r\n", "S", "k", "in single quotes"},
      {"one quote stays", "[S]\r\nk=\"open\r\n", "S", "k", "\"open"},
      {"an inner quote stays", "[S]\r\nk=\"q\"x\"\r\n", "S", "k", "q\"x"},
      {"an empty value", "[S]\r\nk=\r\n", "S", "k", ""},
      {"LF alone ends a line", "[S]\nk=only\n", "S", "k", "only"},
      {"Wine: CR alone ends a line", "[S]\rk=a\rj=b\r", "S", "j", "b"},
      {"Wine: CR alone ends a line amid CR LF", "[S]\r\nk=a\rj=b\r\n", "S", "k", "a"},
      {"Wine: Ctrl-Z, VT and FF are blanks", "\v\f\x1a[S]\r\n\x1a k\v=\f v\x1a\r\n", "S", "k", "v"},
      {"the no-break space is no blank", "[S]\r\nk=\xa0v\xa0\r\n", "S", "k", "\xa0v\xa0"},
      {"the name runs to the last ]", "[S]x]\r\nk=v\r\n", "S]x", "k", "v"},
      {"text after the ] is ignored", "[S] ; note\r\nk=v\r\n", "S", "k", "v"},
      {"Wine: a [ without ] starts no section", "[S]\r\n[T\r\nk=v\r\n", "S", "k", "v"},
      {"Wine: a section without a name is never found", "[S]\r\n[]\r\nk=v\r\n", "S", "k", "<default>"},
      {"only the first section of a name counts", "[S]\r\na=1\r\n[s]\r\nk=v\r\n", "S", "k", "<default>"},
      {"keys before any section are never found", "k=v\r\n[S]\r\n", "S", "k", "<default>"},
      {"Wine: a line without = reads as missing", "[S]\r\nk\r\n", "S", "k", "<default>"},
      {"Wine: a line without = hides a later one", "[S]\r\nk\r\nk=later\r\n", "S", "k", "<default>"},
      {"the first of two keys counts", "[S]\r\nk=first\r\nk=second\r\n", "S", "k", "first"},
      {"an inner blank belongs to the name", "[S]\r\nk 1=v\r\n", "S", "k 1", "v"},
      {"Wine: a NUL ends the value", std::string("[S]\r\nk=a\0b\r\n", 12), "S", "k", "a"},
      {"Wine: a NUL ends the name", std::string("[S]\r\nk\0x=v\r\n", 12), "S", "k", "v"},
      {"Wine: a quoted value of 1023 loses its last character", "[S]\r\nk=\"" + q1023 + "\"\r\n", "S", "k",
       q1023.substr(0, 1022)},
  };
  for (const Row& row : rows) {
    const std::string file = at("hand.ini");
    p().writeFile(file, row.content);
    EXPECT_EQ(read(row.section, row.key, file), row.expected) << row.title;
  }
}

TEST_F(Profiles, WritingFailsWhereNoFileCanBe) {
  ASSERT_TRUE(p().createDirectory(at("adir")));
  EXPECT_FALSE(write("S", std::string("k"), std::string("v"), at("adir")));
  EXPECT_TRUE(p().directoryExists(at("adir")));
  EXPECT_FALSE(write("S", std::string("k"), std::string("v"), at("missing\\x.ini")));
  EXPECT_FALSE(p().directoryExists(at("missing")));
}

TEST_F(Profiles, ASectionReadOnceAnswersEveryKeyAsThePlatformDoes) {
  const std::string file = at("probes.ini");
  p().writeFile(file,
                "[FILES]\r\n"
                "FILE1=plain\r\n"
                "  FILE2  =  spaced value  \r\n"
                "file3=\"quoted\"\r\n"
                "FILE4='single'\r\n"
                "FILE5=\"half\r\n"
                "FILE6=\r\n"
                "FILE7\r\n"
                "FILE8=first\r\n"
                "FILE8=second\r\n"
                "FILE9=" + std::string(1500, 'v') + "\r\n"
                ";FILE10=commented\r\n"
                "FILE 11=inner blank\r\n"
                "FILE12==starts with equals\r\n"
                "[files]\r\n"
                "FILE13=a second section of the same name\r\n"
                "[OTHER]\r\n"
                "FILE14=other section\r\n"
                // Wine lists no key of a section whose first key has no name.
                "[NAMELESS FIRST]\r\n"
                "=no name\r\n"
                "FILE1=after it\r\n");
  std::vector<std::string> keys = {" FILE1", "FILE1 ", ";FILE10", "FILE 11", "FILE11", "FILE", ""};
  for (int n = 1; n <= 15; ++n) {
    keys.push_back("FILE" + std::to_string(n));
    keys.push_back("file" + std::to_string(n));
  }
  const std::string defaults[] = {"NONE", "", "  with blanks  ", std::string(1500, 'd')};
  for (const std::string& path : {file, at("missing.ini")})
    for (const char* section : {"FILES", "files", "OTHER", "MISSING", "NAMELESS FIRST"}) {
      SettingsFile settings(p());
      settings.Open(path);
      for (const std::string& fallback : defaults)
        for (const std::string& key : keys)
          EXPECT_EQ(settings.ReadString(section, key, fallback), read(section, key, path, fallback))
              << path << " [" << section << "] \"" << key << "\" default \"" << fallback.substr(0, 20) << "\"";
    }
}

TEST_F(Profiles, ASectionReadOnceSeesTheAccessorsOwnWrites) {
  const std::string file = at("rewritten.ini");
  SettingsFile settings(p());
  settings.Open(file);
  EXPECT_EQ(settings.ReadString("S", "k", "NONE"), "NONE");
  settings.WriteString("S", "k", "written");
  EXPECT_EQ(settings.ReadString("S", "k", "NONE"), "written");
  settings.EraseSection("S");
  EXPECT_EQ(settings.ReadString("S", "k", "NONE"), "NONE");
}

}  // namespace
}  // namespace tsaver::contract
