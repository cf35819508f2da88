#include "settings_form.h"

#include <vector>

#include "text_encoding.h"

namespace tav::settings {

namespace {
std::u16string OnOff(bool on) { return on ? u"1" : u"0"; }

bool IsDigit(char16_t c) { return c >= u'0' && c <= u'9'; }

// The decimal number at the start of text (blanks first allowed, one sign, one fraction), and
// how many characters it took; nothing when no digit stands there.
std::optional<std::pair<double, std::size_t>> LeadingNumber(std::u16string_view text) {
  std::size_t i = 0;
  while (i < text.size() && (text[i] == u' ' || text[i] == u'\t')) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == u'-' || text[i] == u'+')) negative = text[i++] == u'-';
  double value = 0;
  bool digits = false;
  for (; i < text.size() && IsDigit(text[i]); ++i) {
    digits = true;
    if (value < 1e9) value = value * 10 + (text[i] - u'0');
  }
  if (i < text.size() && text[i] == u'.') {
    double scale = 0.1;
    for (++i; i < text.size() && IsDigit(text[i]); ++i, scale /= 10) {
      digits = true;
      value += (text[i] - u'0') * scale;
    }
  }
  if (!digits) return std::nullopt;
  return std::make_pair(negative ? -value : value, i);
}
}  // namespace

SettingTexts ToSave(const FormValues& v) {
  SettingTexts s;
  At(s, SettingId::Back) = v.backColour;
  At(s, SettingId::Text) = v.textColour;
  At(s, SettingId::AutoComplete) = OnOff(v.autoComplete);
  At(s, SettingId::KeepFocus) = OnOff(v.keepFocus);
  At(s, SettingId::UseSkin) = OnOff(v.useSkin);
  At(s, SettingId::Key1) = v.key1Caption;
  At(s, SettingId::Key2) = v.key2Caption;
  if (v.fontStorable) At(s, SettingId::Font) = v.fontFace;
  At(s, SettingId::FontSize) = v.fontSizeText;
  At(s, SettingId::Bold) = OnOff(v.bold);
  At(s, SettingId::Italic) = OnOff(v.italic);
  At(s, SettingId::SendTo) = OnOff(v.sendTo);
  At(s, SettingId::StartUp) = OnOff(v.startUp);
  At(s, SettingId::Mod1) = NumberToWrite(SettingId::Mod1, v.modifiers[0], v.modifiersAsRead[0]);
  At(s, SettingId::Mod2) = NumberToWrite(SettingId::Mod2, v.modifiers[1], v.modifiersAsRead[1]);
  return s;
}

namespace {
// The file as the save writes it, noting the first write that fails and why.
class CheckedWrites : public ProfileFile {
 public:
  CheckedWrites(ProfileFile& file, const std::function<std::u16string()>& why) : file_(file), why_(why) {}
  std::u16string ReadString(std::u16string_view key, std::u16string_view def, std::size_t bytes) override {
    return file_.ReadString(key, def, bytes);
  }
  int ReadInt(std::u16string_view key, int def) override { return file_.ReadInt(key, def); }
  bool WriteString(std::u16string_view key, std::u16string_view value) override {
    if (file_.WriteString(key, value)) return true;
    if (!failure) failure = why_ ? why_() : std::u16string();
    return false;
  }
  std::optional<std::u16string> failure;  // the reason of the first failed write

 private:
  ProfileFile& file_;
  const std::function<std::u16string()>& why_;
};
}  // namespace

std::optional<std::u16string> SaveSettings(ProfileFile& file, const FormValues& values, ShortcutWork& shortcuts,
                                           std::u16string_view path,
                                           const std::function<std::u16string()>& writeFailure,
                                           const std::function<std::optional<std::u16string>()>& commit) {
  const SettingKey& font = KeyOf(SettingId::Font);
  bool faceNotStored = false;
  if (!values.fontStorable) {
    constexpr std::u16string_view kMissing = u"\x01";  // no face name holds it
    faceNotStored =
        values.fontFace != font.textDefault || file.ReadString(font.name, kMissing, font.bufferBytes) != kMissing;
  }
  CheckedWrites checked(file, writeFailure);
  WriteSettings(checked, ToSave(values), [&](SettingId id) {
    if (id == SettingId::SendTo) shortcuts.SendTo(values.sendTo);
    if (id == SettingId::StartUp) shortcuts.StartUp(values.startUp);
  });
  if (!checked.failure && commit) checked.failure = commit();
  std::vector<std::u16string> parts;
  if (checked.failure) parts.push_back(WriteFailedMessage(path, *checked.failure));
  if (faceNotStored) parts.push_back(FaceNotStoredMessage(values.fontFace, !checked.failure));
  if (values.startUp && shortcuts.StartUpTurnedOff()) parts.push_back(StartUpTurnedOffMessage());
  if (parts.empty()) return std::nullopt;
  std::u16string message = parts[0];
  for (std::size_t i = 1; i < parts.size(); ++i) message += u"\r\n\r\n" + parts[i];
  return message;
}

std::u16string WriteFailedMessage(std::u16string_view path, std::u16string_view reason) {
  return std::u16string(path) + u" に書き込めませんでした。\r\n" + std::u16string(reason) +
         u"\r\n設定の変更は保存されていません。";
}

std::u16string FaceNotStoredMessage(std::u16string_view face, bool othersSaved) {
  std::u16string text = NotStorableMessage(u"フォント名", face) + u"フォントの設定は元のまま残っています。";
  if (othersSaved) text += u"ほかの設定は保存されました。";
  return text;
}

std::u16string StartUpTurnedOffMessage() {
  return u"スタートアップの Tavimbra.lnk は Windows で無効にされているため、サインイン時に Tavimbra は起動しません。\r\n"
         u"タスク マネージャーの「スタートアップ」タブ（Windows 11 では「スタートアップ アプリ」）、"
         u"または「設定」の「アプリ」>「スタートアップ」で Tavimbra を有効にしてください。";
}

std::optional<std::u16string> FontSizeOnLeave(std::u16string_view text) {
  auto number = LeadingNumber(text);
  // Blanks after the number count as little as blanks before it.
  std::size_t end = number ? number->second : 0;
  while (end < text.size() && (text[end] == u' ' || text[end] == u'\t')) ++end;
  const bool blank = !number && end == text.size();
  const bool zero = number && end == text.size() && number->first == 0;
  if (blank || zero) return ToDecimal(DefaultNumber(SettingId::FontSize));
  return std::nullopt;
}

std::optional<double> PreviewFontSize(std::u16string_view text) {
  auto number = LeadingNumber(text);
  if (!number || number->first <= 0 || number->first > 1000) return std::nullopt;
  return number->first;
}

std::u16string NarrowDigits(std::u16string_view text, bool hex) {
  std::u16string narrow(text);
  for (char16_t& c : narrow) {
    if (c >= u'０' && c <= u'９')
      c = static_cast<char16_t>(u'0' + (c - u'０'));
    else if (hex && ((c >= u'Ａ' && c <= u'Ｆ') || (c >= u'ａ' && c <= u'ｆ')))
      c = static_cast<char16_t>(c - u'Ａ' + u'A');
    else if (!hex && c == u'．')
      c = u'.';
  }
  return narrow;
}

std::u16string ColourPair(std::u16string_view value, int pair) {
  std::size_t start = static_cast<std::size_t>(pair) * 2;
  if (start >= value.size()) return {};
  return std::u16string(value.substr(start, 2));
}

std::u16string OpenFolderCommandLine(std::u16string_view folder) {
  return u"explorer.exe /n, \"" + std::u16string(folder) + u"\"";
}

}  // namespace tav::settings
