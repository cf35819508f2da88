// The settings window's hotkey capture: a released key becomes the hotkey's code, its name and,
// when another program holds it with Alt, a note.
#include "form1_win32.h"
#include "hotkey_in_use_win32.h"
#include "key_names.h"
#include "text_encoding.h"

namespace tav::settings {

using Id = Form1Id;

void Form1::Text7_KeyUp(WPARAM key) {
  SetCodeLabel(Id::Label5, ToDecimal(static_cast<long long>(key)));
  ShowHotkeyInUse(0, key);
}
void Form1::Text8_KeyUp(WPARAM key) {
  SetCodeLabel(Id::Label11, ToDecimal(static_cast<long long>(key)));
  ShowHotkeyInUse(1, key);
}

void Form1::ShowHotkeyInUse(int hotkey, WPARAM key) {
  const bool held = HeldByAnotherProgram(static_cast<int>(key));
  ShowWindow(Item(hotkey == 0 ? Id::Label25 : Id::Label26), held ? SW_SHOWNA : SW_HIDE);
}

void Form1::Text7_Change() {
  if (Text(Id::Text7) != U(kCaptureText)) SetText(Id::Text7, U(kCaptureText));
}
void Form1::Text8_Change() {
  if (Text(Id::Text8) != U(kCaptureText)) SetText(Id::Text8, U(kCaptureText));
}

void Form1::SetCodeLabel(Id label, const std::u16string& caption) {
  if (Text(label) == caption) return;
  SetText(label, caption);
  if (label == Id::Label5)
    Label5_Change();
  else
    Label11_Change();
}

void Form1::Label5_Change() { SetText(Id::Label7, KeyNameOfCaption(Text(Id::Label5))); }
void Form1::Label11_Change() { SetText(Id::Label12, KeyNameOfCaption(Text(Id::Label11))); }

}  // namespace tav::settings
