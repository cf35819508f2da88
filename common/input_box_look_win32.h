// The look of the launcher's window: a 240x64 client area with the input box at its place,
// the configured colours and font, and the skin picture. Shared by the launcher's window and
// the settings program's preview so that the preview shows exactly what the launcher will.
#pragma once
#include <windows.h>

#include <cstdint>
#include <string>

#include "handles_win32.h"
#include "window_win32.h"
#include "launcher_settings.h"

namespace tav {

// Layout in twips (15 twips a pixel at 96 dpi).
inline constexpr int kFormWidthTwips = 3600, kFormHeightTwips = 960;
inline constexpr int kBoxLeftTwips = 240, kBoxTopTwips = 405, kBoxWidthTwips = 3135, kBoxHeightTwips = 270;

SIZE FormClientSize(UINT dpi);
RECT InputBoxRect(UINT dpi);  // in client coordinates

// Whether a face of that name is installed (with that character set, DEFAULT_CHARSET: any).
bool FaceInstalled(const std::u16string& face, BYTE charset = DEFAULT_CHARSET);
// The character set to ask for so that the mapper keeps this face: Shift-JIS when the face has
// it, else its Western set, else the first it offers. DEFAULT_CHARSET when it is not installed.
BYTE FaceCharset(const std::u16string& face);
// An installed proportional TrueType face with Japanese glyphs ("" when there is none); a Gothic
// (sans-serif) face before a Mincho one, never a decorative or script face.
std::u16string ProportionalJapaneseFace();
// The Japanese face to use instead of one that is not installed: the first installed of
// "Yu Gothic UI", "Meiryo UI", "ＭＳ Ｐゴシック", "MS UI Gothic", else ProportionalJapaneseFace().
std::u16string FallbackJapaneseFace();

struct InputBoxFontChoice {
  std::u16string face{DefaultText(SettingId::Font)};
  double points = DefaultNumber(SettingId::FontSize);
  bool bold = false;
  bool italic = false;
};
// The box font the launcher makes of its setup.
InputBoxFontChoice FontChoiceOf(const LauncherSetup& setup);
// A font for the box in the chosen face, with a character set that face has: the mapper weighs
// the character set above the name, so asking a Western face for Shift-JIS would swap it for a
// Japanese one (Japanese text in a Western face then comes from the system's font linking).
// A face that is not installed is replaced by FallbackJapaneseFace() (the default
// face is a proportional Japanese one), so text stays readable and takes no more room than meant.
// The size is BoxFontPoints(points).
UniqueFont CreateInputBoxFont(const InputBoxFontChoice& choice, UINT dpi);

// Colours of the edit control (answer WM_CTLCOLOREDIT with Brush() after Apply()).
class InputBoxColours {
 public:
  void Set(std::uint32_t back, std::uint32_t text);
  std::uint32_t Back() const { return back_; }
  std::uint32_t Text() const { return text_; }
  HBRUSH Apply(HDC dc) const;  // sets the text and background colours on dc, returns the brush

 private:
  std::uint32_t back_ = kDefaultBack, text_ = kDefaultText;
  UniqueBrush brush_{CreateSolidBrush(back_)};
};

// The skin picture: drawn at its own size from the top-left corner at 96 dpi, scaled with the
// window's dpi above that (smoothly, so it stays clean at 125-200%).
class Skin {
 public:
  bool Load(const std::u16string& path);  // false when the file is missing or no bitmap
  void Clear() { bitmap_.reset(); }
  bool Loaded() const { return static_cast<bool>(bitmap_); }
  SIZE Size() const { return size_; }
  // Paints the client background: the picture where there is one, else the plain background
  // with an edge around the input box.
  void Paint(HDC dc, const RECT& client, UINT dpi) const;

 private:
  UniqueBitmap bitmap_;
  SIZE size_{};
};

}  // namespace tav
