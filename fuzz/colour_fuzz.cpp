// Colours and numbers of the settings: stored colour values, the six component boxes and scroll
// bars, integer values and the font-size box.
#include <algorithm>
#include <cmath>

#include "colour.h"
#include "colour_components.h"
#include "fuzz_target.h"
#include "key_names.h"
#include "profile_file.h"
#include "settings_form.h"
#include "text_encoding.h"

namespace tav::fuzz {
namespace {

constexpr std::u16string_view kAlphabet = u"0123456789abcdefABCDEFxXoObB+- .\t\uFF10g\u0660";

int Hex(char16_t c) {
  if (c >= u'0' && c <= u'9') return c - u'0';
  if (c >= u'a' && c <= u'f') return c - u'a' + 10;
  if (c >= u'A' && c <= u'F') return c - u'A' + 10;
  return -1;
}

bool IsUpperHex(std::u16string_view s) {
  for (char16_t c : s)
    if (Hex(c) < 0 || (c >= u'a' && c <= u'f')) return false;
  return true;
}

void CheckComponents(const settings::ColourComponents& m, const std::uint32_t* lastPreview) {
  using namespace settings;
  for (int c = 0; c < kComponentCount; ++c) {
    TAV_CHECK(m.BoxText(c).size() <= static_cast<std::size_t>(kMaxComponentChars));
    TAV_CHECK(m.ScrollValue(c) >= 0 && m.ScrollValue(c) <= 255);
    TAV_CHECK(m.Number(c) >= 0 && m.Number(c) <= 255);
    TAV_CHECK(m.ComponentText(c).size() == 2 && IsUpperHex(m.ComponentText(c)));
  }
  for (int t = 0; t < 2; ++t) {
    const std::u16string& s = t ? m.TextColour() : m.BackColour();
    if (s.empty()) continue;
    // Blue, green, red: the component strings of that colour, joined in that order.
    const int first = t ? kTextRed : kBackRed;
    TAV_CHECK(s == m.ComponentText(first + 2) + m.ComponentText(first + 1) + m.ComponentText(first));
    auto v = ParseColour(s);
    TAV_CHECK(v.has_value() && FormatColour(*v) == s);
    if (lastPreview[t] != 0xFFFFFFFFu) TAV_CHECK(lastPreview[t] == *v);
  }
}

}  // namespace

TAV_FUZZ_TARGET(colour) {
  Input in(data, size);
  const std::u16string a = in.Text(kAlphabet, 9);
  const std::u16string b = in.Text(kAlphabet, 9);

  // Stored colour values: up to six hexadecimal digits are one number, anything else none.
  auto parsed = ParseColour(a);
  bool hexOnly = a.size() <= 6;
  std::uint32_t expect = 0;
  for (char16_t c : a) {
    hexOnly = hexOnly && Hex(c) >= 0;
    if (Hex(c) >= 0) expect = expect * 16 + static_cast<std::uint32_t>(Hex(c));
  }
  TAV_CHECK(parsed.has_value() == hexOnly);
  if (parsed) {
    TAV_CHECK(*parsed == expect && *parsed <= 0xFFFFFF);
    TAV_CHECK(ParseColour(FormatColour(*parsed)) == parsed);
  }
  TAV_CHECK(ColourOrDefault(a, 0x123456) == (parsed ? *parsed : 0x123456u));
  const std::uint32_t bgr = (static_cast<std::uint32_t>(in.Byte()) << 16) | (in.Byte() << 8) | in.Byte();
  const std::u16string formatted = FormatColour(bgr);
  TAV_CHECK(formatted.size() == 6 && IsUpperHex(formatted) && ParseColour(formatted) == bgr);
  TAV_CHECK(FormatColour(RgbValue(bgr & 0xFF, (bgr >> 8) & 0xFF, bgr >> 16)) == formatted);

  // One component: two digits, or without the leading zero; the leading digits read back.
  const int component = in.Byte();
  TAV_CHECK(LeadingHexValue(ComponentString(component)) == component);
  TAV_CHECK(LeadingHexValue(HexNoPad(component)) == component);
  TAV_CHECK(HexNoPad(component).size() == (component < 16 ? 1u : 2u));
  const int lead = LeadingHexValue(a);
  TAV_CHECK(lead >= 0);
  if (!a.empty() && Hex(a[0]) >= 0 && (a.size() < 2 || Hex(a[1]) < 0)) TAV_CHECK(lead == Hex(a[0]));

  // Integer values: the leading number, 32-bit wrap-around, 0x/0o/0b prefixes.
  const std::int32_t n = static_cast<std::int32_t>((static_cast<std::uint32_t>(in.Byte()) << 24) |
                                                   (in.Byte() << 16) | (in.Byte() << 8) | in.Byte());
  TAV_CHECK(ParseProfileInt(ToDecimal(n)) == n);
  TAV_CHECK(ParseProfileInt(u" \t" + ToDecimal(n) + u".5") == n);
  TAV_CHECK(ParseProfileInt(u"0x" + FormatColour(static_cast<std::uint32_t>(n) & 0xFFFFFF)) == (n & 0xFFFFFF));
  TAV_CHECK(ParseProfileInt(u"  " + a) == ParseProfileInt(a));
  TAV_CHECK(ParseProfileInt(u"-" + ToDecimal(n & 0x7FFFFFFF)) == -(n & 0x7FFFFFFF));

  // Hotkey captions: the settings program names the key the launcher will read from the value.
  const std::int16_t code = static_cast<std::int16_t>(n & 0xFFFF);
  TAV_CHECK(settings::KeyNameOfCaption(ToDecimal(code)) == settings::KeyCodeName(code));
  TAV_CHECK(settings::KeyNameOfCaption(u" " + ToDecimal(code) + u" ") == settings::KeyCodeName(code));
  TAV_CHECK(settings::KeyNameOfCaption(ToDecimal(32768 + (n & 0xFFFF))) == settings::kNotRecommended);
  TAV_CHECK(settings::KeyNameOfCaption(ToDecimal(-32769 - (n & 0xFFFF))) == settings::kNotRecommended);
  for (const std::u16string& t : {a, b}) {
    const std::u16string name = settings::KeyNameOfCaption(t);
    if (name != settings::kNotRecommended)
      TAV_CHECK(name == settings::KeyCodeName(static_cast<std::int16_t>(ParseProfileInt(t))));
  }

  // The font-size box: a whole positive number stays, anything else becomes the default size;
  // a size the box keeps is one the preview can show at the same whole points.
  for (const std::u16string& t : {a, b}) {
    auto left = settings::FontSizeOnLeave(t);
    TAV_CHECK(!left || *left == ToDecimal(DefaultNumber(SettingId::FontSize)));
    auto preview = settings::PreviewFontSize(t);
    if (preview) TAV_CHECK(*preview > 0 && *preview <= 1000 && std::isfinite(*preview));
    if (!left && preview) TAV_CHECK(static_cast<int>(*preview) == ParseProfileInt(t) || *preview < 1);
  }
  TAV_CHECK(!settings::FontSizeOnLeave(ToDecimal(1 + (n & 0xFFF))));

  // The component model: stored values put in by position, then user edits, scroll moves and
  // focus changes in any order; boxes, bars, numbers and colour strings stay consistent.
  settings::ColourComponents m;
  std::uint32_t lastPreview[2] = {0xFFFFFFFFu, 0xFFFFFFFFu};
  m.OnPreviewColour([&](bool text, std::uint32_t v) { lastPreview[text] = v; });
  m.ResetStrings();
  m.AssignStored(a, b);
  CheckComponents(m, lastPreview);
  if (parsed && a.size() == 6) TAV_CHECK(m.BackColour() == FormatColour(*parsed));
  while (!in.Empty()) {
    const int c = static_cast<int>(in.Below(settings::kComponentCount));
    switch (in.Below(4)) {
      case 0:
        m.BoxChanged(c, in.Text(kAlphabet, 3));
        break;
      case 1:
        m.AssignBox(c, in.Text(kAlphabet, 3));
        break;
      case 2:
        m.BoxLeft(c);
        TAV_CHECK(!m.BoxText(c).empty());
        break;
      case 3: {
        const int v = static_cast<int>(in.Byte()) - 64 + static_cast<int>(in.Byte());
        const int was = m.ScrollValue(c);
        m.ScrollTo(c, v);
        TAV_CHECK(m.ScrollValue(c) == std::clamp(v, 0, 255));
        // A bar that moved shows its value in the box (a bar left where it was changes nothing).
        if (m.ScrollValue(c) != was) TAV_CHECK(LeadingHexValue(m.BoxText(c)) == m.ScrollValue(c));
        break;
      }
    }
    CheckComponents(m, lastPreview);
  }
  return 0;
}

}  // namespace tav::fuzz
