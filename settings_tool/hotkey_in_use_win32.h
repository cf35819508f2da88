// Whether a captured hotkey is held by another program, for the note beside its name.
#pragma once
#include "hotkey.h"

namespace tav::settings {

inline constexpr wchar_t kHotkeyInUseNote[] = L"他のプログラムが使用中です";

// The combination is held by a program other than the running launcher. The launcher is asked
// which combinations it holds now: they may differ from the settings file (a save reaches it only
// at its next start). With no launcher running, every held combination is another program's.
bool HeldByAnotherProgram(Hotkey hotkey);

}  // namespace tav::settings
