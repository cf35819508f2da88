#include "colour.h"

namespace tav {
namespace {
int HexDigit(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}
}  // namespace

std::optional<std::uint32_t> ParseColour(std::u16string_view value) {
  if (value.size() > 6) return std::nullopt;
  std::uint32_t v = 0;
  for (char16_t c : value) {
    int d = HexDigit(c);
    if (d < 0) return std::nullopt;
    v = (v << 4) | static_cast<std::uint32_t>(d);
  }
  return v;
}

std::uint32_t ColourOrDefault(std::u16string_view value, std::uint32_t fallback) {
  return ParseColour(value).value_or(fallback);
}

std::u16string FormatColour(std::uint32_t bgr) {
  return ComponentString((bgr >> 16) & 0xFF) + ComponentString((bgr >> 8) & 0xFF) + ComponentString(bgr & 0xFF);
}

std::u16string ComponentString(int value) {
  static constexpr char16_t digits[] = u"0123456789ABCDEF";
  value &= 0xFF;
  return {digits[value >> 4], digits[value & 0xF]};
}

std::u16string HexNoPad(int value) {
  std::u16string s = ComponentString(value);
  return s[0] == u'0' ? s.substr(1) : s;
}

int LeadingHexValue(std::u16string_view text) {
  int v = 0;
  for (char16_t c : text) {
    int d = HexDigit(c);
    if (d < 0) break;
    v = v * 16 + d;
    if (v > 0xFFFFFF) break;  // the boxes hold two digits; never overflow on odd input
  }
  return v;
}

}  // namespace tav
