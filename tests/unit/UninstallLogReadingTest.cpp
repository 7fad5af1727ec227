// How the removal run reads the log: probe range, key spelling, sentinel, value
// length, and what each section's value is joined to.
#include "UninstallFixture.h"

namespace tsaver::testing {
namespace {

class UninstallLogReadingTest : public UninstallFixture {};

// Past 999 only "FILES": an "Extras.txt" of more than 983 files is numbered on.
TEST_F(UninstallLogReadingTest, KeysInPlainDecimalAreActedOnFrom1To999AndInFilesBeyond) {
  const struct {
    const char* section;
    const char* key;
    std::string value;  // a bare file name is taken in the install directory
    bool removed;
  } entries[] = {
      {"FILES", "FILE0", "zero.txt", false},
      {"FILES", "FILE1000", "thousand.txt", true},
      {"FILES", "file1006", "small-letters.txt", true},
      {"FILES", "FILE123456789", "nine-digits.txt", true},
      {"FILES", "FILE2147483648", "beyond-an-int.txt", false},
      {"FILES", "FILE01000", "leading-zero-beyond.txt", false},
      {"FILES", "FILE1001", "C:\\Planted.txt", false},  // the same value rules as below 1000
      {"FILES", "FILE01", "leading-zero.txt", false},
      {"FILES", "FILE+2", "signed.txt", false},
      {"FILES", "FILE3", "three.txt", true},
      {"FILES", "FILE5", "five-after-a-gap.txt", true},
      {"FILES", "FILE999", "last.txt", true},
      {"SHORTCUTS", "SHORTCUT999", "C:\\last.lnk", true},
      {"SHORTCUTS", "SHORTCUT1000", "C:\\beyond.lnk", false},
      {"DIRECTORIES", "DIRECTORY999", "C:\\Last Dir", true},
      {"DIRECTORIES", "DIRECTORY0", "C:\\Zero Dir", false},
  };
  const auto pathOf = [](const std::string& value) {
    return value.find('\\') == std::string::npos ? kInstallDir + "\\" + value : value;
  };
  for (const auto& e : entries) {
    if (std::string(e.section) == "DIRECTORIES")
      win.putDirectory(e.value);
    else
      win.putFile(pathOf(e.value));
    logEntry(e.section, e.key, e.value);
  }

  runRemoval();

  for (const auto& e : entries) {
    SCOPED_TRACE(std::string(e.section) + " " + e.key);
    EXPECT_EQ(exists(pathOf(e.value)), !e.removed);
  }
}

TEST_F(UninstallLogReadingTest, DesktopSectionIsProbedWithTheShortcutStem) {
  putEmptyLog();
  win.putFile(kDesktop + "\\first.lnk");
  win.putFile(kDesktop + "\\keyed.lnk");
  logEntry("DESKTOP", "SHORTCUT1", "first.lnk");
  logEntry("DESKTOP", "KEY1", "keyed.lnk");

  runRemoval();

  EXPECT_FALSE(exists(kDesktop + "\\first.lnk"));
  EXPECT_TRUE(exists(kDesktop + "\\keyed.lnk"));
}

struct SentinelCase {
  const char* name;
  const char* value;
  bool fileNamedNoneRemains;
  bool runKeyCreated;
};

class UninstallSentinelTest : public UninstallFixture, public ::testing::WithParamInterface<SentinelCase> {};

// The sentinel is case-sensitive, while the file system is not.
TEST_P(UninstallSentinelTest, ExactlyNoneIsNoEntry) {
  win.putFile(kInstallDir + "\\NONE");
  win.deleteRegistryKey(kRunKey);
  logEntry("FILES", "FILE3", GetParam().value);
  logEntry("REGISTRY", "KEY1", GetParam().value);

  runRemoval();

  EXPECT_EQ(exists(kInstallDir + "\\NONE"), GetParam().fileNamedNoneRemains);
  // An entry opens the Run key, and so creates it, to delete the value.
  EXPECT_EQ(win.registryKeyExists(kRunKey), GetParam().runKeyCreated);
}

INSTANTIATE_TEST_SUITE_P(Values, UninstallSentinelTest,
                         ::testing::Values(SentinelCase{"sentinel", "NONE", true, false},
                                           SentinelCase{"lowerCase", "none", false, true},
                                           SentinelCase{"empty", "", true, true}),
                         [](const auto& info) { return std::string(info.param.name); });

// The reader keeps 1023 characters: a value that fills them was cut and names another file.
TEST_F(UninstallLogReadingTest, AValueThatFillsTheReadersBufferIsPassedOver) {
  const std::string longest(1022, 'k');
  const std::string cut(1023, 'n');
  const std::string whole = cut + "xyz";
  for (const std::string* name : {&longest, &cut, &whole}) win.putFile(kInstallDir + "\\" + *name);
  logEntry("FILES", "FILE3", longest);
  logEntry("FILES", "FILE4", whole);

  runRemoval();

  EXPECT_FALSE(exists(kInstallDir + "\\" + longest));
  EXPECT_TRUE(exists(kInstallDir + "\\" + cut));
  EXPECT_TRUE(exists(kInstallDir + "\\" + whole));
}

TEST_F(UninstallLogReadingTest, DesktopValuesAreJoinedToTheShellsDesktopShortcutValuesUsedAsTheyAre) {
  // The shell's answer counts, not the Shell Folders value the installer wrote to.
  const std::string shellDesktop = "C:\\Users\\me\\Desktop";
  win.setDesktopDirectory(shellDesktop);
  win.putFile(shellDesktop + "\\Bare.lnk");
  win.putFile(kDesktop + "\\Bare.lnk");
  win.putFile(shellDesktop + "\\Full.lnk");
  win.putFile(kGroup + "\\Group.lnk");
  logEntry("DESKTOP", "SHORTCUT4", "Bare.lnk");
  logEntry("DESKTOP", "SHORTCUT5", shellDesktop + "\\Full.lnk");
  logEntry("SHORTCUTS", "SHORTCUT1", kGroup + "\\Group.lnk");

  runRemoval();

  const struct {
    std::string path;
    bool removed;
  } expectations[] = {
      {shellDesktop + "\\Bare.lnk", true},
      {kDesktop + "\\Bare.lnk", false},
      {shellDesktop + "\\Full.lnk", false},  // joined: "...\Desktop\C:\Users\me\Desktop\Full.lnk"
      {kGroup + "\\Group.lnk", true},
  };
  for (const auto& e : expectations) {
    SCOPED_TRACE(e.path);
    EXPECT_EQ(exists(e.path), !e.removed);
  }
}

}  // namespace
}  // namespace tsaver::testing
