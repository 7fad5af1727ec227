// Links written through the real shell-link object, read back through it and
// from the file's bytes.
#include <windows.h>
#include <objbase.h>
#include <shlguid.h>
#include <shobjidl.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <string>
#include <thread>
#include <vector>

#include "platform/win32/Com.h"
#include "platform/win32/ShellLinkWriter.h"

namespace tsaver {
namespace {

struct ReadBack {
  bool loaded = false;
  std::string target, workingDir, description, arguments, iconFile;
  int iconIndex = -1;
};

ReadBack loadLink(const std::string& path) {
  ReadBack link;
  ScopedCoInitialize com;
  ComPtr<IShellLinkA> shellLink;
  ComPtr<IPersistFile> file;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_IShellLinkA, shellLink.receive())) ||
      FAILED(shellLink->QueryInterface(IID_IPersistFile, file.receive())))
    return link;
  WCHAR widePath[MAX_PATH];
  MultiByteToWideChar(CP_ACP, 0, path.c_str(), -1, widePath, MAX_PATH);
  if (FAILED(file->Load(widePath, STGM_READ))) return link;
  link.loaded = true;
  char text[INFOTIPSIZE];
  shellLink->GetPath(text, MAX_PATH, nullptr, SLGP_RAWPATH);
  link.target = text;
  shellLink->GetWorkingDirectory(text, MAX_PATH);
  link.workingDir = text;
  shellLink->GetDescription(text, INFOTIPSIZE);
  link.description = text;
  shellLink->GetArguments(text, INFOTIPSIZE);
  link.arguments = text;
  shellLink->GetIconLocation(text, MAX_PATH, &link.iconIndex);
  link.iconFile = text;
  return link;
}

