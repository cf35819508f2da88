// The settings file settings\tavimbra.ini: its keys, defaults, and the read and write orders.
#pragma once
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

#include "colour.h"
#include "hotkey.h"
#include "profile_file.h"

namespace tav {

// Each setting where the file has no value for it, or one the programs cannot use: what both
// programs read, what the launcher falls back on, what the settings window and its preview
// start with.
struct SettingDefaults {
  std::uint32_t backColour = 0xFFFFFF;  // 0x00BBGGRR: white
  std::uint32_t textColour = 0x000000;  // black
  std::u16string_view font = u"ＭＳ Ｐゴシック";
  int fontSize = 11;  // points
  int key1 = 79;      // O
  int key2 = 87;      // W
  int keepFocus = 1;
  int useSkin = 1;
  int autoComplete = 1;
  int bold = 0;
  int italic = 0;
  int sendTo = 0;
  int startUp = 0;
};
inline constexpr SettingDefaults kDefaults;

inline constexpr std::size_t kColourBufferBytes = 50;
inline constexpr std::size_t kFontBufferBytes = 100;

// The values as read; a default-made one holds the defaults, as stored.
struct Settings {
  std::u16string back = FormatColour(kDefaults.backColour);
  std::u16string text = FormatColour(kDefaults.textColour);
  std::u16string font{kDefaults.font};
  int key1 = kDefaults.key1;
  int key2 = kDefaults.key2;
  int keepFocus = kDefaults.keepFocus;
  int useSkin = kDefaults.useSkin;
  int autoComplete = kDefaults.autoComplete;
  int fontSize = kDefaults.fontSize;
  int bold = kDefaults.bold;
  int italic = kDefaults.italic;
  int sendTo = kDefaults.sendTo;    // settings program only
  int startUp = kDefaults.startUp;  // settings program only
};

// The largest box font: 48 points is the window's full 64-pixel height at 96 dpi; anything larger
// could show no whole line and, far larger, would overflow the font height.
inline constexpr double kMaxFontPoints = 48;
// The size the box font is made at: not a positive number (or not a number) gives the default size,
// more than kMaxFontPoints gives kMaxFontPoints.
double BoxFontPoints(double requested);

// An on/off value is on only when it is exactly 1.
constexpr bool IsOn(int value) { return value == 1; }

// The launcher's eleven reads, in its order.
Settings ReadLauncherSettings(ProfileFile& file);
// The settings program's thirteen reads: the launcher's eleven, then SendTo and StartUP.
Settings ReadAllSettings(ProfileFile& file);

// The texts the settings window saves, one per key.
struct SettingsToSave {
  std::u16string back, text, autoComplete, keepFocus, useSkin, key1, key2, font, fontSize, bold, italic, sendTo,
      startUp;
  bool writeFont = true;  // false: the file keeps its Font
};

// Writes all thirteen keys in the file's order ("key1"/"key2" spelt as the writer spells them).
// beforeSendTo and beforeStartUp run directly before the SendTo and StartUP writes (shortcut work).
// Write results are not looked at: a missing settings folder simply leaves no file.
void WriteSettings(ProfileFile& file, const SettingsToSave& values, const std::function<void()>& beforeSendTo = {},
                   const std::function<void()>& beforeStartUp = {});

}  // namespace tav
