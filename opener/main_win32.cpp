// The generic opener: opens its argument (a document, a folder or an address) with the
// shell's default action, as if the user had double-clicked it.
#include <windows.h>
#include <shellapi.h>

#include "com_win32.h"
#include "open_with_shell_win32.h"
#include "window_win32.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace tav;
  const ComApartment com;
  return OpenWithShell(
      U(GetCommandLineW()), [] { return PromptOwner(GetForegroundWindow()); },
      [](SHELLEXECUTEINFOW* info) { return ShellExecuteExW(info) != FALSE; },
      [] {
        MessageBoxW(nullptr, L"開くファイル、フォルダまたはURLを指定してください。", L"kovrand",
                    MB_OK | MB_ICONINFORMATION);
      });
}
