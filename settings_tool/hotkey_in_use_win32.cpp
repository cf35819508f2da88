#include "hotkey_in_use_win32.h"

#include <windows.h>

#include "hotkey.h"
#include "launcher_window.h"

namespace tav::settings {

namespace {
constexpr int kTrialId = 0xBFFF;  // the top of the range a thread's own hotkeys may use
}  // namespace

bool HeldByAnotherProgram(Hotkey hotkey) {
  // The one way to ask whether a combination is free is to register it; given back at once.
  const UINT modifiers = static_cast<UINT>(hotkey.modifiers) | kModNoRepeat;
  if (RegisterHotKey(nullptr, kTrialId, modifiers, static_cast<UINT>(hotkey.key))) {
    UnregisterHotKey(nullptr, kTrialId);
    return false;
  }
  if (GetLastError() != ERROR_HOTKEY_ALREADY_REGISTERED) return false;  // no such key, not a holder
  const HWND launcher = FindWindowW(kLauncherClass, nullptr);
  if (!launcher) return true;
  const auto held = HeldHotkeyValue(static_cast<unsigned>(hotkey.modifiers), hotkey.key);
  for (const wchar_t* property : kHeldHotkeyProperties)
    if (reinterpret_cast<std::uintptr_t>(GetPropW(launcher, property)) == held) return false;
  return true;
}

}  // namespace tav::settings
