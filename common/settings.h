// The settings file settings\tavimbra.ini: one table of its keys (spelling, kind, default, read
// buffer, rule), one loop that reads them and one that writes them.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

#include "colour.h"
#include "hotkey.h"
#include "profile_file.h"

namespace tav {

// The keys in the order the settings program writes them (a new file holds them in this order).
enum class SettingId {
  Back, Text, AutoComplete, KeepFocus, UseSkin, Key1, Key2, Font, FontSize, Bold, Italic, SendTo, StartUp,
  Mod1, Mod2,
  Count
};
inline constexpr std::size_t kSettingCount = static_cast<std::size_t>(SettingId::Count);

enum class SettingKind {
  Colour,     // six hexadecimal digits BBGGRR, read as text
  FontFace,   // read as text
  OnOff,      // on only when exactly 1
  KeyCode,    // a virtual-key code in decimal
  FontSize,   // points, the size box's text as typed; read as the whole number at its start
  Modifiers,  // the hotkey's MOD_* bits
};

enum class ReadBy { Both, SettingsProgram };
enum class WriteWhen {
  Always,
  // Only when the value or the one read at load is not the default: a file that never had the key
  // keeps its bytes when nothing changed (a missing key reads as the default anyway).
  ChangedOrStored,
};

// The values as read; a default-made one holds the table's defaults.
struct Settings {
  std::u16string back, text, font;
  int autoComplete, keepFocus, useSkin, key1, key2, fontSize, bold, italic, sendTo, startUp, mod1, mod2;
  Settings();
};

struct SettingKey {
  SettingId id;
  std::u16string_view name;     // as read
  std::u16string_view written;  // as written (the hotkeys' spelling differs; keys match without case)
  SettingKind kind;
  std::u16string_view textDefault;  // Colour, FontFace
  int numberDefault;                // the other kinds
  std::size_t bufferBytes;          // text kinds: the read buffer, in bytes of the file's code page
  ReadBy readBy;
  WriteWhen write;
  std::u16string Settings::*text;
  int Settings::*number;

