// Start-up in uninstall mode: the removal goes to a temporary copy where one can be
// made and started, and stays in this process where not, leaving nothing behind.
#include <gtest/gtest.h>

#include <functional>

#include "app/Startup.h"
#include "platform/SimulatedWindows.h"
#include "toolkit/HeadlessBackend.h"

namespace tsaver {
namespace {

const std::string kInstallDir = "C:\\Program Files\\Tessaryn\\Screen Saver";
const std::string kTemp = "C:\\Users\\Ann\\Temp";

struct HandOffCase {
  const char* name;
  std::function<void(SimulatedWindows&)> arrange;
  bool handedOff;  // a copy runs the removal and no window opens here
  std::vector<std::string> journal;
  std::string startDir = kInstallDir;  // the current directory the removal works in
};

const std::string kSystem32 = "C:\\WINDOWS\\System32";

// Started from the list of installed programs: Windows chooses the current directory.
void startedInSystem32(SimulatedWindows& win) {
  win.putDirectory(kSystem32);
  win.setCurrentDirectory(kSystem32);
}

// The copy starts in its own folder; the start directory reaches it in its environment.
std::vector<std::string> handedOffIn(const std::string& dir) {
  return {"StartSelfRemovingProgram(" + kTemp + "\\<folder>\\UNINSTALL.EXE," + kTemp +
          "\\<folder>,TSAVER_FIRST_PROCESS=1.5,TSAVER_START_DIR=" + dir + ")"};
}

class UninstallHandOffTest : public ::testing::TestWithParam<HandOffCase> {};

TEST_P(UninstallHandOffTest, CopyRunsTheRemovalOrThisProcessDoesWithNothingLeftInTemp) {
  SimulatedWindows win;
  win.putFile(kInstallDir + "\\Uninstall.exe", "the program");
  win.putFile(kInstallDir + "\\UNINSTALL.INI");
  win.setModuleFileName(kInstallDir + "\\Uninstall.exe");
  win.setCurrentDirectory(kInstallDir);
  win.setTemporaryDirectory(kTemp);
  GetParam().arrange(win);
  tk::HeadlessBackend ui(win);
  ui.answerConfirm(false);
  tk::Application app(ui);

  EXPECT_EQ(runProgram(win, app), 0);

  std::vector<std::string> inTemp;
  const std::string tempPrefix = kTemp + "\\";
  for (const std::string& path : win.allPaths())
    if (path.size() > tempPrefix.size() && path.rfind(tempPrefix, 0) == 0)
      inTemp.push_back(path.substr(tempPrefix.size()));
  std::vector<std::string> journal = win.journal();
  if (GetParam().handedOff) {
    ASSERT_EQ(inTemp.size(), 2u);
    const std::string folder = inTemp[0];
    EXPECT_TRUE(folder.size() == 20 && folder.rfind("tsv", 0) == 0 && folder.back() == '\\') << folder;
    EXPECT_EQ(inTemp[1], folder + "UNINSTALL.EXE");
    EXPECT_EQ(win.fileContent(kTemp + "\\" + inTemp[1]), "the program");
    // The folder's random name, written the same in every case's expectation.
    const std::string name = folder.substr(0, folder.size() - 1);
    for (std::string& call : journal)
      for (auto at = call.find(name); at != std::string::npos; at = call.find(name, at))
        call.replace(at, name.size(), "<folder>");
    EXPECT_EQ(app.mainForm(), nullptr);
  } else {
    EXPECT_EQ(inTemp, std::vector<std::string>{});
    ASSERT_NE(app.mainForm(), nullptr);
    EXPECT_EQ(app.mainForm()->name(), "frmUninstall");
    ASSERT_EQ(ui.dialogs().size(), 1u);
    EXPECT_EQ(ui.dialogs()[0].type, tk::DialogRecord::Confirm) << "the log was found";
  }
  EXPECT_EQ(journal, GetParam().journal);
  EXPECT_EQ(win.currentDirectory(), GetParam().startDir);
  EXPECT_TRUE(win.fileExists(kInstallDir + "\\Uninstall.exe"));
}

INSTANTIATE_TEST_SUITE_P(
    Start, UninstallHandOffTest,
    ::testing::Values(
        HandOffCase{"fromTheInstallDirectory", [](SimulatedWindows&) {}, true, handedOffIn(kInstallDir)},
        HandOffCase{"fromSystem32", startedInSystem32, true, handedOffIn(kInstallDir)},
        HandOffCase{"fromSystem32CopyCannotStart",
                    [](SimulatedWindows& win) {
                      startedInSystem32(win);
                      win.failProgramStarts();
                    },
                    false,
                    {"TakeRunLock"}},
        HandOffCase{"fromAFolderWithALogOfItsOwn",
                    [](SimulatedWindows& win) {
                      win.putFile("C:\\Other\\UNINSTALL.INI");
                      win.setCurrentDirectory("C:\\Other");
                    },
                    true,
                    handedOffIn("C:\\Other"),
                    "C:\\Other"},
        HandOffCase{"withoutALogBesideTheProgram",
                    [](SimulatedWindows& win) {
                      startedInSystem32(win);
                      win.deleteFile(kInstallDir + "\\UNINSTALL.INI");
                    },
                    true,
                    handedOffIn(kSystem32),
                    kSystem32},
        HandOffCase{"theCopyItself",
                    [](SimulatedWindows& win) {
                      win.setCurrentDirectory(kTemp);
                      win.setEnvironmentVariable("TSAVER_FIRST_PROCESS", "7.1234");
                      win.setEnvironmentVariable("TSAVER_START_DIR", kInstallDir);
                    },
                    false,
                    {"AnnounceStarted(7.1234)", "TakeRunLock"}},
        HandOffCase{"copyCannotStart", [](SimulatedWindows& win) { win.failProgramStarts(); }, false, {"TakeRunLock"}},
        HandOffCase{"noProtectedFolder", [](SimulatedWindows& win) { win.failProtectedFolders(); }, false, {"TakeRunLock"}},
        HandOffCase{"programFileUnreadable",
                    [](SimulatedWindows& win) { win.lockFile(kInstallDir + "\\Uninstall.exe"); },
                    false,
                    {"TakeRunLock"}},
        HandOffCase{"temporaryFolderMissing",
                    [](SimulatedWindows& win) { win.setTemporaryDirectory(""); },
                    false,
                    {"TakeRunLock"}}),
    [](const auto& info) { return std::string(info.param.name); });

}  // namespace
}  // namespace tsaver
