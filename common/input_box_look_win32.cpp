#include "input_box_look_win32.h"

#include <cmath>

#include "bitmap_file.h"
#include "long_path_win32.h"
#include "settings.h"
#include "text_encoding.h"

namespace tav {

SIZE FormClientSize(UINT dpi) {
  return {TwipsToPixels(kFormWidthTwips, dpi), TwipsToPixels(kFormHeightTwips, dpi)};
}

RECT InputBoxRect(UINT dpi) {
  int l = TwipsToPixels(kBoxLeftTwips, dpi), t = TwipsToPixels(kBoxTopTwips, dpi);
  return {l, t, l + TwipsToPixels(kBoxWidthTwips, dpi), t + TwipsToPixels(kBoxHeightTwips, dpi)};
}

namespace {

// Calls f(logfont, type) for every face and character set matching lf; f returns false to stop.
template <class F>
void EnumFaces(LOGFONTW lf, F f) {
  WindowDc screen(nullptr);
  EnumFontFamiliesExW(
      screen.get(), &lf,
      [](const LOGFONTW* font, const TEXTMETRICW*, DWORD type, LPARAM p) -> int {
        return (*reinterpret_cast<F*>(p))(*font, type) ? 1 : 0;
      },
      reinterpret_cast<LPARAM>(&f), 0);
}

LOGFONTW FaceQuery(const std::u16string& face, BYTE charset) {
  LOGFONTW lf{};
  lf.lfCharSet = charset;
  lstrcpynW(lf.lfFaceName, W(face), LF_FACESIZE);
  return lf;
}

}  // namespace

bool FaceInstalled(const std::u16string& face, BYTE charset) {
  if (face.empty()) return false;  // an empty name enumerates every face
  bool found = false;
  EnumFaces(FaceQuery(face, charset), [&](const LOGFONTW&, DWORD) {
    found = true;
    return false;
  });
  return found;
}

BYTE FaceCharset(const std::u16string& face) {
  if (face.empty()) return DEFAULT_CHARSET;
  bool any = false, shiftJis = false, western = false;
  BYTE first = DEFAULT_CHARSET;
  EnumFaces(FaceQuery(face, DEFAULT_CHARSET), [&](const LOGFONTW& f, DWORD) {
    if (!any) first = f.lfCharSet;
    any = true;
    shiftJis = shiftJis || f.lfCharSet == SHIFTJIS_CHARSET;
    western = western || f.lfCharSet == ANSI_CHARSET;
    return true;
  });
  if (shiftJis) return SHIFTJIS_CHARSET;
  if (western) return ANSI_CHARSET;
  return first;
}

std::u16string ProportionalJapaneseFace() {
  // Lower is better; decorative and script faces (pop, brush) are never taken.
  auto rank = [](BYTE pitchAndFamily) {
    switch (pitchAndFamily & 0xF0) {
      case FF_SWISS: return 0;
      case FF_MODERN: case FF_DONTCARE: return 1;
      case FF_ROMAN: return 2;
      default: return -1;
    }
  };
  std::u16string best;
  int bestRank = 99;
  EnumFaces(FaceQuery(u"", SHIFTJIS_CHARSET), [&](const LOGFONTW& f, DWORD type) {
    if (f.lfFaceName[0] == L'@' || !(type & TRUETYPE_FONTTYPE)) return true;  // vertical or bitmap faces
    if ((f.lfPitchAndFamily & 0x3) != VARIABLE_PITCH) return true;
    int r = rank(f.lfPitchAndFamily);
    if (r >= 0 && r < bestRank) {
      bestRank = r;
      best = U(f.lfFaceName);
    }
    return bestRank > 0;
  });
  return best;
}

std::u16string FallbackJapaneseFace() {
  for (const char16_t* face : {u"Yu Gothic UI", u"Meiryo UI", u"ＭＳ Ｐゴシック", u"MS UI Gothic"})
    if (FaceInstalled(face, SHIFTJIS_CHARSET)) return face;
  return ProportionalJapaneseFace();
}

InputBoxFontChoice FontChoiceOf(const LauncherSetup& setup) {
  return {setup.fontFace, setup.fontPoints, setup.bold, setup.italic};
}

UniqueFont CreateInputBoxFont(const InputBoxFontChoice& choice, UINT dpi) {
  LOGFONTW lf{};
  const double points = BoxFontPoints(choice.points);
  lf.lfHeight = -static_cast<LONG>(std::lround(points * dpi / 72.0));
  lf.lfWeight = choice.bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = choice.italic ? TRUE : FALSE;
  lf.lfOutPrecision = OUT_DEFAULT_PRECIS;
  lf.lfClipPrecision = CLIP_DEFAULT_PRECIS;
  lf.lfQuality = CLEARTYPE_QUALITY;
  lf.lfPitchAndFamily = DEFAULT_PITCH | FF_SWISS;
  std::u16string face = choice.face.substr(0, LF_FACESIZE - 1);
  BYTE charset = FaceCharset(face);
  if (charset == DEFAULT_CHARSET) {  // not installed
    face = FallbackJapaneseFace().substr(0, LF_FACESIZE - 1);
    charset = SHIFTJIS_CHARSET;
  }
  lf.lfCharSet = charset;
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

namespace {

// A cut or foreign file is no picture: the loader would trust its headers and read past its end.
bool SkinFileIsWhole(const std::u16string& path) {
  UniqueHandle f(CreateFileW(W(ExtendedPath(path)), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  LARGE_INTEGER size{};
  if (!f || !GetFileSizeEx(f.get(), &size)) return false;
  char head[kBitmapHeadBytes];
  DWORD got = 0;
  if (!ReadFile(f.get(), head, sizeof head, &got, nullptr)) return false;
  return IsCompleteBitmap(std::string_view(head, got), static_cast<std::uint64_t>(size.QuadPart));
}

}  // namespace

bool Skin::Load(const std::u16string& path) {
  bitmap_.reset();
  size_ = {};
  if (!SkinFileIsWhole(path)) return false;
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
  UniqueDc memDc(CreateCompatibleDC(dc));
  HDC mem = memDc.get();
  SelectedObject picture(mem, bitmap_.get());
  if (dpi == 96) {
    BitBlt(dc, 0, 0, size_.cx, size_.cy, mem, 0, 0, SRCCOPY);
  } else {
    int oldMode = SetStretchBltMode(dc, HALFTONE);
    SetBrushOrgEx(dc, 0, 0, nullptr);
    StretchBlt(dc, 0, 0, MulDiv(size_.cx, static_cast<int>(dpi), 96), MulDiv(size_.cy, static_cast<int>(dpi), 96), mem,
               0, 0, size_.cx, size_.cy, SRCCOPY);
    SetStretchBltMode(dc, oldMode);
  }
}

}  // namespace tav
