// Hotkeys: a virtual-key code stored in decimal under Key1/Key2 (defaults in settings.h); the
// modifier is always Alt.
#pragma once
#include <cstdint>

namespace tav {

inline constexpr unsigned kHotkeyModifiers = 0x0001;  // MOD_ALT, never stored

// Hotkey identifiers are the atoms themselves, widened as signed 16-bit numbers the same way
// on registration, on arrival and on release (atoms >= 0xC000 become negative).
constexpr int HotkeyIdFromAtom(std::uint16_t atom) { return static_cast<std::int16_t>(atom); }

}  // namespace tav
