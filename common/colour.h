// Colours stored as six hexadecimal digits BBGGRR (blue first), i.e. the 0x00BBGGRR value.
#pragma once
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace tav {

// The colour a stored value stands for: "" is 0 (black); up to six hexadecimal digits in any
// case are read as one number; anything else (other characters, more digits) has no colour.
std::optional<std::uint32_t> ParseColour(std::u16string_view value);
// ParseColour, or fallback when the value is not a colour.
std::uint32_t ColourOrDefault(std::u16string_view value, std::uint32_t fallback);
// "0F00FF" form: six upper-case digits.
std::u16string FormatColour(std::uint32_t bgr);

// One component (0-255) as two upper-case digits ("0F") and without leading zero ("F").
std::u16string ComponentString(int value);
std::u16string HexNoPad(int value);
// The value of the leading hexadecimal digits of text ("ff" 255, "1z" 1, "z" 0).
int LeadingHexValue(std::u16string_view text);

inline constexpr std::uint32_t RgbValue(int r, int g, int b) {
  return static_cast<std::uint32_t>(r & 0xFF) | (static_cast<std::uint32_t>(g & 0xFF) << 8) |
         (static_cast<std::uint32_t>(b & 0xFF) << 16);
}

}  // namespace tav
