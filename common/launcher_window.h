// The launcher's window class: how Tavimset, the tests and the benchmark find the running launcher.
#pragma once
#include <cstdint>

namespace tav {

inline constexpr wchar_t kLauncherClass[] = L"TavimbraForm1";

// The hotkeys the running launcher holds now (it reads its keys only at its start), published as
// properties of its window: one per hotkey it holds, absent for one it could not register.
inline constexpr const wchar_t* kHeldHotkeyProperties[2] = {L"TavimbraHeldHotkey1", L"TavimbraHeldHotkey2"};

// A held hotkey's property value: RegisterHotKey's modifier bits above the virtual-key code (never
// zero, so never taken for an absent property).
constexpr std::uintptr_t HeldHotkeyValue(unsigned modifiers, int key) {
  return (static_cast<std::uintptr_t>(modifiers) << 16) | (static_cast<std::uintptr_t>(key) & 0xFFFF);
}

}  // namespace tav
