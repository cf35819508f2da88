#include "launcher_settings.h"

#include "colour.h"

namespace tav {

namespace {
constexpr std::uint32_t kDefaultBackColour = 0xFFFFFF, kDefaultTextColour = 0x000000;
constexpr int kDefaultPoints = 11;
}  // namespace

LauncherSetup InterpretSettings(const Settings& s) {
  LauncherSetup r;
  r.backColour = ColourOrDefault(s.back, kDefaultBackColour);
  r.textColour = ColourOrDefault(s.text, kDefaultTextColour);
  r.fontFace = s.font;
  r.fontPoints = s.fontSize > 0 ? s.fontSize : kDefaultPoints;
  r.bold = IsOn(s.bold);
  r.italic = IsOn(s.italic);
  r.key1 = s.key1;
  r.key2 = s.key2;
  r.keepFocus = IsOn(s.keepFocus);
  r.useSkin = IsOn(s.useSkin);
  r.autoComplete = s.autoComplete;
  return r;
}

}  // namespace tav
