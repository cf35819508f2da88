// Tavimset: the settings window, or only the quick registration window when a file was handed
// over on the command line (Send To).
#include <windows.h>
#include <commctrl.h>

#include "program_arguments.h"
#include "form1_win32.h"
#include "form3_win32.h"
#include "text_encoding.h"

int WINAPI wWinMain(HINSTANCE instance, HINSTANCE, PWSTR, int show) {
  INITCOMMONCONTROLSEX icc{sizeof icc, ICC_STANDARD_CLASSES | ICC_WIN95_CLASSES};
  InitCommonControlsEx(&icc);

  std::u16string argument = tav::ArgumentText(tav::U(GetCommandLineW()));
  if (!argument.empty()) return tav::settings::RunQuickRegistration(instance, argument);

  tav::settings::Form1 form1;
  if (!form1.Create(instance)) return 1;
  form1.Show(show);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
    if (form1.PreTranslateMessage(msg) || IsDialogMessageW(form1.Hwnd(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return static_cast<int>(msg.wParam);
}
