// Readable names of the virtual-key codes a hotkey can be set to.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>

namespace tav::settings {

inline constexpr std::u16string_view kNotRecommended = u"推奨しません";

// The key cap or name of a code; every code without a name gives "推奨しません".
std::u16string KeyCodeName(std::int16_t code);

// The name shown beside a code label: the caption read as a 16-bit signed whole number.
// A caption that is no such number (out of range, or not a number at all) names no key.
std::u16string KeyNameOfCaption(std::u16string_view caption);

// The name beside a code label for the hotkey's stored modifiers: the key's name as above when
// they register as plain Alt, else the modifiers in front of it ("Ctrl+Shift+Space"), a key
// without a name here then named by its cap or code.
std::u16string HotkeyLabelName(int storedModifiers, std::u16string_view caption);

}  // namespace tav::settings
