#include "settings.h"

namespace tav {

double BoxFontPoints(double requested) {
  if (!(requested > 0)) return kDefaults.fontSize;  // also NaN
  return requested < kMaxFontPoints ? requested : kMaxFontPoints;
}

Settings ReadLauncherSettings(ProfileFile& f) {
  Settings s;  // each read's default is the value it replaces
  s.back = f.ReadString(u"Back", s.back, kColourBufferBytes);
  s.text = f.ReadString(u"Text", s.text, kColourBufferBytes);
  s.font = f.ReadString(u"Font", s.font, kFontBufferBytes);
  s.key1 = f.ReadInt(u"Key1", s.key1);
  s.key2 = f.ReadInt(u"Key2", s.key2);
  s.keepFocus = f.ReadInt(u"KeepFocus", s.keepFocus);
  s.useSkin = f.ReadInt(u"UseSkin", s.useSkin);
  s.autoComplete = f.ReadInt(u"AutoComplete", s.autoComplete);
  s.fontSize = f.ReadInt(u"FontSize", s.fontSize);
  s.bold = f.ReadInt(u"Bold", s.bold);
  s.italic = f.ReadInt(u"Italic", s.italic);
  return s;
}

Settings ReadAllSettings(ProfileFile& f) {
  Settings s = ReadLauncherSettings(f);
  s.sendTo = f.ReadInt(u"SendTo", s.sendTo);
  s.startUp = f.ReadInt(u"StartUP", s.startUp);
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
