#include "installer/main.h"

#include "installer/InstallFiles.h"
#include "platform/Paths.h"
#include "platform/TextFile.h"
#include "toolkit/Resources.h"

namespace tsaver {

namespace {

const tk::Font kStepFont{"Arial", 12, true, false, tk::clBlue};

tk::Label* addLabel(tk::Container* parent, const std::string& name, tk::Bounds bounds, const std::string& text = "",
                    bool wordWrap = true) {
  auto* label = parent->add<tk::Label>(name);
  label->setBounds(bounds);
  label->setColor(parent->color());
  label->setWordWrap(wordWrap);
  label->setCaption(text);
  return label;
}

// Marks a run in progress for as long as it lasts, also when an error ends it.
class RunInProgress {
 public:
  explicit RunInProgress(bool& flag) : flag_(flag) { flag_ = true; }
  ~RunInProgress() { flag_ = false; }
  RunInProgress(const RunInProgress&) = delete;
  RunInProgress& operator=(const RunInProgress&) = delete;

 private:
  bool& flag_;
};

tk::Button* addButton(tk::Container* parent, const std::string& name, tk::Bounds bounds, const std::string& text,
                      int tabOrder) {
  auto* button = parent->add<tk::Button>(name);
  button->setBounds(bounds);
  button->setCaption(text);
  button->setTabOrder(tabOrder);
  return button;
}

}  // namespace

bool isUsableProductName(const std::string& name) {
  return name.find_first_of("\\/:") == std::string::npos && name != "." && name != "..";
}

TfrmInstall::TfrmInstall(tk::Application& app, Platform& platform, WizardState& state, TfrmCopying* const& copying)
    : tk::Form(app, "frmInstall"), platform_(platform), state_(state), frmCopying_(copying) {
  layOut();
  onCreate = [this] { FormCreate(this); };
  onShow = [this] { FormShow(this); };
  onCloseQuery = [this](bool& canClose) { FormCloseQuery(this, canClose); };
  onClose = [this](tk::CloseAction& action) { FormClose(this, action); };
  btn_next->onClick = [this] { btn_nextClick(btn_next); };
  btn_back->onClick = [this] { btn_backClick(btn_back); };
  btn_cancel->onClick = [this] { btn_cancelClick(btn_cancel); };
  btn_filename->onClick = [this] { btn_filenameClick(btn_filename); };
  TimerClose->onTimer = [this] { TimerCloseTimer(TimerClose); };
}

TfrmInstall::~TfrmInstall() = default;

void TfrmInstall::layOut() {
  setCaption("Setup.exe");
  setClientSize(421, 216);
  setBorderStyle(tk::BorderStyle::Single);
  setFont(tk::Font{});
  setIcon(tk::res::kWizardIcon);

  // Painted first: the side bar and the page area lie over the bevel's top edge.
  Bevel1 = add<tk::Bevel>("Bevel1");
  Bevel1->setBounds({-2, 131, 429, 50});

  shape1 = add<tk::Image>("shape1");
  shape1->setBounds({0, 0, 97, 179});
  shape1->setBitmap(tk::res::kSkyBarBitmap);

  const struct {
    tk::Label** label;
    const char* name;
    int top;
    const char* text;
  } steps[] = {{&Label1, "Label1", 10, "Info"},
               {&Label4, "Label4", 53, "Install to . . ."},
               {&Label5, "Label5", 101, "Copy files . . ."},
               {&Label6, "Label6", 150, "Finished"}};
  for (const auto& step : steps) {
    *step.label = addLabel(this, step.name, {13, step.top, 84, 15}, step.text, false);
    (*step.label)->setTransparent(true);
    (*step.label)->setFont(kStepFont);
  }
  tk::Font current = kStepFont;
  current.color = tk::clWhite;
  Label1->setFont(current);

  Shape2 = add<tk::Shape>("Shape2");
  Shape2->setBounds({97, 0, 325, 55});
  Shape2->setColor(tk::clBlack);

  lbl_caption = addLabel(this, "lbl_caption", {102, 3, 310, 49});
  lbl_caption->setFont({"Arial", 21, true, true, tk::clWhite});
  lbl_caption->setTransparent(true);
  lbl_caption->setFixedSize(true);

  Notebook = add<tk::Notebook>("Notebook");
  Notebook->setBounds({97, 55, 325, 124});
  Notebook->setColor(tk::clSilver);
  tk::Page* p1 = Notebook->addPage("P1");
  tk::Page* p4 = Notebook->addPage("P4");
  tk::Page* p5 = Notebook->addPage("P5");
  for (tk::Page* page : {p1, p4, p5}) page->setBounds({0, 0, 325, 124});

  lblInfo1 = addLabel(p1, "lblInfo1", {15, 15, 296, 42},
                      "Thank you for using our software.  We are confident that you will find it a valuable "
                      "addition to your software library.");
  lblInfo2 = addLabel(p1, "lblInfo2", {15, 78, 297, 42});

  Label7 = addLabel(p4, "Label7", {15, 15, 292, 51},
                    "The software will install onto your system in a directory.  Please accept the suggested "
                    "directory location and name or select one of your own using the select folder button.");
  Label16 = addLabel(p4, "Label16", {16, 67, 290, 15}, "Select the directory you wish to install into . . .", false);
  Label16->setFont({"Arial", 12, true, false, tk::clWindowText});
  panel1 = p4->add<tk::Panel>("panel1");
  panel1->setBounds({15, 87, 271, 21});
  panel1->setColor(tk::clSilver);
  panel1->setBevelOuter(tk::BevelStyle::Lowered);
  edt_filename = addLabel(panel1, "edt_filename", {8, 3, 251, 13}, "", false);
  edt_filename->setFixedSize(true);
  edt_filename->setTransparent(true);
  btn_filename = p4->add<tk::SpeedButton>("btn_filename");
  btn_filename->setBounds({291, 87, 21, 21});
  btn_filename->setGlyph(tk::res::kFolderGlyph);

  lblSuccess1 = addLabel(p5, "lblSuccess1", {15, 15, 298, 40});
  lblSuccess1->setFont({"Arial", 16, true, false, tk::clBlack});
  lblSuccess2 = addLabel(p5, "lblSuccess2", {15, 69, 297, 42});

  btn_cancel = addButton(this, "btn_cancel", {98, 187, 75, 25}, "Cancel", 1);
  btn_next = addButton(this, "btn_next", {341, 187, 75, 25}, "&Next >", 2);
  btn_back = addButton(this, "btn_back", {258, 187, 75, 25}, "< &Back", 3);
  btn_back->setEnabled(false);
  setActiveControl(btn_next);

  KesShellLink1 = std::make_unique<TKesShellLink>(platform_);
  // Reads the Shell Folders values: an error there is an error of the window's
  // creation, shown in the error box, and the wizard still opens.
  application().guard([this] { applyInstallWindowSettings(*KesShellLink1); });

  TimerClose = addTimer("TimerClose");
  TimerClose->setInterval(100);
}

void TfrmInstall::markStep(tk::Label* from, tk::Label* to) {
  tk::Font font = kStepFont;
  from->setFont(font);
  font.color = tk::clWhite;
  to->setFont(font);
}

void TfrmInstall::FormCreate(tk::Control*) {
  state_.WindowsDir = platform_.windowsDirectory();
  Notebook->setActivePage("P1");
  const std::string programDir = directoryPart(platform_.moduleFileName());
  platform_.setCurrentDirectory(programDir);
  state_.SourceDir = programDir;
}

void TfrmInstall::FormShow(tk::Control*) {
  if (!platform_.fileExists(state_.SourceDir + kDataFile)) {
    TimerClose->setEnabled(true);
    return;
  }
  {
    TextReader data(platform_, state_.SourceDir + kDataFile);
    state_.ProductName = data.readLine();
    state_.SettingsSection = data.readLine();
  }
  if (!isUsableProductName(state_.ProductName)) {
    // Every path built from such a name would leave its folder: refuse the
    // package before anything is created or deleted, and close as without one.
    productNameRefused_ = true;
    application().showMessage("This package cannot be installed: its product name \"" + state_.ProductName +
                              "\" in Data.dat contains \"\\\", \"/\" or \":\", or is \".\" or \"..\".");
    TimerClose->setEnabled(true);
    return;
  }
  const std::string& name = state_.ProductName;
  lbl_caption->setCaption(name + " screen saver installation");
  lblInfo2->setCaption("This program will install the " + name + " screen saver onto your system.");
  edt_filename->setCaption("C:\\Program Files\\" + name + "\\Screen Saver");
  lblSuccess1->setCaption("The " + name + " screen saver has been installed successfully.");
  fillInstallFiles(platform_, state_);
  if (state_.InPackage[kTrayProgramSlot - 1]) {
    lblSuccess2->setCaption("To activate the " + name + " screen saver just click on its tray icon," +
                            " right clicking the tray icon will bring up a menu of options.");
  }
}

void TfrmInstall::btn_nextClick(tk::Control*) {
  const std::string& page = Notebook->activePage();
  if (page == "P1") {
    if (platform_.fileExists(state_.SourceDir + "After.txt"))
      state_.Options = readInstallOptions(platform_, state_.SourceDir + "After.txt");
    markStep(Label1, Label4);
    Notebook->setActivePage("P4");
    btn_back->setEnabled(true);
    btn_next->setEnabled(true);
  } else if (page == "P4") {
    bool installed = false;
    {
      const RunInProgress run(runInProgress_);
      installed = runInstallation();
    }
    if (!installed) close();
  } else if (page == "P5") {
    // The stage pumps messages: a second click must not run it again inside the first.
    btn_next->setEnabled(false);
    {
      const RunInProgress run(runInProgress_);
      runFinishStage();
    }
    close();
  }
}

void TfrmInstall::btn_backClick(tk::Control*) {
  if (Notebook->activePage() != "P4") return;
  markStep(Label4, Label1);
  Notebook->setActivePage("P1");
  btn_back->setEnabled(false);
  btn_next->setEnabled(true);
}

void TfrmInstall::btn_cancelClick(tk::Control*) {
  if (application().confirm("Are you sure you want to abort the installation?")) close();
}

void TfrmInstall::btn_filenameClick(tk::Control*) {
  const std::string remembered = platform_.currentDirectory();
  const std::optional<std::string> chosen = application().selectDirectory();
  if (chosen) {
    const std::string& dir = *chosen;
    const std::string tail = state_.ProductName + "\\Screen Saver";
    edt_filename->setCaption(dir.size() > 3 ? dir + "\\" + tail : dir + tail);
  }
  platform_.setCurrentDirectory(remembered);
}

void TfrmInstall::TimerCloseTimer(tk::Timer*) { close(); }

void TfrmInstall::FormCloseQuery(tk::Control*, bool& CanClose) { CanClose = !runInProgress_; }

void TfrmInstall::FormClose(tk::Control*, tk::CloseAction&) {
  // A refused package was never taken up: it is left whole.
  if (productNameRefused_) return;
  const auto deleteIfFile = [this](const std::string& path) {
    if (platform_.fileExists(path)) platform_.deleteFile(path);
  };
  for (const std::string& slot : state_.InstallFiles) deleteIfFile(state_.SourceDir + slot);
  // From the package folder, not the current directory: elsewhere these names
  // could be installed copies rather than package files.
  deleteIfFile(state_.SourceDir + state_.ProductName + ".scr");
  deleteIfFile(state_.SourceDir + kFlashControl);
  for (const char* name : {kExtrasList, "After.txt", "Path.dat", "Config.swf", "Config.bmp"})
    deleteIfFile(state_.SourceDir + name);
}

}  // namespace tsaver
