// Where TKesShellLink puts its link file: the name rules and the shell folders.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "platform/Errors.h"
#include "platform/SimulatedWindows.h"
#include "shelllink/ShellLnk.h"

namespace tsaver {
namespace {

const std::string kShellFolders = "Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders";
const std::string kPrograms = "C:\\WINDOWS\\Start Menu\\Programs";
const std::string kDesktop = "C:\\WINDOWS\\Desktop";

class ShellLinkName : public ::testing::Test {
 protected:
  SimulatedWindows windows;
  TKesShellLink link{windows};
};

TEST_F(ShellLinkName, FollowsTheNameRules) {
  struct Case {
    TShellFolder folder;
    std::string value, fileName;
  };
  const std::vector<Case> cases = {
      {sfPrograms, "Readme", kPrograms + "\\Readme.lnk"},
      {sfPrograms, "Tool.LnK", kPrograms + "\\Tool.LnK"},
      {sfPrograms, "Notes.txt", kPrograms + "\\Notes.txt.lnk"},
      {sfPrograms, "C:\\Other\\Name", kPrograms + "\\Name.lnk"},
      {sfPrograms, "D:Name", kPrograms + "\\Name.lnk"},
      {sfPrograms, "", ""},
      {sfPrograms, ".lnk", ""},
      {sfPrograms, "C:\\Other\\", ""},
      {sfDesktop, "Saver", kDesktop + "\\Saver.lnk"},
      {sfNone, "Readme", "Readme.lnk"},
      {sfNone, "C:\\Other\\Name", "C:\\Other\\Name.lnk"},
      {sfNone, "C:\\v1.2\\Name", "C:\\v1.2\\Name.lnk"},
      {sfNone, "C:\\Other\\x.LNK", "C:\\Other\\x.LNK"},
      {sfNone, "C:\\Other\\.Lnk", ""},
      {sfNone, "C:\\Other\\", ""},
  };
  for (const auto& c : cases) {
    TKesShellLink fresh(windows);
    fresh.setShellFolder(c.folder);
    fresh.setFileName(c.value);
    EXPECT_EQ(fresh.FileName(), c.fileName) << "folder " << int(c.folder) << ", value '" << c.value << "'";
  }
}

TEST_F(ShellLinkName, AFolderValueIsUsedAsStored) {
  struct Case {
    const char* title;
    std::string data;
    SimulatedWindows::ValueType type;
    std::string fileName;
  };
  const std::vector<Case> cases = {
      {"expand string not expanded", "%USERPROFILE%\\Progs", SimulatedWindows::ValueType::ExpandString,
       "%USERPROFILE%\\Progs\\X.lnk"},
      {"trailing backslash kept", "E:\\Progs\\", SimulatedWindows::ValueType::String, "E:\\Progs\\\\X.lnk"},
  };
  for (const auto& c : cases) {
    windows.putRegistryValue(kShellFolders, "Programs", c.data, c.type);
    TKesShellLink fresh(windows);
    fresh.setShellFolder(sfPrograms);
    fresh.setFileName("X");
    EXPECT_EQ(fresh.FileName(), c.fileName) << c.title;
  }
}

TEST_F(ShellLinkName, WithoutAFolderValueTheShellIsAskedAndNoAnswerIsAWriteError) {
  struct Case {
    const char* title;
    std::function<void(SimulatedWindows&)> breakValue;
    std::string shellKnows;  // CSIDL_PROGRAMS' path; empty: the shell cannot say
    std::string fileName;    // empty: "Write error."
  };
  const auto noKey = [](SimulatedWindows& w) { w.deleteRegistryKey(kShellFolders); };
  const auto noValue = [](SimulatedWindows& w) {
    w.deleteRegistryKey(kShellFolders);
    w.putRegistryValue(kShellFolders, "Desktop", kDesktop);
  };
  const auto emptyValue = [](SimulatedWindows& w) { w.putRegistryValue(kShellFolders, "Programs", ""); };
  const std::vector<Case> cases = {
      {"no key", noKey, "E:\\Known\\Programs", "E:\\Known\\Programs\\X.lnk"},
      {"no value", noValue, "E:\\Known\\Programs", "E:\\Known\\Programs\\X.lnk"},
      {"empty value", emptyValue, "E:\\Known\\Programs", "E:\\Known\\Programs\\X.lnk"},
      {"no key, shell silent", noKey, "", ""},
      {"empty value, shell silent", emptyValue, "", ""},
  };
  for (const auto& c : cases) {
    SimulatedWindows machine;
    c.breakValue(machine);
    machine.setShellFolderPath(0x02, c.shellKnows);
    TKesShellLink fresh(machine);
    fresh.setFileName("X");
    if (c.fileName.empty()) {
      try {
        fresh.setShellFolder(sfPrograms);
        ADD_FAILURE() << c.title << ": no exception";
      } catch (const EKesShellLink& e) {
        EXPECT_EQ(e.message(), "Write error.") << c.title;
      }
      EXPECT_EQ(fresh.FileName(), "X.lnk") << c.title << ": the name is kept, never put in the drive's root";
    } else {
      fresh.setShellFolder(sfPrograms);
      EXPECT_EQ(fresh.FileName(), c.fileName) << c.title;
    }
  }
}

TEST_F(ShellLinkName, TheCurrentTextChangesNothingAndReadsNoRegistry) {
  link.setShellFolder(sfPrograms);
  link.setFileName("X");
  // A read of this value would raise.
  windows.putRegistryValue(kShellFolders, "Programs", "1", SimulatedWindows::ValueType::DWord);
  EXPECT_NO_THROW(link.setFileName(kPrograms + "\\X.lnk"));
  EXPECT_EQ(link.FileName(), kPrograms + "\\X.lnk");
}

TEST_F(ShellLinkName, ANewFolderTakesTheNamePartOnly) {
  link.setShellFolder(sfPrograms);
  link.setFileName("X");
  link.setShellFolder(sfDesktop);
  EXPECT_EQ(link.FileName(), kDesktop + "\\X.lnk");

  link.setShellFolder(sfNone);
  EXPECT_EQ(link.FileName(), kDesktop + "\\X.lnk") << "sfNone keeps the file name";

  windows.putRegistryValue(kShellFolders, "Desktop", "E:\\Elsewhere");
  link.setShellFolder(sfDesktop);
  EXPECT_EQ(link.FileName(), "E:\\Elsewhere\\X.lnk");
  windows.putRegistryValue(kShellFolders, "Desktop", "F:\\Moved");
  link.setShellFolder(sfDesktop);
  EXPECT_EQ(link.FileName(), "E:\\Elsewhere\\X.lnk") << "the same folder is not looked up again";
}

TEST_F(ShellLinkName, ALongNamePartIsCutBeforeItJoinsTheFolder) {
  link.setShellFolder(sfPrograms);
  link.setFileName(std::string(300, 'n'));
  EXPECT_EQ(link.FileName(), kPrograms + "\\" + std::string(255, 'n') + ".lnk");
}

TEST_F(ShellLinkName, AnUnreadableFolderValueRaisesAndKeepsTheName) {
  link.setShellFolder(sfPrograms);
  link.setFileName("X");
  windows.putRegistryValue(kShellFolders, "Programs", "1", SimulatedWindows::ValueType::DWord);
  windows.putRegistryValue(kShellFolders, "Desktop", "\x01", SimulatedWindows::ValueType::Binary);

  try {
    link.setFileName("Y");
    ADD_FAILURE() << "no exception";
  } catch (const ERegistryException& e) {
    EXPECT_EQ(e.message(), "Invalid data type for 'Programs'");
  }
  EXPECT_EQ(link.FileName(), kPrograms + "\\X.lnk");

  EXPECT_THROW(link.setShellFolder(sfDesktop), ERegistryException);
  EXPECT_EQ(link.ShellFolder(), sfDesktop) << "stored before the lookup";
  EXPECT_EQ(link.FileName(), kPrograms + "\\X.lnk");
}

TEST_F(ShellLinkName, TheInstallWindowSettingsLeaveTheProgramsFolder) {
  windows.putRegistryValue(kShellFolders, "Programs", "E:\\Menu\\Programs");
  applyInstallWindowSettings(link);
  EXPECT_EQ(link.FileName(), "E:\\Menu\\Programs\\");
  EXPECT_EQ(link.ShellFolder(), sfPrograms);

  // As the installation run uses it: the same folder, then a bare name.
  link.setShellFolder(sfPrograms);
  EXPECT_EQ(link.FileName(), "E:\\Menu\\Programs\\");
  link.setFileName("Uninstall");
  EXPECT_EQ(link.FileName(), "E:\\Menu\\Programs\\Uninstall.lnk");
}

}  // namespace
}  // namespace tsaver
