// The settings window's hotkey capture: a released key becomes the hotkey's code, its modifiers,
// its name and, when the combination cannot work or another program holds it, a note.
#include "form1_win32.h"
#include "hotkey_capture.h"
#include "hotkey_in_use_win32.h"
#include "key_names.h"
#include "text_encoding.h"

namespace tav::settings {

using Id = Form1Id;

void Form1::Text7_KeyUp(WPARAM key, int modifiers) {
  modifiers_[0] = modifiers;
  SetCodeLabel(Id::Label5, ToDecimal(static_cast<long long>(key)));
  ShowHotkeyNote(0, key);
}
void Form1::Text8_KeyUp(WPARAM key, int modifiers) {
  modifiers_[1] = modifiers;
  SetCodeLabel(Id::Label11, ToDecimal(static_cast<long long>(key)));
  ShowHotkeyNote(1, key);
}

void Form1::ShowHotkeyNote(int hotkey, WPARAM key) {
  const Hotkey wanted{UsableModifiers(modifiers_[hotkey], static_cast<int>(key)), static_cast<int>(key)};
  std::u16string note;
  if (const std::optional<std::u16string_view> reserved = ReservedNote(wanted))
    note = *reserved;
  else if (HeldByAnotherProgram(wanted))
    note = U(kHotkeyInUseNote);
  const Id label = hotkey == 0 ? Id::Label25 : Id::Label26;
  if (!note.empty()) SetText(label, note);
  ShowWindow(Item(label), note.empty() ? SW_HIDE : SW_SHOWNA);
}

void Form1::Text7_Change() {
  if (Text(Id::Text7) != U(kCaptureText)) SetText(Id::Text7, U(kCaptureText));
}
void Form1::Text8_Change() {
  if (Text(Id::Text8) != U(kCaptureText)) SetText(Id::Text8, U(kCaptureText));
}

void Form1::SetCodeLabel(Id label, const std::u16string& caption) {
  // The name follows the modifiers too, which may change while the code stays.
  if (Text(label) != caption) SetText(label, caption);
  if (label == Id::Label5)
    Label5_Change();
  else
    Label11_Change();
}

void Form1::Label5_Change() { SetText(Id::Label7, HotkeyLabelName(modifiers_[0], Text(Id::Label5))); }
void Form1::Label11_Change() { SetText(Id::Label12, HotkeyLabelName(modifiers_[1], Text(Id::Label11))); }

}  // namespace tav::settings
