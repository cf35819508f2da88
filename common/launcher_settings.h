// What the launcher makes of its settings at start-up; the settings window's preview takes them
// the same way.
#pragma once
#include <cstdint>
#include <string>

#include "settings.h"

namespace tav {

struct LauncherSetup {
  std::uint32_t backColour = kDefaultBack;  // 0x00BBGGRR
  std::uint32_t textColour = kDefaultText;
  std::u16string fontFace;
  double fontPoints = DefaultNumber(SettingId::FontSize);  // BoxFontPoints of the stored whole points
  bool bold = IsOn(DefaultNumber(SettingId::Bold));
  bool italic = IsOn(DefaultNumber(SettingId::Italic));
  int key1 = DefaultNumber(SettingId::Key1), key2 = DefaultNumber(SettingId::Key2);
  int mod1 = kModAlt, mod2 = kModAlt;  // what each hotkey registers with (UsableModifiers)
  bool keepFocus = IsOn(DefaultNumber(SettingId::KeepFocus));
  bool useSkin = IsOn(DefaultNumber(SettingId::UseSkin));
  int autoComplete = DefaultNumber(SettingId::AutoComplete);  // the raw value; Completion decides
};

// Colours: an empty value is black; a value that is not hexadecimal gets the default colour
// (white background, black text). Bold, italic, focus keeping and skin only for exactly 1.
// The font size by BoxFontPoints. The hotkeys' modifiers by UsableModifiers.
LauncherSetup InterpretSettings(const Settings& s);

}  // namespace tav
