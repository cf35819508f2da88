// The generic opener: opens its argument (a document, a folder or an address) with the
// shell's default action, as if the user had double-clicked it.
#include <windows.h>
#include <objbase.h>
#include <shellapi.h>

#include <string>

#include "command_line.h"
#include "system_message_win32.h"
#include "text_encoding.h"

int WINAPI wWinMain(HINSTANCE, HINSTANCE, PWSTR, int) {
  using namespace tav;
  std::u16string target = OpenTarget(ArgumentText(U(GetCommandLineW())));
  if (target.empty()) {
    MessageBoxW(nullptr, L"開くファイル、フォルダまたはURLを指定してください。", L"kovrand", MB_OK | MB_ICONINFORMATION);
    return 2;
  }
  CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED | COINIT_DISABLE_OLE1DDE);
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOASYNC | SEE_MASK_FLAG_NO_UI;
  info.lpVerb = L"open";
  info.lpFile = W(target);
  info.nShow = SW_SHOWNORMAL;
  BOOL ok = ShellExecuteExW(&info);
  DWORD error = ok ? 0 : GetLastError();
  CoUninitialize();
  if (!ok) {
    std::u16string text = u"開けませんでした: " + target + u"\r\n" + SystemMessage(error);
    MessageBoxW(nullptr, W(text), L"kovrand", MB_OK | MB_ICONEXCLAMATION);
    return 1;
  }
  return 0;
}
