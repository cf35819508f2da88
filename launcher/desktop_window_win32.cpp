#include "desktop_window_win32.h"
#include "window_win32.h"

namespace tav {

namespace {

bool TitleBeginsWithProgram(HWND w) {
  wchar_t title[16];
  constexpr wchar_t word[] = L"program";
  constexpr int wordLength = 7;
  return GetWindowTextW(w, title, 16) >= wordLength &&
         CompareStringOrdinal(title, wordLength, word, wordLength, TRUE) == CSTR_EQUAL;
}

// The desktop's shell window ("Program Manager", class Progman), never an application window
// whose title merely begins with "Program" (a folder "Program Files", "Programming.txt"): the
// shell's own window when its title fits, else a visible top-level Progman window whose title
// does; nullptr for another desktop shell. Wine has no shell window (GetShellWindow gives none),
// so there only a Progman window of a test is found.
HWND FindDesktopWindow() {
  if (HWND shell = GetShellWindow(); shell && TitleBeginsWithProgram(shell)) return shell;
  HWND found = nullptr;
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        if (!IsWindowVisible(w) || !IsClass(w, L"Progman") ||
            !TitleBeginsWithProgram(w))
          return TRUE;
        *reinterpret_cast<HWND*>(p) = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&found));
  return found;
}

}  // namespace

bool DesktopHandOver::Activate() {
  desktop_ = FindDesktopWindow();
  activated_ = desktop_ && SetForegroundWindow(desktop_) != FALSE;
  return desktop_ != nullptr;
}

void DesktopHandOver::Await() const {
  // Windows moves the foreground at once; Wine only once the other program's thread has taken
  // the activation. A refused activation is not waited for.
  if (activated_)
    for (int i = 0; i < 50 && GetForegroundWindow() != desktop_; ++i) Sleep(10);
}

void SendAltEsc() {
  INPUT in[4] = {};
  const WORD keys[4] = {VK_MENU, VK_ESCAPE, VK_ESCAPE, VK_MENU};
  for (int i = 0; i < 4; ++i) {
    in[i].type = INPUT_KEYBOARD;
    in[i].ki.wVk = keys[i];
    in[i].ki.dwFlags = i >= 2 ? KEYEVENTF_KEYUP : 0;
  }
  SendInput(4, in, sizeof(INPUT));
}

}  // namespace tav
