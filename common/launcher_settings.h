// What the launcher makes of its settings at start-up; the settings window's preview takes them
// the same way.
#pragma once
#include <cstdint>
#include <string>

#include "settings.h"

namespace tav {

struct LauncherSetup {
  std::uint32_t backColour = kDefaults.backColour;  // 0x00BBGGRR
  std::uint32_t textColour = kDefaults.textColour;
  std::u16string fontFace;
  int fontPoints = kDefaults.fontSize;  // whole points
  bool bold = IsOn(kDefaults.bold);
  bool italic = IsOn(kDefaults.italic);
  int key1 = kDefaults.key1, key2 = kDefaults.key2;
  bool keepFocus = IsOn(kDefaults.keepFocus);
  bool useSkin = IsOn(kDefaults.useSkin);
  int autoComplete = kDefaults.autoComplete;  // the raw value; Completion decides
};

// Colours: an empty value is black; a value that is not hexadecimal gets the default colour
// (white background, black text). Bold, italic, focus keeping and skin only for exactly 1.
// A font size that is not a positive number of points gets the default size.
LauncherSetup InterpretSettings(const Settings& s);

}  // namespace tav
