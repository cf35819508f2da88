// The settings file settings\tavimbra.ini: its keys, defaults, and the read and write orders.
#pragma once
#include <functional>
#include <string>

#include "hotkey.h"
#include "profile_file.h"

namespace tav {

inline constexpr std::u16string_view kDefaultBack = u"FFFFFF";
inline constexpr std::u16string_view kDefaultText = u"000000";
inline constexpr std::u16string_view kDefaultFont = u"ＭＳ Ｐゴシック";
inline constexpr std::size_t kColourBufferBytes = 50;
inline constexpr std::size_t kFontBufferBytes = 100;

struct Settings {
  std::u16string back{kDefaultBack};
  std::u16string text{kDefaultText};
  std::u16string font{kDefaultFont};
  int key1 = kDefaultKey1;
  int key2 = kDefaultKey2;
  int keepFocus = 1;
  int useSkin = 1;
  int autoComplete = 1;
  int fontSize = 11;
  int bold = 0;
  int italic = 0;
  int sendTo = 0;   // settings program only
  int startUp = 0;  // settings program only
};

// The largest box font: 48 points is the window's full 64-pixel height at 96 dpi; anything larger
// could show no whole line and, far larger, would overflow the font height.
inline constexpr double kMaxFontPoints = 48;
// The size the box font is made at: not a positive number (or not a number) gives the default 11,
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
