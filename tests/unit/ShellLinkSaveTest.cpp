// What TKesShellLink hands to the shell when it saves, and how it reports failure.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/Errors.h"
#include "platform/SimulatedWindows.h"
#include "shelllink/ShellLnk.h"

namespace tsaver {
namespace {

const std::string kLinkPath = "C:\\WINDOWS\\Desktop\\X.lnk";

class ShellLinkSave : public ::testing::Test {
 protected:
  ShellLinkData saved(const std::string& path = kLinkPath) {
    link.SaveToFile(path);
    const auto data = windows.shellLink(path);
    if (!data) ADD_FAILURE() << "no link at " << path;
    return data.value_or(ShellLinkData{});
  }

  SimulatedWindows windows;
  TKesShellLink link{windows};
};

TEST_F(ShellLinkSave, HotKeyBecomesTheShellsWordAndBack) {
  struct Case {
    TShortCut shortCut;
    std::uint16_t word;
    TShortCut readBack;
  };
  const std::vector<Case> cases = {
      {0x0000, 0x0000, 0x0000},  // no hot key
      {0xC074, 0x0674, 0xC074},  // Ctrl+Alt+F5
      {0x2041, 0x0141, 0x2041},  // Shift+A
      {0x4041, 0x0241, 0x4041},  // Ctrl+A
      {0x8070, 0x0470, 0x8070},  // Alt+F1
      {0xE041, 0x0741, 0xE041},  // every modifier
      {0x0841, 0x0841, 0x0041},  // unknown high-byte bits are dropped when read
      {0x01FF, 0x01FF, 0x20FF},  // a key part above 0xFF lands in the Shift flag
      {0x21FF, 0x02FF, 0x40FF},  // ... and Shift is added to it, carrying into Ctrl
  };
  for (const auto& c : cases) {
    link.setHotKey(c.shortCut);
    EXPECT_EQ(saved().hotKey, c.word) << std::hex << c.shortCut;
    EXPECT_EQ(link.HotKey(), c.readBack) << std::hex << c.shortCut;
  }
}

TEST_F(ShellLinkSave, WindowStateBecomesAShowCommandAndBack) {
  const std::vector<std::pair<TWindowState, int>> cases = {{wsNormal, 1}, {wsMinimized, 7}, {wsMaximized, 3}};
  for (const auto& [state, showCommand] : cases) {
    link.setWindowState(state);
    EXPECT_EQ(saved().showCommand, showCommand) << state;
    EXPECT_EQ(link.WindowState(), state);
  }
}

TEST_F(ShellLinkSave, ANewComponentSavesShowCommandZeroAndReadsNormal) {
  EXPECT_EQ(link.WindowState(), wsNormal);
  EXPECT_EQ(saved().showCommand, 0);
}

TEST_F(ShellLinkSave, EveryPropertyReachesTheLink) {
  link.setDescription("Saver screen saver");
  link.setTarget("C:\\Saver\\RunSaver.exe");
  link.setWorkingDir("C:\\Saver");
  link.setArguments("/s");
  TFileIcon icon;
  icon.setFileName("C:\\Saver\\Saver.ico");
  icon.setIconIndex(2);
  link.setFileIcon(icon);
  const ShellLinkData data = saved();
  EXPECT_EQ(data.description, "Saver screen saver");
  EXPECT_EQ(data.target, "C:\\Saver\\RunSaver.exe");
  EXPECT_EQ(data.workingDir, "C:\\Saver");
  EXPECT_EQ(data.arguments, "/s");
  EXPECT_EQ(data.iconFile, "C:\\Saver\\Saver.ico");
  EXPECT_EQ(data.iconIndex, 2);
}

TEST_F(ShellLinkSave, APathLongerThanTheShellTakesIsAWriteErrorAndWritesNothing) {
  const std::string folder = "C:\\WINDOWS\\Desktop\\";
  const std::string fits = folder + std::string(255 - folder.size() - 4, 'p') + ".lnk";
  const std::string tooLong = folder + std::string(256 - folder.size() - 4, 'p') + ".lnk";
  saved(fits);

  const auto before = windows.allPaths();
  try {
    link.SaveToFile(tooLong);
    ADD_FAILURE() << "no exception";
  } catch (const EKesShellLink& e) {
    EXPECT_EQ(e.message(), "Write error.");
  }
  EXPECT_EQ(windows.allPaths(), before);
  EXPECT_FALSE(windows.shellLink(tooLong.substr(0, 255))) << "a cut path names another file";
}

TEST_F(ShellLinkSave, EachShellFailureHasItsMessage) {
  const std::vector<std::pair<ShellLinkResult, std::string>> cases = {
      {ShellLinkResult::CreateFailed, "\"CoCreateInstance\" failed."},
      {ShellLinkResult::QueryInterfaceFailed, "\"PersistFile QueryInterface\" failed."},
      {ShellLinkResult::SaveFailed, "Write error."},
  };
  for (const auto& [result, message] : cases) {
    SimulatedWindows failing;
    failing.failShellLinks(result);
    TKesShellLink failingLink(failing);
    try {
      failingLink.SaveToFile(kLinkPath);
      ADD_FAILURE() << "no exception for " << message;
    } catch (const EKesShellLink& e) {
      EXPECT_EQ(e.message(), message);
    }
    EXPECT_FALSE(failing.shellLink(kLinkPath));
  }
}

TEST_F(ShellLinkSave, SaveWritesToFileNameAndASecondSaveReplacesTheFirst) {
  link.setShellFolder(sfDesktop);
  link.setFileName("X");
  link.setDescription("first");
  link.Save();
  link.setDescription("second");
  link.Save();
  EXPECT_EQ(windows.shellLink(kLinkPath).value_or(ShellLinkData{}).description, "second");
  EXPECT_EQ(link.FileName(), kLinkPath);
}

TEST_F(ShellLinkSave, AMissingFolderIsAWriteErrorAndIsNotCreated) {
  windows.putRegistryValue("Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\Shell Folders", "Desktop",
                           "C:\\Gone\\Desktop");
  link.setShellFolder(sfDesktop);
  link.setFileName("X");
  EXPECT_THROW(link.Save(), EKesShellLink);
  EXPECT_FALSE(windows.directoryExists("C:\\Gone"));
}

}  // namespace
}  // namespace tsaver
