#pragma once
// A package folder on a simulated machine and the two install-mode windows,
// driven headless the way a user would: show, press, answer.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "app/Startup.h"
#include "installer/WizardState.h"
#include "installer/copying.h"
#include "installer/main.h"
#include "platform/SimulatedWindows.h"
#include "toolkit/Application.h"
#include "toolkit/HeadlessBackend.h"

namespace tsaver::testing {

inline const std::string kPackage = "C:\\PKG\\";
inline const std::string kDefaultInstallDir = "C:\\Program Files\\Tessaryn\\Screen Saver";
inline const std::string kProgramsDir = "C:\\WINDOWS\\Start Menu\\Programs";
inline const std::string kGroupDir = kProgramsDir + "\\Tessaryn screen saver";

// Every product file of the package, under the product name Tessaryn.
inline const std::vector<std::string> kProductFiles = {
    "Tessaryn.scr", "SWFlash.ocx", "Saver.exe",    "Movie.swf",   "TaskTray.exe", "Contacts.bmp", "Tessaryn.ico",
    "Readme.txt",   "RunSaver.exe", "Settings.txt", "Preview.bmp", "Path.dat",     "Config.swf",   "Config.bmp"};

// A machine of its own with the install-mode windows, for cases that each need a fresh one.
struct WizardRun {
  WizardRun() { machine.setModuleFileName(kPackage + "INSTALL.EXE"); }
  // Creates the windows as start-up does and shows the wizard.
  void start() {
    application.createForm(install, machine, wizard, copying);
    application.createForm(copying);
    application.run();
  }
  SimulatedWindows machine;
  tk::HeadlessBackend headless{machine};
  WizardState wizard;
  tk::Application application{headless};
  TfrmInstall* install = nullptr;
  TfrmCopying* copying = nullptr;
};

class InstallerFixture : public ::testing::Test {
 protected:
  InstallerFixture() {
    win.setModuleFileName(kPackage + "INSTALL.EXE");
    win.putFile(kPackage + "INSTALL.EXE", "program");
    win.putFile(kPackage + "Install.exe", "program");
  }

  // A package with Data.dat, every product file and the given "After.txt" (none when empty).
  void makePackage(const std::string& afterTxt = "1\r\nTrue\r\nTrue\r\nTrue\r\n") {
    win.putFile(kPackage + "Data.dat", "Tessaryn\r\nTessaryn\r\n");
    for (const auto& name : kProductFiles) win.putFile(kPackage + name, name + " content");
    if (!afterTxt.empty()) win.putFile(kPackage + "After.txt", afterTxt);
  }

  // Creates the windows as start-up does and shows the wizard.
  void start() {
    app = std::make_unique<tk::Application>(ui);
    app->setTitle(kInstallTitle);
    app->createForm(frmInstall, win, state, frmCopying);
    app->createForm(frmCopying);
    app->run();
  }

  void next() { frmInstall->btn_next->click(); }
  void back() { frmInstall->btn_back->click(); }
  // Welcome, directory page, the run, and Finish.
  void installToTheEnd() {
    start();
    next();
    next();
    next();
  }

  std::vector<SimulatedWindows::ProfileSection> log(const std::string& installDir = kDefaultInstallDir) const {
    return win.profileSections(installDir + "\\UNINSTALL.INI");
  }
  std::vector<std::string> messages() const { return ui.messageTexts(); }
  bool closed() const { return app->terminated(); }

  SimulatedWindows win;
  tk::HeadlessBackend ui{win};
  WizardState state;
  std::unique_ptr<tk::Application> app;
  TfrmInstall* frmInstall = nullptr;
  TfrmCopying* frmCopying = nullptr;
};

}  // namespace tsaver::testing
