#include "key_names.h"

#include <optional>

#include "hotkey.h"

namespace tav::settings {

std::u16string KeyCodeName(std::int16_t code) {
  if ((code >= '0' && code <= '9') || (code >= 'A' && code <= 'Z'))
    return std::u16string(1, static_cast<char16_t>(code)) + u" キー";
  switch (code) {
    case 8: return u"BackSpace";
    case 9: return u"Tab";
    case 12: return u"Clear";
    case 13: return u"Enter";
    case 16: return u"Shift";
    case 17: return u"Ctrl";
    case 18: return u"Menu";
    case 19: return u"Pause";
    case 20: return u"CapsLock";
    case 27: return u"Esc";
    case 32: return u"Space";
    case 33: return u"PageUp";
    case 34: return u"PageDown";
    case 35: return u"End";
    case 36: return u"Home";
    case 37: return u"\u2190";
    case 38: return u"\u2191";
    case 39: return u"\u2192";
    case 40: return u"\u2193";
    case 41: return u"Select";
    case 42: return u"PrintScreen";
    case 43: return u"Execute";
    case 44: return u"Snapshot";
    case 45: return u"Ins";
    case 46: return u"Del";
    case 47: return u"Help";
    case 144: return u"NumLock";
    // Key caps of the JIS layout.
    case 186: return u":";
    case 187: return u";";
    case 188: return u",";
    case 189: return u"-";
    case 190: return u".";
    case 191: return u"/";
    case 192: return u"@";
    case 219: return u"[";
    case 220: return u"\\";
    case 221: return u"]";
    case 222: return u"^";
    case 226: return u"\\";
    default: return std::u16string(kNotRecommended);
  }
}

namespace {
// A whole decimal number in the 16-bit signed range, blanks around it allowed.
std::optional<std::int16_t> ParseInt16(std::u16string_view s) {
  while (!s.empty() && s.front() == u' ') s.remove_prefix(1);
  while (!s.empty() && s.back() == u' ') s.remove_suffix(1);
  bool negative = false;
  if (!s.empty() && (s.front() == u'-' || s.front() == u'+')) {
    negative = s.front() == u'-';
    s.remove_prefix(1);
  }
  if (s.empty()) return std::nullopt;
  long value = 0;
  for (char16_t c : s) {
    if (c < u'0' || c > u'9') return std::nullopt;
    value = value * 10 + (c - u'0');
    if (value > 32768) return std::nullopt;
  }
  if (negative) value = -value;
  if (value > 32767) return std::nullopt;
  return static_cast<std::int16_t>(value);
}
}  // namespace

std::u16string KeyNameOfCaption(std::u16string_view caption) {
  auto code = ParseInt16(caption);
  return code ? KeyCodeName(*code) : std::u16string(kNotRecommended);
}

std::u16string HotkeyLabelName(int storedModifiers, std::u16string_view caption) {
  const std::optional<std::int16_t> code = ParseInt16(caption);
  const int modifiers = UsableModifiers(storedModifiers, code.value_or(0));
  std::u16string name = KeyNameOfCaption(caption);
  if (modifiers == kModAlt) return name;
  if (name == kNotRecommended && code) name = KeyCapName(*code);
  return ModifierNames(modifiers) + name;
}

}  // namespace tav::settings
