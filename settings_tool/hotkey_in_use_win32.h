// Whether a captured hotkey is held by another program, for the note beside its name.
#pragma once

namespace tav::settings {

inline constexpr wchar_t kHotkeyInUseNote[] = L"他のプログラムが使用中です";

// Alt+key is held by a program other than the running launcher. The launcher's keys are the ones
// it read from the settings file when it started: the keys this window read at its own start
// (a save in between reaches the launcher only at its next start). A key the launcher holds is
// not another program's; with no launcher running, every held key is.
bool HeldByAnotherProgram(int key, int launcherKey1, int launcherKey2);

}  // namespace tav::settings