  bool IsText() const { return text != nullptr; }
};

inline constexpr std::size_t kColourBufferBytes = 50;
inline constexpr std::size_t kFontBufferBytes = 100;

// clang-format off
inline constexpr std::array<SettingKey, kSettingCount> kSettingKeys = {{
  {SettingId::Back,         u"Back",         u"Back",         SettingKind::Colour,    u"FFFFFF", 0,  kColourBufferBytes, ReadBy::Both, WriteWhen::Always, &Settings::back, nullptr},
  {SettingId::Text,         u"Text",         u"Text",         SettingKind::Colour,    u"000000", 0,  kColourBufferBytes, ReadBy::Both, WriteWhen::Always, &Settings::text, nullptr},
  {SettingId::AutoComplete, u"AutoComplete", u"AutoComplete", SettingKind::OnOff,     {},        1,  0, ReadBy::Both, WriteWhen::Always, nullptr, &Settings::autoComplete},
  {SettingId::KeepFocus,    u"KeepFocus",    u"KeepFocus",    SettingKind::OnOff,     {},        1,  0, ReadBy::Both, WriteWhen::Always, nullptr, &Settings::keepFocus},
  {SettingId::UseSkin,      u"UseSkin",      u"UseSkin",      SettingKind::OnOff,     {},        1,  0, ReadBy::Both, WriteWhen::Always, nullptr, &Settings::useSkin},
  {SettingId::Key1,         u"Key1",         u"key1",         SettingKind::KeyCode,   {},        79, 0, ReadBy::Both, WriteWhen::Always, nullptr, &Settings::key1},  // O
  {SettingId::Key2,         u"Key2",         u"key2",         SettingKind::KeyCode,   {},        87, 0, ReadBy::Both, WriteWhen::Always, nullptr, &Settings::key2},  // W
  {SettingId::Font,         u"Font",         u"Font",         SettingKind::FontFace,  u"ＭＳ Ｐゴシック", 0, kFontBufferBytes, ReadBy::Both, WriteWhen::Always, &Settings::font, nullptr},
  {SettingId::FontSize,     u"FontSize",     u"FontSize",     SettingKind::FontSize,  {},        11, 0, ReadBy::Both, WriteWhen::Always, nullptr, &Settings::fontSize},
  {SettingId::Bold,         u"Bold",         u"Bold",         SettingKind::OnOff,     {},        0,  0, ReadBy::Both, WriteWhen::Always, nullptr, &Settings::bold},
  {SettingId::Italic,       u"Italic",       u"Italic",       SettingKind::OnOff,     {},        0,  0, ReadBy::Both, WriteWhen::Always, nullptr, &Settings::italic},
  {SettingId::SendTo,       u"SendTo",       u"SendTo",       SettingKind::OnOff,     {},        0,  0, ReadBy::SettingsProgram, WriteWhen::Always, nullptr, &Settings::sendTo},
  {SettingId::StartUp,      u"StartUP",      u"StartUP",      SettingKind::OnOff,     {},        0,  0, ReadBy::SettingsProgram, WriteWhen::Always, nullptr, &Settings::startUp},
  {SettingId::Mod1,         u"Mod1",         u"Mod1",         SettingKind::Modifiers, {},        kModAlt, 0, ReadBy::Both, WriteWhen::ChangedOrStored, nullptr, &Settings::mod1},
  {SettingId::Mod2,         u"Mod2",         u"Mod2",         SettingKind::Modifiers, {},        kModAlt, 0, ReadBy::Both, WriteWhen::ChangedOrStored, nullptr, &Settings::mod2},
}};
// The order of the reads: the launcher's, then what only the settings program reads.
inline constexpr std::array<SettingId, kSettingCount> kReadOrder = {
    SettingId::Back,   SettingId::Text,     SettingId::Font,   SettingId::Key1,   SettingId::Key2,
    SettingId::KeepFocus, SettingId::UseSkin, SettingId::AutoComplete, SettingId::FontSize, SettingId::Bold,
    SettingId::Italic, SettingId::Mod1,     SettingId::Mod2,   SettingId::SendTo, SettingId::StartUp};
// clang-format on

constexpr const SettingKey& KeyOf(SettingId id) { return kSettingKeys[static_cast<std::size_t>(id)]; }
constexpr int DefaultNumber(SettingId id) { return KeyOf(id).numberDefault; }
constexpr std::u16string_view DefaultText(SettingId id) { return KeyOf(id).textDefault; }
constexpr std::uint32_t HexDigits(std::u16string_view s) {
  std::uint32_t v = 0;
  for (char16_t c : s) v = v * 16 + (c <= u'9' ? c - u'0' : c - u'A' + 10);
  return v;
}
// The default colours as the platform's 0x00BBGGRR.
inline constexpr std::uint32_t kDefaultBack = HexDigits(DefaultText(SettingId::Back));
inline constexpr std::uint32_t kDefaultText = HexDigits(DefaultText(SettingId::Text));

// An on/off value is on only when it is exactly 1.
constexpr bool IsOn(int value) { return value == 1; }

// The largest box font: 48 points is the window's full 64-pixel height at 96 dpi; anything larger
// could show no whole line and, far larger, would overflow the font height.
inline constexpr double kMaxFontPoints = 48;
// The size the box font is made at: not a positive number (or not a number) gives the default size,
// more than kMaxFontPoints gives kMaxFontPoints.
double BoxFontPoints(double requested);

// The launcher's reads, in its order.
Settings ReadLauncherSettings(ProfileFile& file);
// The settings program's reads: the launcher's, then SendTo and StartUP.
Settings ReadAllSettings(ProfileFile& file);

// The texts a save writes, one per key; an empty optional leaves the key as the file has it.
using SettingTexts = std::array<std::optional<std::u16string>, kSettingCount>;
inline std::optional<std::u16string>& At(SettingTexts& t, SettingId id) { return t[static_cast<std::size_t>(id)]; }

// The text a save writes for a number key, given the value read at load; nothing where the key's
// rule leaves the file as it is.
std::optional<std::u16string> NumberToWrite(SettingId id, int value, int asRead);

// Writes every key in the table's order, the hotkeys spelt as the writer spells them. before(id)
// runs directly before each key's write (the shortcut work of SendTo and StartUP). Write results
// are the file's to report (the caller wraps it to note failures).
void WriteSettings(ProfileFile& file, const SettingTexts& values,
                   const std::function<void(SettingId)>& before = {});

}  // namespace tav
