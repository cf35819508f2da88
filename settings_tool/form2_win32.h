// The preview: a copy of the launcher's window (same size, box, colours, font and skin),
// created hidden and only ever shown or hidden.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "handles_win32.h"
#include "input_box_look_win32.h"
#include "window_win32.h"

namespace tav::settings {

inline constexpr wchar_t kForm2Class[] = L"TavimsetForm2";
inline constexpr wchar_t kPreviewSample[] = L"AbCd / あいうえ";

class Form2 final : public Window {
 public:
  bool Create(HINSTANCE instance, HWND owner);

  void SetBackColour(std::uint32_t bgr);
  void SetTextColour(std::uint32_t bgr);
  const InputBoxFontChoice& Font() const { return font_; }
  void SetFont(const InputBoxFontChoice& font);
  void LoadSkin(const std::u16string& path);
  void ClearSkin();

  // Size, box and font for a monitor scale (its own WM_DPICHANGED, and where it is placed).
  void SetDpi(UINT dpi);
  UINT Dpi() const { return dpi_; }

  // Shown without taking the focus from the settings window; placed beside it the first time.
  void Show();
  void Hide();
  bool Visible() const { return hwnd_ && IsWindowVisible(hwnd_); }

 private:
  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override;
  void ApplyFont();
  void PlaceBesideOwner();

  HWND text1_ = nullptr;
  HWND owner_ = nullptr;
  UINT dpi_ = 96;
  bool placed_ = false;
  InputBoxColours colours_;
  InputBoxFontChoice font_;
  UniqueFont boxFont_;
  Skin skin_;
  UniqueMenu menu_;  // m_Menu: like the launcher's, without behaviour here
};

}  // namespace tav::settings
