// Tavimbra: the resident launcher.
#include <windows.h>

#include "com_win32.h"
#include "form1_win32.h"
#include "install_folder.h"
#include "texts_watch_win32.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int) {
  // One apartment for the window's thread: the box's accessible name lives as long as the window,
  // and the shell start of an elevated program runs on it.
  const tav::ComApartment com;
  tav::TextsWatch watch(tav::InstallFolder());  // before the list is first built
  tav::Form1 form;
  if (form.Load(instance)) watch.RunMessageLoop(form.Hwnd(), [&form] { form.RebuildCommandList(); });
  return 0;
}