std::string fileBytes(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

unsigned littleEndian(const std::string& bytes, std::size_t offset, int size) {
  unsigned value = 0;
  for (int i = size - 1; i >= 0; --i) value = (value << 8) | static_cast<unsigned char>(bytes.at(offset + i));
  return value;
}

bool pathExists(const std::string& path) { return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES; }

class ShellLinkWriter : public ::testing::Test {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    dir = std::string(temp) + "sl-writer-" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(dir.c_str(), nullptr);
    target = dir + "\\RunSaver.exe";
    std::ofstream(target) << "target";
    data.description = "Saver screen saver";
    data.target = target;
    data.workingDir = dir;
    data.arguments = "/s";
    data.showCommand = 1;
    data.iconFile = dir + "\\Saver.ico";
    data.iconIndex = 2;
  }

  void TearDown() override {
    for (const auto& name : filesInDir()) DeleteFileA((dir + "\\" + name).c_str());
    RemoveDirectoryA(dir.c_str());
  }

  std::vector<std::string> filesInDir() const {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE find = FindFirstFileA((dir + "\\*").c_str(), &found);
    if (find == INVALID_HANDLE_VALUE) return names;
    do {
      if (!(found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) names.push_back(found.cFileName);
    } while (FindNextFileA(find, &found));
    FindClose(find);
    std::sort(names.begin(), names.end());
    return names;
  }

  std::string dir, target;
  ShellLinkData data;
};

TEST_F(ShellLinkWriter, TextsReadBackThroughTheShell) {
  const std::string path = dir + "\\Saver.lnk";
  ASSERT_EQ(saveShellLinkThroughCom(data, path), ShellLinkResult::Saved);
  const ReadBack link = loadLink(path);
  ASSERT_TRUE(link.loaded);
  EXPECT_EQ(link.target, target);
  EXPECT_EQ(link.workingDir, dir);
  EXPECT_EQ(link.description, "Saver screen saver");
  EXPECT_EQ(link.arguments, "/s");
  EXPECT_EQ(link.iconFile, dir + "\\Saver.ico");
  EXPECT_EQ(link.iconIndex, 2);
}

// Wine's IShellLink::Load reports show command 1 for a saved 7, but the file's
// header carries the right values at the offsets of the shell link format.
TEST_F(ShellLinkWriter, ShowCommandAndHotKeyLandInTheHeader) {
  struct Case {
    int showCommand;
    std::uint16_t hotKey;
  };
  const std::vector<Case> cases = {{1, 0x0000}, {7, 0x0674}, {3, 0x0141}, {0, 0x0241}};
  const std::string path = dir + "\\Header.lnk";
  for (const auto& c : cases) {
    data.showCommand = c.showCommand;
    data.hotKey = c.hotKey;
    ASSERT_EQ(saveShellLinkThroughCom(data, path), ShellLinkResult::Saved);
    const std::string bytes = fileBytes(path);
    ASSERT_GE(bytes.size(), 0x42u);
    EXPECT_EQ(littleEndian(bytes, 0x3C, 4), static_cast<unsigned>(c.showCommand)) << c.showCommand;
    EXPECT_EQ(littleEndian(bytes, 0x40, 2), c.hotKey) << std::hex << c.hotKey;
  }
}

TEST_F(ShellLinkWriter, LongTextsArriveAsTheirFirst255Characters) {
  data.description = std::string(300, 'd');
  data.arguments = std::string(300, 'a');
  const std::string path = dir + "\\Long.lnk";
  ASSERT_EQ(saveShellLinkThroughCom(data, path), ShellLinkResult::Saved);
  const ReadBack link = loadLink(path);
  EXPECT_EQ(link.description, std::string(255, 'd'));
  EXPECT_EQ(link.arguments, std::string(255, 'a'));
}

TEST_F(ShellLinkWriter, APathTooLongForTheShellIsRefusedNotCut) {
  const std::string path = dir + "\\" + std::string(256 - dir.size() - 5, 'p') + ".lnk";
  ASSERT_EQ(path.size(), 256u);
  EXPECT_EQ(saveShellLinkThroughCom(data, path), ShellLinkResult::SaveFailed);
  EXPECT_EQ(filesInDir(), std::vector<std::string>{"RunSaver.exe"});
}

TEST_F(ShellLinkWriter, AMissingFolderFailsAndIsNotCreated) {
  EXPECT_EQ(saveShellLinkThroughCom(data, dir + "\\Missing\\X.lnk"), ShellLinkResult::SaveFailed);
  EXPECT_FALSE(pathExists(dir + "\\Missing"));
}

TEST_F(ShellLinkWriter, ASecondSaveReplacesTheFirst) {
  const std::string path = dir + "\\Twice.lnk";
  data.description = "first";
  ASSERT_EQ(saveShellLinkThroughCom(data, path), ShellLinkResult::Saved);
  data.description = "second";
  data.arguments = "";
  ASSERT_EQ(saveShellLinkThroughCom(data, path), ShellLinkResult::Saved);
  EXPECT_EQ(filesInDir(), (std::vector<std::string>{"RunSaver.exe", "Twice.lnk"}));
  const ReadBack link = loadLink(path);
  EXPECT_EQ(link.description, "second");
  EXPECT_EQ(link.arguments, "");
}

// A thread whose single-threaded apartment were left open could not then enter
// the multi-threaded one.
TEST_F(ShellLinkWriter, LeavesCOMUninitialisedOnEveryPath) {
  const std::vector<std::string> paths = {dir + "\\Com.lnk", dir + "\\Missing\\Com.lnk"};
  for (const auto& path : paths) {
    HRESULT afterwards = E_FAIL;
    std::thread([&] {
      saveShellLinkThroughCom(data, path);
      afterwards = CoInitializeEx(nullptr, COINIT_MULTITHREADED);
      if (SUCCEEDED(afterwards)) CoUninitialize();
    }).join();
    EXPECT_EQ(afterwards, S_OK) << path;
  }
}

}  // namespace
}  // namespace tsaver
