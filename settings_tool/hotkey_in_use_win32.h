// Whether a captured hotkey is held by another program, for the note beside its name.
#pragma once
#include "hotkey.h"

namespace tav::settings {

inline constexpr wchar_t kHotkeyInUseNote[] = L"他のプログラムが使用中です";

// The combination is held by a program other than the running launcher. The launcher's hotkeys are
// the ones it read from the settings file when it started: the ones this window read at its own
// start (a save in between reaches the launcher only at its next start). A combination the
// launcher holds is not another program's; with no launcher running, every held one is.
bool HeldByAnotherProgram(Hotkey hotkey, Hotkey launcher1, Hotkey launcher2);

}  // namespace tav::settings
