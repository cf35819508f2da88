#include "settings.h"

namespace tav {

double BoxFontPoints(double requested) {
  if (!(requested > 0)) return 11;  // also NaN
  return requested < kMaxFontPoints ? requested : kMaxFontPoints;
}

Settings ReadLauncherSettings(ProfileFile& f) {
  Settings s;
  s.back = f.ReadString(u"Back", kDefaultBack, kColourBufferBytes);
  s.text = f.ReadString(u"Text", kDefaultText, kColourBufferBytes);
  s.font = f.ReadString(u"Font", kDefaultFont, kFontBufferBytes);
  s.key1 = f.ReadInt(u"Key1", kDefaultKey1);
  s.key2 = f.ReadInt(u"Key2", kDefaultKey2);
  s.keepFocus = f.ReadInt(u"KeepFocus", 1);
  s.useSkin = f.ReadInt(u"UseSkin", 1);
  s.autoComplete = f.ReadInt(u"AutoComplete", 1);
  s.fontSize = f.ReadInt(u"FontSize", 11);
  s.bold = f.ReadInt(u"Bold", 0);
  s.italic = f.ReadInt(u"Italic", 0);
  return s;
}

Settings ReadAllSettings(ProfileFile& f) {
  Settings s = ReadLauncherSettings(f);
  s.sendTo = f.ReadInt(u"SendTo", 0);
  s.startUp = f.ReadInt(u"StartUP", 0);
  return s;
}

void WriteSettings(ProfileFile& f, const SettingsToSave& v, const std::function<void()>& beforeSendTo,
                   const std::function<void()>& beforeStartUp) {
  f.WriteString(u"Back", v.back);
  f.WriteString(u"Text", v.text);
  f.WriteString(u"AutoComplete", v.autoComplete);
  f.WriteString(u"KeepFocus", v.keepFocus);
  f.WriteString(u"UseSkin", v.useSkin);
  f.WriteString(u"key1", v.key1);
  f.WriteString(u"key2", v.key2);
  if (v.writeFont) f.WriteString(u"Font", v.font);
  f.WriteString(u"FontSize", v.fontSize);
  f.WriteString(u"Bold", v.bold);
  f.WriteString(u"Italic", v.italic);
  if (beforeSendTo) beforeSendTo();
  f.WriteString(u"SendTo", v.sendTo);
  if (beforeStartUp) beforeStartUp();
  f.WriteString(u"StartUP", v.startUp);
}

}  // namespace tav
