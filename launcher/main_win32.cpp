// Tavimbra: the resident launcher.
#include <windows.h>

#include "com_win32.h"
#include "launcher_app_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // One apartment for the window's thread: the box's accessible name lives as long as the window,
  // and the shell start of an elevated program runs on it.
  const tav::ComApartment com;
  tav::LauncherApp app;
  return app.Start(instance) ? app.RunMessageLoop() : 0;
}
