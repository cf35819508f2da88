#include "launcher_settings.h"

#include "colour.h"

namespace tav {

LauncherSetup InterpretSettings(const Settings& s) {
  LauncherSetup r;
  r.backColour = ColourOrDefault(s.back, kDefaultBack);
  r.textColour = ColourOrDefault(s.text, kDefaultText);
  r.fontFace = s.font;
  r.fontPoints = BoxFontPoints(s.fontSize);
  r.bold = IsOn(s.bold);
  r.italic = IsOn(s.italic);
  r.key1 = s.key1;
  r.key2 = s.key2;
  r.mod1 = UsableModifiers(s.mod1, s.key1);
  r.mod2 = UsableModifiers(s.mod2, s.key2);
  r.keepFocus = IsOn(s.keepFocus);
  r.useSkin = IsOn(s.useSkin);
  r.autoComplete = s.autoComplete;
  return r;
}

}  // namespace tav
