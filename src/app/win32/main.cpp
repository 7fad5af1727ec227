// The program's entry point: the real platform and windows, then start-up.
#include <windows.h>

#include <exception>

#include "app/Startup.h"
#include "platform/win32/SafeStart.h"
#include "platform/win32/Win32Platform.h"
#include "toolkit/Application.h"
#include "toolkit/win32/Win32Backend.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  // Before anything can load a DLL by name: the package's folder may hold planted ones.
  tsaver::hardenDllSearch();
  // The handlers have their own error boundary; this one is for what lies outside
  // them, so that no error ends the program without a word and with another exit code.
  try {
    tsaver::Win32Platform platform;
    tsaver::tk::Win32Backend backend(instance);
    tsaver::tk::Application app(backend);
    return tsaver::runProgram(platform, app);
  } catch (const std::exception& e) {
    MessageBoxA(nullptr, tsaver::tk::Application::errorText(e.what()).c_str(), nullptr, MB_OK | MB_ICONSTOP);
  }
  return 0;
}
