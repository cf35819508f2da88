// What the launcher makes of its settings at start-up.
#pragma once
#include <cstdint>
#include <string>

#include "settings.h"

namespace tav {

struct LauncherSetup {
  std::uint32_t backColour = 0xFFFFFF;  // 0x00BBGGRR
  std::uint32_t textColour = 0x000000;
  std::u16string fontFace;
  int fontPoints = 11;  // whole points
  bool bold = false;
  bool italic = false;
  int key1 = kDefaultKey1, key2 = kDefaultKey2;
  bool keepFocus = true;
  bool useSkin = true;
  int autoComplete = 1;  // the raw value; Completion decides
};

// Colours: an empty value is black; a value that is not hexadecimal gets the default colour
// (white background, black text). Bold, italic, focus keeping and skin only for exactly 1.
// A font size that is not a positive number of points gets the default 11.
LauncherSetup InterpretSettings(const Settings& s);

}  // namespace tav
