#include "input_box_look_win32.h"

#include <cmath>

#include "text_encoding.h"

namespace tav {

SIZE FormClientSize(UINT dpi) {
  return {TwipsToPixels(kFormWidthTwips, dpi), TwipsToPixels(kFormHeightTwips, dpi)};
}

RECT InputBoxRect(UINT dpi) {
  int l = TwipsToPixels(kBoxLeftTwips, dpi), t = TwipsToPixels(kBoxTopTwips, dpi);
  return {l, t, l + TwipsToPixels(kBoxWidthTwips, dpi), t + TwipsToPixels(kBoxHeightTwips, dpi)};
}

UINT WindowDpi(HWND w) {
  using GetDpiForWindowFn = UINT(WINAPI*)(HWND);
  static auto fn = reinterpret_cast<GetDpiForWindowFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "GetDpiForWindow")));
  if (fn && w) {
    UINT dpi = fn(w);
    if (dpi) return dpi;
  }
  HDC dc = GetDC(nullptr);
  UINT dpi = static_cast<UINT>(GetDeviceCaps(dc, LOGPIXELSY));
  ReleaseDC(nullptr, dc);
  return dpi ? dpi : 96;
}

bool FaceInstalled(const std::u16string& face, BYTE charset) {
  LOGFONTW lf{};
  lf.lfCharSet = charset;
  lstrcpynW(lf.lfFaceName, W(face), LF_FACESIZE);
  bool found = false;
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesExW(
      dc, &lf,
      [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM p) -> int {
        *reinterpret_cast<bool*>(p) = true;
        return 0;
      },
      reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  return found;
}

std::u16string ProportionalJapaneseFace() {
  LOGFONTW lf{};
  lf.lfCharSet = SHIFTJIS_CHARSET;
  std::u16string face;
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesExW(
      dc, &lf,
      [](const LOGFONTW* f, const TEXTMETRICW*, DWORD type, LPARAM p) -> int {
        if (f->lfFaceName[0] == L'@' || !(type & TRUETYPE_FONTTYPE)) return 1;  // vertical or bitmap faces
        if ((f->lfPitchAndFamily & 0x3) != VARIABLE_PITCH) return 1;
        *reinterpret_cast<std::u16string*>(p) = U(f->lfFaceName);
        return 0;
      },
      reinterpret_cast<LPARAM>(&face), 0);
  ReleaseDC(nullptr, dc);
  return face;
}

UniqueFont CreateInputBoxFont(const InputBoxFontChoice& choice, UINT dpi) {
  LOGFONTW lf{};
  double points = choice.points > 0 ? choice.points : 11;
  lf.lfHeight = -static_cast<LONG>(std::lround(points * dpi / 72.0));
  lf.lfWeight = choice.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = choice.italic ? TRUE : FALSE;
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  std::u16string face = choice.face.substr(0, LF_FACESIZE - 1);
  if (!face.empty() && !FaceInstalled(face)) {
    std::u16string fallback = ProportionalJapaneseFace();
    if (!fallback.empty()) face = fallback.substr(0, LF_FACESIZE - 1);
  }
  face.copy(reinterpret_cast<char16_t*>(lf.lfFaceName), face.size());
  return UniqueFont(CreateFontIndirectW(&lf));
}

void InputBoxColours::Set(std::uint32_t back, std::uint32_t text) {
  back_ = back & 0xFFFFFF;
  text_ = text & 0xFFFFFF;
  brush_.reset(CreateSolidBrush(back_));
}

HBRUSH InputBoxColours::Apply(HDC dc) const {
  SetTextColor(dc, text_);
  SetBkColor(dc, back_);
  return brush_.get();
}

bool Skin::Load(const std::u16string& path) {
  bitmap_.reset(static_cast<HBITMAP>(
      LoadImageW(nullptr, W(path), IMAGE_BITMAP, 0, 0, LR_LOADFROMFILE | LR_CREATEDIBSECTION)));
  size_ = {};
  if (!bitmap_) return false;
  BITMAP bm{};
  GetObjectW(bitmap_.get(), sizeof bm, &bm);
  size_ = {bm.bmWidth, bm.bmHeight};
  return true;
}

void Skin::Paint(HDC dc, const RECT& client, UINT dpi) const {
  FillRect(dc, &client, GetSysColorBrush(COLOR_BTNFACE));
  if (!bitmap_) {
    // Without a picture a light box on the plain background needs an edge to be seen.
    RECT edge = InputBoxRect(dpi);
    InflateRect(&edge, 1, 1);
    FrameRect(dc, &edge, GetSysColorBrush(COLOR_BTNSHADOW));
    return;
  }
  HDC mem = CreateCompatibleDC(dc);
  HGDIOBJ old = SelectObject(mem, bitmap_.get());
  if (dpi == 96) {
    BitBlt(dc, 0, 0, size_.cx, size_.cy, mem, 0, 0, SRCCOPY);
  } else {
    int oldMode = SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, 0, 0, MulDiv(size_.cx, static_cast<int>(dpi), 96), MulDiv(size_.cy, static_cast<int>(dpi), 96), mem,
               0, 0, size_.cx, size_.cy, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
  }
  SelectObject(mem, old);
  DeleteDC(mem);
}

}  // namespace tav
