// Forms and controls shown as real windows: frames, client sizes, the controls'
// windows and what reaches them, and the events that come back from them.
#include <gtest/gtest.h>

#include "ToolkitTestSupport.h"
#include "toolkit/Resources.h"

namespace toolkit_test {
namespace {

using namespace tsaver::tk;

// A form with one control of each kind that has a window of its own.
class TestForm : public Form {
 public:
  TestForm(Application& app, BorderStyle border, int width, int height) : Form(app, "frmTest") {
    setCaption("Test form");
    setBorderStyle(border);
    setClientSize(width, height);
    lbl_wrapped = add<Label>("lbl_wrapped");
    lbl_wrapped->setBounds({12, 8, 248, 25});
    lbl_wrapped->setWordWrap(true);
    lbl_wrapped->setCaption("Copying files . . . ");
    lbl_single = add<Label>("lbl_single");
    lbl_single->setBounds({12, 40, 100, 13});
    lbl_single->setTransparent(true);
    lbl_single->setCaption("One line");
    btn_next = add<Button>("btn_next");
    btn_next->setBounds({10, 60, 75, 25});
    btn_next->setCaption("&Next >");
    btn_next->onClick = [this] { ++nextClicks; };
    btn_below = add<Button>("btn_below");
    btn_below->setBounds({94, 86, 75, 25});
    btn_below->setCaption("Cancel");
    Notebook = add<tsaver::tk::Notebook>("Notebook");
    Notebook->setBounds({100, 0, 150, 60});
    Notebook->setColor(clSilver);
    Notebook->addPage("P1");
    Page* p2 = Notebook->addPage("P2");
    btn_onPage = p2->add<Button>("btn_onPage");
    btn_onPage->setBounds({5, 5, 60, 20});
    btn_onPage->setCaption("&Page");
    btn_onPage->onClick = [this] { ++pageClicks; };
    Timer = addTimer("Timer");
    Timer->setInterval(30);
    Timer->onTimer = [this] { ++ticks; };
    onActivate = [this] { ++activations; };
    onClose = [this](CloseAction&) { ++closes; };
  }
  Label* lbl_wrapped;
  Label* lbl_single;
  Button* btn_next;
  Button* btn_below;
  tsaver::tk::Notebook* Notebook;
  Button* btn_onPage;
  tsaver::tk::Timer* Timer;
  int nextClicks = 0, pageClicks = 0, ticks = 0, activations = 0, closes = 0;
};

class ToolkitWindows : public ::testing::Test {
 protected:
  TestForm* open(BorderStyle border = BorderStyle::Single, int width = 274, int height = 67) {
    ui.app.createForm(form, border, width, height);
    window = ui.backend.windowOf(*form);
    return form;
  }
  HWND control(const char* name) {
    HWND found = childNamed(window, name);
    EXPECT_NE(found, nullptr) << "no window named " << name;
    return found;
  }
  Ui ui;
  TestForm* form = nullptr;
  HWND window = nullptr;
};

TEST_F(ToolkitWindows, FramesHaveTheBorderStylesIconsAndExactClientSizes) {
  struct Case {
    BorderStyle border;
    int width, height;
    bool sysMenu, toolWindow;
  } const cases[] = {
      {BorderStyle::Single, 421, 216, true, false},
      {BorderStyle::ToolWindow, 274, 67, true, true},
      {BorderStyle::Dialog, 313, 37, false, false},
  };
  for (const Case& c : cases) {
    Ui fresh;
    TestForm* f = nullptr;
    fresh.app.createForm(f, c.border, c.width, c.height);
    f->show();
    pump(fresh.backend, 50);
    HWND w = fresh.backend.windowOf(*f);
    SCOPED_TRACE("border style " + std::to_string(static_cast<int>(c.border)));
    ASSERT_NE(w, nullptr);
    const LONG style = GetWindowLongA(w, GWL_STYLE), ex = GetWindowLongA(w, GWL_EXSTYLE);
    EXPECT_EQ(clientSize(w).cx, c.width);
    EXPECT_EQ(clientSize(w).cy, c.height);
    EXPECT_EQ((style & WS_SYSMENU) != 0, c.sysMenu);
    EXPECT_EQ((ex & WS_EX_TOOLWINDOW) != 0, c.toolWindow);
    EXPECT_EQ(style & (WS_MINIMIZEBOX | WS_MAXIMIZEBOX | WS_THICKFRAME), 0);
    EXPECT_EQ(windowText(w), "Test form");
    EXPECT_EQ(GetWindow(w, GW_OWNER), fresh.backend.applicationWindow());
    RECT r{};
    GetWindowRect(w, &r);
    EXPECT_NEAR(r.left, (GetSystemMetrics(SM_CXSCREEN) - (r.right - r.left)) / 2, 1);
    EXPECT_NEAR(r.top, (GetSystemMetrics(SM_CYSCREEN) - (r.bottom - r.top)) / 2, 1);
  }
}

TEST_F(ToolkitWindows, ApplicationWindowCarriesTitleAndIcon) {
  ui.app.setTitle("Tessaryn Saver Install");
  HWND app = ui.backend.applicationWindow();
  EXPECT_EQ(windowText(app), "Tessaryn Saver Install");
  // As the system shows it: the icon a message set, else the class's.
  const auto shownIcon = [&] {
    const auto set = reinterpret_cast<HICON>(SendMessageA(app, WM_GETICON, ICON_BIG, 0));
    return set ? set : reinterpret_cast<HICON>(GetClassLongPtrA(app, GCLP_HICON));
  };
  struct Case {
    const char* resource;
    HICON expected;
  } const cases[] = {
      {tsaver::tk::res::kWizardIcon, LoadIconA(GetModuleHandleA(nullptr), tsaver::tk::res::kWizardIcon)},
      {"", LoadIcon(nullptr, IDI_APPLICATION)},
      {tsaver::tk::res::kMainIcon, LoadIconA(GetModuleHandleA(nullptr), tsaver::tk::res::kMainIcon)},
      // Back to the class's icon after another.
      {tsaver::tk::res::kWizardIcon, LoadIconA(GetModuleHandleA(nullptr), tsaver::tk::res::kWizardIcon)},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(std::string("icon \"") + c.resource + "\"");
    ASSERT_NE(c.expected, nullptr);
    ui.backend.setIcon(c.resource);
    EXPECT_EQ(shownIcon(), c.expected);
  }
}

TEST_F(ToolkitWindows, StayOnTopMakesATopmostWindow) {
  ui.app.createForm(form, BorderStyle::ToolWindow, 274, 67);
  TestForm* plain = nullptr;
  form->setStayOnTop(true);
  form->show();
  pump(ui.backend, 50);
  EXPECT_NE(GetWindowLongA(ui.backend.windowOf(*form), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
  ui.app.createForm(plain, BorderStyle::Single, 100, 100);
  plain->show();
  pump(ui.backend, 50);
  EXPECT_EQ(GetWindowLongA(ui.backend.windowOf(*plain), GWL_EXSTYLE) & WS_EX_TOPMOST, 0);
}

TEST_F(ToolkitWindows, ControlsAreNamedChildWindowsWhereTheirBoundsSay) {
  open();
  form->show();
  pump(ui.backend, 50);
  struct Case {
    const char* name;
    const char* cls;
    const char* text;
    RECT bounds;  // left, top, width, height in the parent's client area
  } const cases[] = {
      {"lbl_wrapped", "Static", "Copying files . . . ", {12, 8, 248, 25}},
      {"lbl_single", "Static", "One line", {12, 40, 100, 13}},
      {"btn_next", "Button", "&Next >", {10, 60, 75, 25}},
      // Outside the 67-pixel client area: there, but never seen.
      {"btn_below", "Button", "Cancel", {94, 86, 75, 25}},
      {"Notebook", "", "", {100, 0, 150, 60}},
      {"btn_onPage", "Button", "&Page", {5, 5, 60, 20}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HWND w = control(c.name);
    if (!w) continue;
    if (*c.cls) {
      EXPECT_STRCASEEQ(className(w).c_str(), c.cls);
    }
    if (*c.text) {
      EXPECT_EQ(windowText(w), c.text);
    }
    const RECT b = boundsInParent(w);
    EXPECT_EQ(b.left, c.bounds.left);
    EXPECT_EQ(b.top, c.bounds.top);
    EXPECT_EQ(b.right, c.bounds.right) << "width";
    EXPECT_EQ(b.bottom, c.bounds.bottom) << "height";
  }
  // Word wrap is the static control's own: a single-line label must not wrap.
  const LONG kind = SS_TYPEMASK;
  EXPECT_EQ(GetWindowLongA(control("lbl_wrapped"), GWL_STYLE) & kind, SS_LEFT);
  EXPECT_EQ(GetWindowLongA(control("lbl_single"), GWL_STYLE) & kind, SS_LEFTNOWORDWRAP);
}

TEST_F(ToolkitWindows, StateChangesReachTheWindows) {
  open();
  form->show();
  pump(ui.backend, 50);
  HWND label = control("lbl_wrapped"), next = control("btn_next");
  ASSERT_TRUE(label && next);

  form->lbl_wrapped->setCaption("Copying to: C:\\Program Files\\Tessaryn\\Screen Saver\\Saver.exe");
  EXPECT_EQ(windowText(label), "Copying to: C:\\Program Files\\Tessaryn\\Screen Saver\\Saver.exe");
  form->btn_next->setEnabled(false);
  EXPECT_FALSE(IsWindowEnabled(next));
  form->btn_next->setEnabled(true);
  EXPECT_TRUE(IsWindowEnabled(next));
  form->btn_next->setVisible(false);
  EXPECT_FALSE(IsWindowVisible(next));
  form->btn_next->setVisible(true);
  EXPECT_TRUE(IsWindowVisible(next));
  form->btn_next->setBounds({20, 30, 80, 26});
  const RECT b = boundsInParent(next);
  EXPECT_EQ(b.left, 20);
  EXPECT_EQ(b.top, 30);
  EXPECT_EQ(b.right, 80);
  EXPECT_EQ(b.bottom, 26);
  form->setActiveControl(form->btn_next);
  EXPECT_EQ(GetFocus(), next);
}

TEST_F(ToolkitWindows, OnlyTheActivePageIsVisible) {
  open();
  form->show();
  pump(ui.backend, 50);
  HWND p1 = control("P1"), p2 = control("P2");
  ASSERT_TRUE(p1 && p2);
  EXPECT_TRUE(IsWindowVisible(p1));
  EXPECT_FALSE(IsWindowVisible(p2));
  form->Notebook->setActivePage("P2");
  EXPECT_FALSE(IsWindowVisible(p1));
  EXPECT_TRUE(IsWindowVisible(p2));
  EXPECT_TRUE(IsWindowVisible(control("btn_onPage")));
  // The page shows the notebook's colour.
  EXPECT_EQ(pixelAt(p2, 100, 40), RGB(192, 192, 192));
}

// The first form shows before the controls of its hidden pages have windows;
// they get them from the first messages, or at once when their page shows.
TEST(ToolkitDeferredWindows, AHiddenPagesControlsGetWindowsOnceTheFormIsUpOrWhenThePageShows) {
  const struct {
    const char* when;
    bool pageShown;
  } cases[] = {{"the first messages after the form shows", false}, {"the page shown before any message", true}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.when);
    Ui ui;
    TestForm* form = nullptr;
    ui.app.createForm(form, BorderStyle::Single, 274, 67);
    HWND window = ui.backend.windowOf(*form);
    form->show();
    EXPECT_EQ(childNamed(window, "btn_onPage"), nullptr) << "made before the form showed";
    if (c.pageShown)
      form->Notebook->setActivePage("P2");
    else
      pump(ui.backend, 50);
    HWND button = childNamed(window, "btn_onPage");
    ASSERT_NE(button, nullptr);
    EXPECT_EQ(IsWindowVisible(button) != 0, c.pageShown);
    EXPECT_EQ(windowText(button), "&Page");
  }
}

// The form waiting for its windows gets them when another form is made before
// the first messages; none is left without.
TEST(ToolkitDeferredWindows, AFormMadeAfterTheFirstShowingLeavesTheWaitingOneItsWindows) {
  Ui ui;
  TestForm *first = nullptr, *waiting = nullptr, *later = nullptr;
  ui.app.createForm(first, BorderStyle::Single, 274, 67);
  ui.app.createForm(waiting, BorderStyle::ToolWindow, 274, 67);
  first->show();
  ui.app.createForm(later, BorderStyle::Dialog, 274, 67);
  EXPECT_NE(ui.backend.windowOf(*waiting), nullptr);
  EXPECT_NE(ui.backend.windowOf(*later), nullptr);
}

TEST_F(ToolkitWindows, ButtonsHandleTheirOwnClicksWhereverTheyLie) {
  open();
  form->Notebook->setActivePage("P2");
  form->show();
  pump(ui.backend, 50);
  // As the control would notify its parent, and as a robot in another process does.
  for (const char* name : {"btn_next", "btn_onPage"}) {
    HWND button = control(name);
    ASSERT_NE(button, nullptr);
    SendMessageA(GetParent(button), WM_COMMAND, MAKEWPARAM(GetDlgCtrlID(button), BN_CLICKED),
                 reinterpret_cast<LPARAM>(button));
  }
  EXPECT_EQ(form->nextClicks, 1);
  EXPECT_EQ(form->pageClicks, 1);
}

TEST_F(ToolkitWindows, EnterPressesTheFocusedButtonAndEscapeNothing) {
  open();
  form->show();
  form->setActiveControl(form->btn_next);
  pump(ui.backend, 50);
  HWND next = control("btn_next");
  ASSERT_EQ(GetFocus(), next);
  PostMessageA(next, WM_KEYDOWN, VK_RETURN, 0);
  PostMessageA(next, WM_KEYUP, VK_RETURN, 0);
  PostMessageA(next, WM_KEYDOWN, VK_ESCAPE, 0);
  PostMessageA(next, WM_KEYUP, VK_ESCAPE, 0);
  pump(ui.backend, 50);
  EXPECT_EQ(form->nextClicks, 1);
  EXPECT_EQ(form->closes, 0);
  EXPECT_TRUE(IsWindowVisible(window));
}

TEST_F(ToolkitWindows, CloseBoxRunsTheFormsCloseAndTheMainFormEndsTheLoop) {
  open();
  form->show();
  pump(ui.backend, 50);
  PostMessageA(window, WM_CLOSE, 0, 0);
  pump(ui.backend, 50);
  EXPECT_EQ(form->closes, 1);
  EXPECT_TRUE(ui.app.terminated());
  EXPECT_FALSE(IsWindowVisible(window));
  // The quit left in the queue ends the loop at once.
  const DWORD start = GetTickCount();
  ui.backend.runMessageLoop(ui.app);
  EXPECT_LT(GetTickCount() - start, 1000u);
}

TEST_F(ToolkitWindows, ShowingActivatesOnceAndTimersTickWhileHidden) {
  open();
  form->show();
  pump(ui.backend, 100);
  EXPECT_EQ(form->activations, 1);
  form->hide();
  form->Timer->setEnabled(true);
  pump(ui.backend, 300);
  EXPECT_GE(form->ticks, 3);
  form->Timer->setEnabled(false);
  const int stopped = form->ticks;
  pump(ui.backend, 150);
  EXPECT_EQ(form->ticks, stopped);
}

TEST_F(ToolkitWindows, EscapePressesAnEnabledCancelButtonOnly) {
  open();
  int cancels = 0;
  form->btn_below->setCancel(true);
  form->btn_below->onClick = [&] { ++cancels; };
  form->show();
  form->setActiveControl(form->btn_next);
  pump(ui.backend, 50);
  struct Case {
    bool enabled;
    int expected;
  } const cases[] = {{true, 1}, {false, 1}, {true, 2}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.enabled ? "enabled" : "disabled, as the copy window's");
    form->btn_below->setEnabled(c.enabled);
    PostMessageA(GetFocus(), WM_KEYDOWN, VK_ESCAPE, 0);
    pump(ui.backend, 30);
    EXPECT_EQ(cancels, c.expected);
  }
  EXPECT_EQ(form->nextClicks, 0);
}

}  // namespace
}  // namespace toolkit_test
