// The launcher as another program sees it: its window class, its start-up finished, its single
// instance, and hotkeys another program holds before it.
#pragma once
#include <windows.h>

#include <chrono>
#include <initializer_list>

#include "driver/process.h"
#include "driver/wait.h"
#include "launcher_window.h"

namespace tav::e2e {

// Waits until the launcher whose window is form has finished its start-up: its atoms
// "HOTKEY1"/"HOTKEY2" exist (added just before the hotkeys are registered and the hook
// installed) and, after that, the window answers a message (nothing between the atoms and the
// message loop serves messages). Never registers a hotkey of its own, which would take it away
// from a launcher registering at that moment.
bool WaitForLauncherReady(HWND form, std::chrono::milliseconds timeout = kStartTimeout);
// A launcher runs in this session (its single-instance mutex exists): the user's own, or one a
// test left running.
bool LauncherRunning();
// The launcher's icon is in the notification area: the shell answers a change to an icon only
// while that icon exists.
bool IconExists(HWND form);
// Atoms "HOTKEY1"/"HOTKEY2" left by a launcher that was killed (they outlive it): they would pass
// for the next launcher's. Nothing while a launcher runs.
void RemoveLeftoverLauncherAtoms();

// Another program (hotkey_holder.exe) holding Alt plus each of the keys, for as long as this lives.
class HeldHotkeys {
 public:
  explicit HeldHotkeys(std::initializer_list<WORD> keys);
  // True once the program holds them all (it stops at once when one is refused).
  bool Held() const { return window_ != nullptr; }

 private:
  Process proc_;
  HWND window_ = nullptr;
};

}  // namespace tav::e2e
