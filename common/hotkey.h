// Hotkeys: a virtual-key code stored in decimal under Key1/Key2 and its modifiers under Mod1/Mod2
// (defaults in settings.h; a missing Mod is Alt).
#pragma once
#include <cstdint>
#include <string>

namespace tav {

// RegisterHotKey's modifier bits, as Mod1/Mod2 store them.
inline constexpr int kModAlt = 0x0001, kModControl = 0x0002, kModShift = 0x0004, kModWin = 0x0008;
inline constexpr int kModAll = kModAlt | kModControl | kModShift | kModWin;
inline constexpr unsigned kModNoRepeat = 0x4000;  // always added: a held key summons once

// Hotkey identifiers are the atoms themselves, widened as signed 16-bit numbers the same way
// on registration, on arrival and on release (atoms >= 0xC000 become negative).
constexpr int HotkeyIdFromAtom(std::uint16_t atom) { return static_cast<std::int16_t>(atom); }

// A combination as registered: modifier bits (without kModNoRepeat) and a virtual-key code.
struct Hotkey {
  int modifiers = kModAlt;
  int key = 0;
  bool operator==(const Hotkey&) const = default;
};

// A key that types no character: F1-F24, 無変換, 変換, カタカナ/ひらがな, Pause, Scroll Lock.
// Only these may be a hotkey with no modifier; any other would be lost to every program.
bool KeyTypesNothing(int vk);

// The modifiers a stored Mod value registers with key: the stored bits when they are
// modifiers and not none, none for a key that types nothing; anything else means Alt.
int UsableModifiers(int stored, int key);

// Shift, Ctrl, Alt or Win (either side): a key that is held for a combination.
bool IsModifierKey(int vk);

// "Ctrl+Shift+": the modifiers in the order Ctrl, Alt, Shift, Win, each followed by "+".
std::u16string ModifierNames(int modifiers);
// A key by its cap: letters, digits, F1-F24, Space and the keys that type nothing; any other
// by its code ("キーコード 187").
std::u16string KeyCapName(int key);
// "Alt+O", "Ctrl+Shift+Space", "F1" (no modifier).
inline std::u16string HotkeyName(int modifiers, int key) { return ModifierNames(modifiers) + KeyCapName(key); }

// A combination that never reaches a program's hotkey: the system keeps it (Win+L,
// Ctrl+Alt+Del, ...) or the input method switches with it (Ctrl+Space, Alt+半角/全角).
enum class ReservedBy { none, system, inputMethod };
ReservedBy ReservedCombination(int modifiers, int key);

}  // namespace tav
