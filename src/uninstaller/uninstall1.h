#pragma once
// The uninstaller window: checks for the uninstall log, asks once, then on the
// first timer tick removes what the log lists and deletes the log and itself.
// A failing settings-section erase is shown as an error and ends the program,
// leaving the log and the uninstaller for another run.
#include <functional>
#include <string>

#include "platform/Platform.h"
#include "toolkit/Application.h"
#include "toolkit/Form.h"

namespace tsaver {

class Registry;
class SettingsFile;

class TfrmUninstall : public tk::Form {
 public:
  TfrmUninstall(tk::Application& app, Platform& platform);

  tk::Bevel* Bevel1;
  tk::Gauge* gProgress;
  tk::Button* btn_ok;
  tk::Timer* Timer;

  // The working directory at creation; the log is looked for there.
  std::string StartDir;

  void FormCreate(tk::Control* Sender);
  void FormActivate(tk::Control* Sender);
  // The whole removal run, once.
  void TimerTimer(tk::Timer* Sender);
  void btn_okClick(tk::Control* Sender);

 private:
  // Whether a numbered section's run pumps after every probe or only after an entry.
  enum class PumpAfter { EveryProbe, EveryEntry };

  void layOut();
  bool logExists();
  void pump() { application().processMessages(); }
  void advanceGauge(int progress);
  void forEachEntry(SettingsFile& logFile, const char* section, const char* stem, PumpAfter pumpAfter,
                    const std::function<void(const std::string&)>& act);
  // The tray program gets a second chance after a wait, with a message if it is still there.
  void deleteLoggedFile(const std::string& path);
  // Per entry: open the Run key, creating it, delete the value if it starts the
  // tray program in startDir, close whatever happened.
  static void deleteRunValue(Registry& registry, const std::string& name, const std::string& startDir);
  // False when the erase failed: the error has been shown and the window closed.
  bool eraseSettingsSection(const std::string& file, const std::string& section);
  // Deletes the product's entry in the list of installed programs when it starts this uninstaller.
  void removeUninstallEntry(const std::string& name);
  // The file the active screen saver setting names, when it exists; empty otherwise.
  std::string existingActiveScreenSaver();
  // Clears the setting when that file is gone now.
  void clearActiveScreenSaverIfGone(const std::string& saver);
  // Waits for the first process when a temporary copy runs the removal, then deletes
  // "Uninstall.exe" with a few retries; failures are ignored.
  void deleteLogAndSelf();
  // The install directory and the product-named one above it, each only if empty.
  void removeInstallDirectory();

  Platform& platform_;
};

}  // namespace tsaver
