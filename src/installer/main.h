#pragma once
// The install wizard: welcome, directory and finish pages; Next on the
// directory page runs the installation, Finish integrates it with the system.
// Whenever the window closes it deletes the package's files from its folder.
#include <memory>
#include <string>

#include "installer/InstallRollback.h"
#include "installer/WizardState.h"
#include "installer/copying.h"
#include "platform/Errors.h"
#include "platform/Platform.h"
#include "shelllink/ShellLnk.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

namespace tsaver {

class TfrmInstall : public tk::Form {
 public:
  // `copying` is the program-wide reference to the copy window, set after this window.
  TfrmInstall(tk::Application& app, Platform& platform, WizardState& state, TfrmCopying* const& copying);
  ~TfrmInstall() override;

  tk::Image* shape1;
  tk::Label* Label1;
  tk::Label* Label4;
  tk::Label* Label5;
  tk::Label* Label6;
  tk::Shape* Shape2;
  tk::Label* lbl_caption;
  tk::Notebook* Notebook;
  tk::Label* lblInfo1;
  tk::Label* lblInfo2;
  tk::Label* Label7;
  tk::Label* Label16;
  tk::Panel* panel1;
  tk::Label* edt_filename;
  tk::SpeedButton* btn_filename;
  tk::Label* lblSuccess1;
  tk::Label* lblSuccess2;
  tk::Bevel* Bevel1;
  tk::Button* btn_cancel;
  tk::Button* btn_next;
  tk::Button* btn_back;
  std::unique_ptr<TKesShellLink> KesShellLink1;
  tk::Timer* TimerClose;

  void FormCreate(tk::Control* Sender);
  void FormShow(tk::Control* Sender);
  void btn_nextClick(tk::Control* Sender);
  void btn_backClick(tk::Control* Sender);
  void btn_cancelClick(tk::Control* Sender);
  void btn_filenameClick(tk::Control* Sender);
  void TimerCloseTimer(tk::Timer* Sender);
  void FormCloseQuery(tk::Control* Sender, bool& CanClose);
  void FormClose(tk::Control* Sender, tk::CloseAction& Action);

  // The install directory is the path label's caption, read at every use.
  std::string InstallDir() const { return edt_filename->caption(); }

 private:
  void layOut();
  void markStep(tk::Label* from, tk::Label* to);
  // The installation run on Next from "P4": the file phase, then the shortcut
  // and log stage. Ends on "P5", or false when it was aborted: what it had
  // created is then taken back, and the caller closes the window.
  bool runInstallation();
  // Copies the files and writes their log entries; false (after the messages)
  // when the run was aborted. What it may create is watched by the rollback.
  bool runFilePhase(InstallRollback& rollback);
  // Program group, desktop link and the remaining log sections; ends on "P5".
  void runShortcutStage();
  // Finish: screen saver, tray program, extra files, post-install action.
  // Errors end it silently.
  void runFinishStage();
  void copyExtraFiles();
  // Tells the user that a package file read at Finish is gone, and what is not done for it.
  void reportUnreadablePackageFile(const char* name, const EInOutError& error, const std::string& consequence);
  void performPostInstallAction();
  // False, after the message, when a file the package held when the wizard read it
  // has gone since and would be copied.
  bool packageStillWhole();
  // The "FILES" entries of the product files, before any of them is copied.
  void logProductFiles(InstallRollback& rollback);
  // Older copies deleted, then the uninstaller and the product files copied; false
  // (after the message) at the first failed copy in the install directory, or after
  // all when a copy into the Windows directory failed.
  bool copyProductFiles(InstallRollback& rollback);
  // Copies one product file, showing it in the copy window; false (after the
  // message) unless the copy succeeded and the destination exists afterwards.
  bool copyProductFile(const std::string& source, const std::string& destination, InstallRollback& rollback);
  void pump() { application().processMessages(); }

  Platform& platform_;
  WizardState& state_;
  TfrmCopying* const& frmCopying_;
  bool productNameRefused_ = false;
  // From Next on "P4" to the finish page or the abort, and through Finish: the
  // run pumps messages, and a close then would delete package files it still needs.
  bool runInProgress_ = false;
};

// A product name builds file, folder and registry names; one that could leave
// its folder ("\", "/", ":", "." or "..") is refused.
bool isUsableProductName(const std::string& name);

}  // namespace tsaver
