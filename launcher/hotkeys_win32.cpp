#include "hotkeys_win32.h"

#include "hotkey.h"
#include "launcher_window.h"
#include "window_win32.h"

namespace tav::Module3 {

ATOM HotkeyId1 = 0;
ATOM HotkeyId2 = 0;
WNDPROC PrevWndProc = nullptr;
bool HotkeyBusy = false;

namespace {
std::function<void(HWND)>& Summon() {
  static std::function<void(HWND)> summon;
  return summon;
}
}  // namespace

void SetSummon(std::function<void(HWND)> summon) { Summon() = std::move(summon); }

namespace {
HotkeyRegistration Register(HWND window, ATOM atom, Hotkey hotkey) {
  HotkeyRegistration r;
  r.key = hotkey.key;
  r.modifiers = hotkey.modifiers;
  const UINT modifiers = static_cast<UINT>(hotkey.modifiers) | kModNoRepeat;
  r.registered = RegisterHotKey(window, HotkeyIdFromAtom(atom), modifiers, static_cast<UINT>(hotkey.key)) != FALSE;
  r.alreadyRegistered = !r.registered && GetLastError() == ERROR_HOTKEY_ALREADY_REGISTERED;
  return r;
}
}  // namespace

HotkeyResults AddHotkeys(HWND window, Hotkey first, Hotkey second) {
  HotkeyId1 = GlobalAddAtomW(L"HOTKEY1");
  HotkeyId2 = GlobalAddAtomW(L"HOTKEY2");
  HotkeyResults results;
  results.first = Register(window, HotkeyId1, first);
  results.second = Register(window, HotkeyId2, second);
  // Tavimset tells the launcher's own keys from another program's by these.
  const HotkeyRegistration* held[2] = {&results.first, &results.second};
  for (int i = 0; i < 2; ++i)
    if (held[i]->registered)
      SetPropW(window, kHeldHotkeyProperties[i],
               reinterpret_cast<HANDLE>(HeldHotkeyValue(held[i]->modifiers, held[i]->key)));
  return results;
}

void UnregisterHotkeys(HWND window) {
  UnregisterHotKey(window, HotkeyIdFromAtom(HotkeyId1));
  UnregisterHotKey(window, HotkeyIdFromAtom(HotkeyId2));
  for (const wchar_t* property : kHeldHotkeyProperties) RemovePropW(window, property);
}

void DeleteAtoms() {
  GlobalDeleteAtom(HotkeyId1);
  GlobalDeleteAtom(HotkeyId2);
}

void HookWindow(HWND window) {
  PrevWndProc = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&HotkeyWindowProc)));
}

void UnhookWindow(HWND window) {
  if (PrevWndProc) SetWindowLongPtrW(window, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(PrevWndProc));
}

LRESULT CALLBACK HotkeyWindowProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
  return AnswerOrDefault(
      [&] {
        if (HotkeyBusy) return;
        HotkeyBusy = true;
        struct Done {
          ~Done() { HotkeyBusy = false; }  // a summon that throws leaves the hotkey working
        } done;
        if (message != WM_HOTKEY) return;
        // WM_HOTKEY carries the identifier as registered: the atom widened as signed 16-bit.
        const auto id = static_cast<int>(static_cast<INT_PTR>(wParam));
        if ((id == HotkeyIdFromAtom(HotkeyId1) || id == HotkeyIdFromAtom(HotkeyId2)) && Summon()) Summon()(window);
      },
      [&] { return CallWindowProcW(PrevWndProc, window, message, wParam, lParam); });
}

}  // namespace tav::Module3
