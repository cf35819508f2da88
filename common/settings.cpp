#include "settings.h"

#include "text_encoding.h"

namespace tav {

Settings::Settings() {
  for (const SettingKey& k : kSettingKeys) {
    if (k.IsText())
      this->*k.text = std::u16string(k.textDefault);
    else
      this->*k.number = k.numberDefault;
  }
}

double BoxFontPoints(double requested) {
  if (!(requested > 0)) return DefaultNumber(SettingId::FontSize);  // also NaN
  return requested < kMaxFontPoints ? requested : kMaxFontPoints;
}

namespace {
Settings Read(ProfileFile& f, bool settingsProgram) {
  Settings s;  // each read's default is the table's
  for (SettingId id : kReadOrder) {
    const SettingKey& k = KeyOf(id);
    if (k.readBy == ReadBy::SettingsProgram && !settingsProgram) continue;
    if (k.IsText())
      s.*k.text = f.ReadString(k.name, s.*k.text, k.bufferBytes);
    else
      s.*k.number = f.ReadInt(k.name, s.*k.number);
  }
  return s;
}
}  // namespace

std::optional<std::u16string> NumberToWrite(SettingId id, int value, int asRead) {
  const SettingKey& k = KeyOf(id);
  if (k.write == WriteWhen::ChangedOrStored && value == k.numberDefault && asRead == k.numberDefault)
    return std::nullopt;
  return ToDecimal(value);
}

Settings ReadLauncherSettings(ProfileFile& f) { return Read(f, false); }
Settings ReadAllSettings(ProfileFile& f) { return Read(f, true); }

void WriteSettings(ProfileFile& f, const SettingTexts& values, const std::function<void(SettingId)>& before) {
  for (const SettingKey& k : kSettingKeys) {
    const auto& value = values[static_cast<std::size_t>(k.id)];
    if (before) before(k.id);
    if (value) f.WriteString(k.written, *value);
  }
}

}  // namespace tav
