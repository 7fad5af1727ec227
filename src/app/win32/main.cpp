// The program's entry point: the real platform and windows, then start-up.
#include <windows.h>

#include "app/Startup.h"
#include "platform/win32/Win32Platform.h"
#include "toolkit/Application.h"
#include "toolkit/win32/Win32Backend.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
  tsaver::Win32Platform platform;
  tsaver::tk::Win32Backend backend(instance);
  tsaver::tk::Application app(backend);
  return tsaver::runProgram(platform, app);
}
