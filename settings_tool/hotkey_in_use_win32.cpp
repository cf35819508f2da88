#include "hotkey_in_use_win32.h"

#include <windows.h>

#include "hotkey.h"
#include "launcher_window.h"

namespace tav::settings {

namespace {
constexpr int kTrialId = 0xBFFF;  // the top of the range a thread's own hotkeys may use
}  // namespace

bool HeldByAnotherProgram(Hotkey hotkey, Hotkey launcher1, Hotkey launcher2) {
  // The one way to ask whether a combination is free is to register it; given back at once.
  const UINT modifiers = static_cast<UINT>(hotkey.modifiers) | kModNoRepeat;
  if (RegisterHotKey(nullptr, kTrialId, modifiers, static_cast<UINT>(hotkey.key))) {
    UnregisterHotKey(nullptr, kTrialId);
    return false;
  }
  if (GetLastError() != ERROR_HOTKEY_ALREADY_REGISTERED) return false;  // no such key, not a holder
  const bool launcherRuns = FindWindowW(kLauncherClass, nullptr) != nullptr;
  return !(launcherRuns && (hotkey == launcher1 || hotkey == launcher2));
}

}  // namespace tav::settings
