// The plan on the simulated Windows: where the folder button puts the product,
// and what the removal afterwards takes away and leaves.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "vendor/InstallPlan.h"
#include "vendor/Reports.h"

namespace tsaver::vendor {
namespace {

using ::testing::Contains;
using ::testing::Not;

PackageFolder package() {
  PackageFolder p;
  p.files = {{"Data.dat", "Tessaryn\r\nTessaryn\r\n"},
             {"After.txt", "1\r\nTrue\r\nTrue\r\nTrue\r\n"},
             {"Install.exe", "program"},
             {"Tessaryn.scr", "saver"},
             {"TaskTray.exe", "tray"},
             {"RunSaver.exe", "run"}};
  return p;
}

TEST(InstallPlan, TheAskedInstallDirectoryIsReachedThroughTheFolderButton) {
  const struct {
    const char* asked;
    const char* installDir;
  } rows[] = {
      {"", "C:\\Program Files\\Tessaryn\\Screen Saver"},
      {"D:\\Games", "D:\\Games\\Tessaryn\\Screen Saver"},
      {"D:\\", "D:\\Tessaryn\\Screen Saver"},
      {"D:\\Tessaryn\\Screen Saver", "D:\\Tessaryn\\Screen Saver"},
      {"E:\\Apps\\tessaryn\\screen saver", "E:\\Apps\\Tessaryn\\Screen Saver"},
  };
  for (const auto& row : rows) {
    MachineFacts facts;
    facts.installDir = row.asked;
    const InstallPlan plan = planInstallation(package(), facts);
    EXPECT_TRUE(plan.completed) << row.asked;
    EXPECT_EQ(plan.installDir, row.installDir) << row.asked;
    EXPECT_THAT(plan.log, Contains(LogEntry{"DIRECTORIES", "DIRECTORY1", row.installDir})) << row.asked;
  }
}

TEST(InstallPlan, TheRemovalTakesWhatTheLogListsAndLeavesWhatItDoesNot) {
  MachineFacts facts;
  facts.windowsDir = "C:\\WIN";
  const InstallPlan plan = planInstallation(package(), facts);
  ASSERT_TRUE(plan.removalRan);
  EXPECT_EQ(plan.facts.desktopDir, "C:\\WIN\\Desktop");
  const std::string desktopLink = "C:\\WIN\\Desktop\\Tessaryn screen saver.lnk";
  EXPECT_THAT(plan.removes, Contains(desktopLink));
  EXPECT_THAT(plan.removes, Contains("C:\\WIN\\Tessaryn.scr"));
  EXPECT_THAT(plan.removes,
              Contains("HKCU\\Software\\Microsoft\\Windows\\CurrentVersion\\Run\\\\Tessaryn screen saver"));
  const std::string entry = "HKLM\\Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tessaryn screen saver\\";
  EXPECT_THAT(plan.removes, Contains(entry));
  EXPECT_THAT(plan.removes, Contains(entry + "\\UninstallString"));
  EXPECT_THAT(plan.leaves, Contains("C:\\WIN\\Tessaryn.ini"));  // the path file is never logged
  EXPECT_THAT(plan.leaves, Contains("HKCU\\Control Panel\\desktop\\\\ScreenSaveActive"));
  EXPECT_THAT(plan.leaves, Not(Contains(desktopLink)));
}

TEST(InstallPlan, APackageOnACdIsRemovedCompletelyAndStaysWhole) {
  PackageFolder p = package();
  for (PackageFile& file : p.files) file.readOnly = true;
  const InstallPlan onCd = planInstallation(p, MachineFacts{});
  const InstallPlan writable = planInstallation(package(), MachineFacts{});
  ASSERT_TRUE(onCd.removalRan);
  EXPECT_EQ(onCd.removes, writable.removes);
  EXPECT_EQ(onCd.leaves, writable.leaves);
  EXPECT_TRUE(onCd.removalMessages.empty());
  EXPECT_THAT(onCd.packageFilesDeleted, ::testing::IsEmpty());
  EXPECT_THAT(writable.packageFilesDeleted, Contains("TaskTray.exe"));
}

// Logged from FILE17: 983 extras end at FILE999, 990 go past it.
TEST(InstallPlan, ExtrasAtTheLogsProbeRangeAndBeyondAreRemovedCompletely) {
  for (const int count : {983, 990}) {
    PackageFolder p = package();
    std::string list;
    for (int n = 1; n <= count; ++n) {
      const std::string name = "Extra" + std::to_string(n) + ".bmp";
      list += name + "\r\n";
      p.files.push_back({name, "e"});
    }
    p.files.push_back({"Extras.txt", list});
    const InstallPlan plan = planInstallation(p, MachineFacts{});
    ASSERT_TRUE(plan.removalRan) << count;
    const std::string last = "Extra" + std::to_string(count) + ".bmp";
    EXPECT_THAT(plan.log, Contains(LogEntry{"FILES", "FILE" + std::to_string(16 + count), last})) << count;
    EXPECT_THAT(plan.removes, Contains(plan.installDir + "\\" + last)) << count;
    EXPECT_THAT(plan.removes, Contains(plan.installDir + "\\")) << count;
    for (const std::string& left : plan.leaves) EXPECT_EQ(left.find("Extra"), std::string::npos) << left;
  }
}

TEST(InstallPlan, JsonListsTheLogInFileOrderAsSectionKeyValue) {
  PackageFolder p = package();
  p.files[1].content = "1\r\nFalse\r\nFalse\r\nFalse\r\n";
  EXPECT_THAT(
      planJson(planInstallation(p, MachineFacts{})),
      ::testing::HasSubstr(
          "\"log\": [[\"FILES\", \"FILE1\", \"C:\\\\WINDOWS\\\\Tessaryn.scr\"], "
          "[\"FILES\", \"FILE5\", \"TaskTray.exe\"], [\"FILES\", \"FILE6\", \"Data.dat\"], [\"FILES\", \"FILE11\", "
          "\"RunSaver.exe\"], [\"UNINSTALLENTRY\", \"KEY\", \"Tessaryn screen saver\"], "
          "[\"DIRECTORIES\", \"DIRECTORY1\", \"C:\\\\Program "
          "Files\\\\Tessaryn\\\\Screen Saver\"], [\"INIFILE\", \"CFGFILE\", "
          "\"TSaver.ini\"], [\"INIFILE\", \"SECTION\", \"Tessaryn\"]]"));
}

}  // namespace
}  // namespace tsaver::vendor
