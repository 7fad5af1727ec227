// The modal boxes: message boxes, the confirmation and the directory chooser,
// answered from a second thread as a user would answer them.
#include <gtest/gtest.h>

#include <stdexcept>

#include "ToolkitTestSupport.h"
#include "toolkit/win32/DirectoryDialog.h"

namespace toolkit_test {
namespace {

using tsaver::tk::MessageIcon;

// The icon a box shows: the handle in its icon control, which the system loads as a shared icon.
HICON dialogIcon(HWND dialog) {
  HWND icon = nullptr;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (className(child) == "Static" && (GetWindowLongA(child, GWL_STYLE) & SS_TYPEMASK) == SS_ICON) icon = child;
  return icon ? reinterpret_cast<HICON>(SendMessageA(icon, STM_GETICON, 0, 0)) : nullptr;
}

// The texts of the dialog's static controls, one a line.
std::string staticTexts(HWND dialog) {
  std::string texts;
  for (HWND child = GetWindow(dialog, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
    if (className(child) == "Static" && !windowText(child).empty()) texts += windowText(child) + "\n";
  return texts;
}

class ToolkitDialogs : public ::testing::Test {
 protected:
  Ui ui;
};

TEST_F(ToolkitDialogs, MessageBoxesCarryCaptionTextAndIcon) {
  struct Case {
    MessageIcon icon;
    LPCSTR systemIcon;  // null: no icon
  } const cases[] = {
      {MessageIcon::Error, IDI_HAND},
      {MessageIcon::Information, IDI_ASTERISK},
      {MessageIcon::None, nullptr},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE("icon " + std::to_string(static_cast<int>(c.icon)));
    DialogScript script([&](DialogScript& s) {
      HWND box = s.expectDialog("Tessaryn Saver Install");
      if (!box) return;
      if (staticTexts(box).find("Unable to write to C:\\windows\\TSaver.ini.") == std::string::npos)
        s.fail("text: " + staticTexts(box));
      if (c.systemIcon && dialogIcon(box) != LoadIcon(nullptr, c.systemIcon)) s.fail("not the expected icon");
      if (!c.systemIcon && dialogIcon(box)) s.fail("an icon where none was asked for");
      HWND ok = dialogChild(box, "OK");
      if (!ok) return s.fail("no OK button");
      pressDialogButton(box, ok);
    });
    ui.backend.messageBox("Unable to write to C:\\windows\\TSaver.ini.", "Tessaryn Saver Install", c.icon);
    EXPECT_EQ(script.finish(), "");
  }
}

TEST_F(ToolkitDialogs, AnErrorLeavingAHandlerShowsTheStopBox) {
  ui.app.setTitle("Tessaryn Saver Un-Install");
  bool rest = false;
  DialogScript script([](DialogScript& s) {
    HWND box = s.expectDialog("Tessaryn Saver Un-Install");
    if (!box) return;
    if (staticTexts(box).find("File access denied.") == std::string::npos) s.fail("text: " + staticTexts(box));
    if (dialogIcon(box) != LoadIcon(nullptr, IDI_HAND)) s.fail("not the stop icon");
    PostMessageA(box, WM_COMMAND, IDOK, 0);
  });
  ui.app.guard([&] {
    throw std::runtime_error("File access denied");
    rest = true;
  });
  EXPECT_EQ(script.finish(), "");
  EXPECT_FALSE(rest);
}

TEST_F(ToolkitDialogs, ConfirmationAnswers) {
  enum Answer { PressYes, PressNo, Enter, Escape, CloseBox };
  struct Case {
    const char* name;
    Answer answer;
    bool expected;
  } const cases[] = {
      {"Yes button", PressYes, true},
      {"No button", PressNo, false},
      {"Enter presses the default Yes", Enter, true},
      {"Escape answers No", Escape, false},
      {"closing answers No", CloseBox, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    DialogScript script([&](DialogScript& s) {
      HWND box = s.expectDialog("Confirm");
      if (!box) return;
      if (staticTexts(box).find("Are you sure?") == std::string::npos) s.fail("text: " + staticTexts(box));
      if (dialogIcon(box) != LoadIcon(nullptr, IDI_QUESTION)) s.fail("not the question mark");
      HWND yes = dialogChild(box, "&Yes"), no = dialogChild(box, "&No");
      if (!yes || !no) return s.fail("no \"&Yes\" and \"&No\" buttons");
      if (GetDlgCtrlID(yes) != IDYES || GetDlgCtrlID(no) != IDNO) s.fail("button ids");
      if (!(GetWindowLongA(yes, GWL_STYLE) & BS_DEFPUSHBUTTON)) s.fail("Yes is not the default button");
      switch (c.answer) {
        case PressYes: return pressDialogButton(box, yes);
        case PressNo: return pressDialogButton(box, no);
        // The keys go through the dialog's own IsDialogMessage handling.
        case Enter: PostMessageA(box, WM_KEYDOWN, VK_RETURN, 0); return;
        case Escape: PostMessageA(box, WM_KEYDOWN, VK_ESCAPE, 0); return;
        case CloseBox: PostMessageA(box, WM_SYSCOMMAND, SC_CLOSE, 0); return;
      }
    });
    EXPECT_EQ(ui.backend.confirm("Are you sure?"), c.expected);
    EXPECT_EQ(script.finish(), "");
  }
}

class DirectoryChooser : public ToolkitDialogs {
 protected:
  void SetUp() override {
    char temp[MAX_PATH];
    GetTempPathA(MAX_PATH, temp);
    root = std::string(temp) + "tk_chooser_" + std::to_string(GetCurrentProcessId());
    CreateDirectoryA(root.c_str(), nullptr);
    GetCurrentDirectoryA(MAX_PATH, temp);
    saved = temp;
    SetCurrentDirectoryA(root.c_str());
  }
  void TearDown() override {
    SetCurrentDirectoryA(saved.c_str());
    DeleteFileA((root + "\\sub\\Saver.exe").c_str());
    for (const std::string& d : {root + "\\new\\deeper", root + "\\new", root + "\\sub", root})
      RemoveDirectoryA(d.c_str());
  }
  static HWND nameField(HWND chooser) { return dialogChild(chooser, "", "Edit"); }
  std::string root, saved;
};

bool isDirectory(const std::string& path) {
  const DWORD a = GetFileAttributesA(path.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

TEST_F(DirectoryChooser, OpensOnTheCurrentDirectoryWithItsControls) {
  DialogScript script([&](DialogScript& s) {
    HWND chooser = s.expectDialog("Select Directory");
    if (!chooser) return;
    HWND name = nameField(chooser);
    if (!name) return s.fail("no name field");
    if (_stricmp(windowText(name).c_str(), root.c_str()) != 0) s.fail("name field shows " + windowText(name));
    for (const char* caption : {"Directory &Name:", "D&rives:", "&Directories:", "&Files: (*.*)", "OK", "Cancel", "&Help"})
      if (!dialogChild(chooser, caption)) s.fail(std::string("no control \"") + caption + "\"");
    if (!dialogChild(chooser, "", "ComboBox")) s.fail("no drive list");
    int lists = 0;
    for (HWND child = GetWindow(chooser, GW_CHILD); child; child = GetWindow(child, GW_HWNDNEXT))
      lists += className(child) == "ListBox";
    if (lists != 2) s.fail("expected the directory and file lists, found " + std::to_string(lists) + " list boxes");
    pressDialogButton(chooser, dialogChild(chooser, "Cancel"));
  });
  EXPECT_EQ(ui.backend.selectDirectory(), std::nullopt);
  EXPECT_EQ(script.finish(), "");
}

TEST_F(DirectoryChooser, ReturnsTheTypedPath) {
  struct Case {
    std::string typed;
    std::string expected;
  } const cases[] = {
      {"C:\\", "C:\\"},
      {root, root},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.typed);
    DialogScript script([&](DialogScript& s) {
      HWND chooser = s.expectDialog("Select Directory");
      if (!chooser || !nameField(chooser)) return s.fail("no chooser with a name field");
      SendMessageA(nameField(chooser), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(c.typed.c_str()));
      pressDialogButton(chooser, dialogChild(chooser, "OK"));
    });
    const auto chosen = ui.backend.selectDirectory();
    EXPECT_EQ(script.finish(), "");
    ASSERT_TRUE(chosen.has_value());
    EXPECT_STRCASEEQ(chosen->c_str(), c.expected.c_str());
  }
}

TEST_F(DirectoryChooser, AMissingDirectoryIsCreatedWithItsParentsOnYesAndNoKeepsTheChooser) {
  const std::string wanted = root + "\\new\\deeper";
  DialogScript script([&](DialogScript& s) {
    HWND chooser = s.expectDialog("Select Directory");
    if (!chooser || !nameField(chooser)) return s.fail("no chooser with a name field");
    SendMessageA(nameField(chooser), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(wanted.c_str()));
    pressDialogButton(chooser, dialogChild(chooser, "OK"));
    HWND ask = s.expectDialog("Confirm");
    if (!ask) return;
    if (staticTexts(ask).find("The specified directory does not exist. Create it?") == std::string::npos)
      s.fail("question: " + staticTexts(ask));
    pressDialogButton(ask, dialogChild(ask, "&No"));
    Sleep(300);
    if (!IsWindowVisible(chooser)) return s.fail("No closed the chooser");
    if (isDirectory(wanted)) s.fail("No created the directory");
    pressDialogButton(chooser, dialogChild(chooser, "OK"));
    ask = s.expectDialog("Confirm");
    if (!ask) return;
    pressDialogButton(ask, dialogChild(ask, "&Yes"));
  });
  const auto chosen = ui.backend.selectDirectory();
  EXPECT_EQ(script.finish(), "");
  EXPECT_TRUE(isDirectory(wanted));
  ASSERT_TRUE(chosen.has_value());
  EXPECT_STRCASEEQ(chosen->c_str(), wanted.c_str());
}

TEST(ToolkitChooserPath, RootsKeepTheirBackslashDeeperPathsLoseIt) {
  struct Case {
    const char* typed;
    const char* base;
    const char* expected;
  } const cases[] = {
      {"C:", "D:\\x", "C:\\"},
      {"C:\\", "D:\\x", "C:\\"},
      {"C:\\Games\\", "D:\\x", "C:\\Games"},
      {"C:\\Games\\\\", "D:\\x", "C:\\Games"},
      {"C:\\Program Files\\Tessaryn", "D:\\x", "C:\\Program Files\\Tessaryn"},
      {"Saver", "D:\\x", "D:\\x\\Saver"},
      {"Saver", "D:\\", "D:\\Saver"},
      {"\\\\server\\share\\", "D:\\x", "\\\\server\\share"},
  };
  for (const Case& c : cases)
    EXPECT_EQ(tsaver::tk::chooserPath(c.typed, c.base), c.expected) << "typed " << c.typed << " in " << c.base;
}

TEST_F(ToolkitDialogs, BoxesBelongToTheActiveFormElseToTheApplicationWindow) {
  Form* form = nullptr;
  ui.app.createForm(form, "frmOwner");
  form->setClientSize(200, 100);
  const auto ownerOfNextBox = [&] {
    HWND owner = nullptr;
    DialogScript script([&](DialogScript& s) {
      HWND box = s.expectDialog("Owned");
      if (!box) return;
      owner = GetWindow(box, GW_OWNER);
      PostMessageA(box, WM_COMMAND, IDOK, 0);
    });
    ui.backend.messageBox("Whose?", "Owned", MessageIcon::None);
    EXPECT_EQ(script.finish(), "");
    return owner;
  };
  EXPECT_EQ(ownerOfNextBox(), ui.backend.applicationWindow());
  form->show();
  pump(ui.backend, 50);
  EXPECT_EQ(ownerOfNextBox(), ui.backend.windowOf(*form));
}

TEST_F(DirectoryChooser, DoubleClickOpensADirectoryOfTheList) {
  CreateDirectoryA((root + "\\sub").c_str(), nullptr);
  CloseHandle(CreateFileA((root + "\\sub\\Saver.exe").c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, 0, nullptr));
  DialogScript script([&](DialogScript& s) {
    HWND chooser = s.expectDialog("Select Directory");
    if (!chooser || !nameField(chooser)) return s.fail("no chooser with a name field");
    // The directory list comes first, the file list second.
    HWND directories = dialogChild(chooser, "", "ListBox");
    HWND files = GetWindow(directories, GW_HWNDNEXT);
    while (files && className(files) != "ListBox") files = GetWindow(files, GW_HWNDNEXT);
    if (!files) return s.fail("no file list");
    // The current directory's only subdirectory is the list's last line.
    const LRESULT last = SendMessageA(directories, LB_GETCOUNT, 0, 0) - 1;
    SendMessageA(directories, LB_SETCURSEL, last, 0);
    SendMessageA(chooser, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(directories), LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(directories));
    if (_stricmp(windowText(nameField(chooser)).c_str(), (root + "\\sub").c_str()) != 0)
      s.fail("after opening sub the name field shows " + windowText(nameField(chooser)));
    char file[64] = {};
    SendMessageA(files, LB_GETTEXT, 0, reinterpret_cast<LPARAM>(file));
    if (SendMessageA(files, LB_GETCOUNT, 0, 0) != 1 || std::string(file) != "Saver.exe")
      s.fail(std::string("the file list shows ") + file);
    // The first line is the drive's root.
    SendMessageA(directories, LB_SETCURSEL, 0, 0);
    SendMessageA(chooser, WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(directories), LBN_DBLCLK),
                 reinterpret_cast<LPARAM>(directories));
    if (windowText(nameField(chooser)) != root.substr(0, 3))
      s.fail("after opening the root the name field shows " + windowText(nameField(chooser)));
    pressDialogButton(chooser, dialogChild(chooser, "Cancel"));
  });
  EXPECT_EQ(ui.backend.selectDirectory(), std::nullopt);
  EXPECT_EQ(script.finish(), "");
}

}  // namespace
}  // namespace toolkit_test
