#pragma once
// What the backend's tests share: a backend with its application, the windows
// of a shown form found by their controls' names, pixels read back from the
// screen, and a helper thread that answers the modal dialogs the main thread
// opens (they block it until they are answered).
#include <windows.h>

#include <functional>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "toolkit/Application.h"
#include "toolkit/win32/Win32Backend.h"

namespace toolkit_test {

using tsaver::tk::Application;
using tsaver::tk::Form;
using tsaver::tk::Win32Backend;

struct Ui {
  Win32Backend backend{GetModuleHandleA(nullptr)};
  Application app{backend};
};

// The child window whose "TkName" property names `name`; null when there is none.
HWND childNamed(HWND parent, const std::string& name);
std::string windowText(HWND window);
std::string className(HWND window);
// Position in the parent's client area, and size.
RECT boundsInParent(HWND window);
SIZE clientSize(HWND window);

// Dispatches the queue for `ms` milliseconds.
void pump(Win32Backend& backend, DWORD ms);
// The colour on the screen at a point of the window's client area, after it has painted.
COLORREF pixelAt(HWND window, int x, int y);

// A visible #32770 dialog of this process with the caption; null after the time-out.
HWND waitForDialog(const std::string& caption, DWORD timeoutMs = 5000);
// The dialog's direct child with the caption (or of the class, when the caption is empty).
HWND dialogChild(HWND dialog, const std::string& caption, const std::string& cls = "");
// Presses a dialog's button as a click would notify the dialog.
void pressDialogButton(HWND dialog, HWND button);

// Runs `script` on a thread while the main thread sits in a modal dialog.
// The script reports failures through fail(); if it finds no dialog to answer
// it ends every dialog of the process so that the main thread gets free.
class DialogScript {
 public:
  explicit DialogScript(std::function<void(DialogScript&)> script);
  ~DialogScript();
  DialogScript(const DialogScript&) = delete;
  DialogScript& operator=(const DialogScript&) = delete;

  // Waits for the script to end; its failures, one a line, empty when none.
  std::string finish();
  // Like waitForDialog; a missing dialog is a failure and frees the main thread.
  HWND expectDialog(const std::string& caption);
  void fail(const std::string& what);

 private:
  std::string failures_;
  std::thread thread_;
};

}  // namespace toolkit_test
