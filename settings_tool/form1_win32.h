// The settings window: visual settings with the preview, behaviour settings with the hotkey
// capture and shortcuts, the registration group, save and open-folder buttons.
#pragma once
#include <windows.h>

#include <bitset>
#include <string>
#include <vector>

#include "colour_components.h"
#include "form1_controls.h"
#include "form2_win32.h"
#include "handles_win32.h"
#include "registration_frame_win32.h"
#include "settings.h"

namespace tav::settings {

inline constexpr wchar_t kForm1Class[] = L"TavimsetForm1";
inline constexpr wchar_t kCaptureText[] = L"ここに入力";

class Form1 {
 public:
  Form1() = default;
  Form1(const Form1&) = delete;
  Form1& operator=(const Form1&) = delete;

  // Creates the window and its controls and runs the load sequence; the window is still hidden.
  bool Create(HINSTANCE instance);
  HWND Hwnd() const { return hwnd_; }
  void Show(int showCommand);

 private:
  static LRESULT CALLBACK WndProc(HWND w, UINT msg, WPARAM wp, LPARAM lp);
  static LRESULT CALLBACK CaptureBoxProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp);
  void CreateControls();
  void Load();
  void OnCommand(WPARAM wp, LPARAM lp);
  void OnHScroll(WPARAM wp, LPARAM lp);

  // Visual settings: the six component boxes and bars share one reaction each.
  void Text1_Change() { ComponentBox_Change(kBackRed); }
  void Text2_Change() { ComponentBox_Change(kBackGreen); }
  void Text3_Change() { ComponentBox_Change(kBackBlue); }
  void Text4_Change() { ComponentBox_Change(kTextRed); }
  void Text5_Change() { ComponentBox_Change(kTextGreen); }
  void Text6_Change() { ComponentBox_Change(kTextBlue); }
  void Text1_LostFocus() { ComponentBox_LostFocus(kBackRed); }
  void Text2_LostFocus() { ComponentBox_LostFocus(kBackGreen); }
  void Text3_LostFocus() { ComponentBox_LostFocus(kBackBlue); }
  void Text4_LostFocus() { ComponentBox_LostFocus(kTextRed); }
  void Text5_LostFocus() { ComponentBox_LostFocus(kTextGreen); }
  void Text6_LostFocus() { ComponentBox_LostFocus(kTextBlue); }
  void HScroll1_Change(int value) { HScroll_Change(kBackRed, value); }
  void HScroll2_Change(int value) { HScroll_Change(kBackGreen, value); }
  void HScroll3_Change(int value) { HScroll_Change(kBackBlue, value); }
  void HScroll4_Change(int value) { HScroll_Change(kTextRed, value); }
  void HScroll5_Change(int value) { HScroll_Change(kTextGreen, value); }
  void HScroll6_Change(int value) { HScroll_Change(kTextBlue, value); }
  void ComponentBox_Change(int c);
  void ComponentBox_LostFocus(int c);
  void HScroll_Change(int c, int value);
  void SyncComponents();
  void Text12_LostFocus();
  void Command10_Click();
  void Command1_Click();
  void Check3_Click();
  // Hotkey capture.
  void Text7_KeyUp(WPARAM key);
  void Text8_KeyUp(WPARAM key);
  void Text7_Change();
  void Text8_Change();
  void Label5_Change();
  void Label11_Change();
  void SetCodeLabel(Form1Id label, const std::u16string& caption);
  // Virtual keys pressed in a capture box and not yet released there.
  std::bitset<256>& KeysDownIn(HWND box) {
    return keysDown_[GetDlgCtrlID(box) == static_cast<int>(Form1Id::Text7) ? 0 : 1];
  }
  // Buttons.
  void Command2_Click();
  void Command7_Click();
  void FillFontList();
  void RecordLayout();
  void OnDpiChanged(UINT dpi, const RECT* suggested);

  HWND Item(Form1Id id) const { return GetDlgItem(hwnd_, static_cast<int>(id)); }
  std::u16string Text(Form1Id id) const;
  void SetText(Form1Id id, const std::u16string& text);
  bool Ticked(Form1Id id) const;
  void Tick(Form1Id id);
  HWND Add(Form1Id id, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
           DWORD exStyle = 0);
  int Px(int dip) const { return MulDiv(dip, static_cast<int>(dpi_), 96); }

  HINSTANCE instance_ = nullptr;
  HWND hwnd_ = nullptr;
  UINT dpi_ = 96;
  UniqueFont uiFont_;
  Form2 form2_;
  ColourComponents colours_;
  RegistrationFrame registration_;
  // Every control's place at the dpi the window was laid out for, to rescale from.
  struct Placed {
    HWND control;
    RECT rect;
  };
  std::vector<Placed> layout_;
  UINT layoutDpi_ = 96;
  HWND lastFocus_ = nullptr;
  std::bitset<256> keysDown_[2];  // Text7, Text8
  bool applying_ = false;  // controls being set from the model: their notifications are ours
  std::u16string folder_;  // the program's folder as the platform reports it
};

}  // namespace tav::settings
