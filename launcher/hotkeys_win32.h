// The two global hotkeys and the window procedure that receives them.
#pragma once
#include <windows.h>

#include <functional>

#include "hotkey_notice.h"

namespace tav::Module3 {

extern ATOM HotkeyId1;
extern ATOM HotkeyId2;
extern WNDPROC PrevWndProc;  // the window's procedure before HookWindow; null until then
extern bool HotkeyBusy;      // set while HotkeyWindowProc handles a message

// What a hotkey does (the window's summon sequence).
void SetSummon(std::function<void(HWND)> summon);

struct HotkeyResults {
  HotkeyRegistration first, second;
};
// Atoms "HOTKEY1" and "HOTKEY2", then the two combinations, each without repeats while held and
// published on the window once held (launcher_window.h). A combination another program holds
// never arrives; the results say which, for the notice.
HotkeyResults AddHotkeys(HWND window, Hotkey first, Hotkey second);
// Unregisters hotkey 1, then 2, and takes them off the window.
void UnregisterHotkeys(HWND window);
// Deletes atom 1, then 2.
void DeleteAtoms();

void HookWindow(HWND window);
void UnhookWindow(HWND window);
LRESULT CALLBACK HotkeyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

}  // namespace tav::Module3
