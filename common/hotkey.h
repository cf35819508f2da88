// Hotkeys: a virtual-key code stored in decimal under Key1/Key2 and its modifiers under Mod1/Mod2
// (defaults in settings.h; a missing Mod is Alt).
#pragma once
#include <cstdint>

namespace tav {

// RegisterHotKey's modifier bits, as Mod1/Mod2 store them.
inline constexpr int kModAlt = 0x0001, kModControl = 0x0002, kModShift = 0x0004, kModWin = 0x0008;
inline constexpr int kModAll = kModAlt | kModControl | kModShift | kModWin;
inline constexpr unsigned kModNoRepeat = 0x4000;  // always added: a held key summons once
inline constexpr unsigned kHotkeyModifiers = kModAlt;

// Hotkey identifiers are the atoms themselves, widened as signed 16-bit numbers the same way
// on registration, on arrival and on release (atoms >= 0xC000 become negative).
constexpr int HotkeyIdFromAtom(std::uint16_t atom) { return static_cast<std::int16_t>(atom); }

}  // namespace tav
