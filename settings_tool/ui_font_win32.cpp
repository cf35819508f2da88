#include "ui_font_win32.h"

#include <string>

namespace tav::settings {

namespace {
bool FaceHasShiftJis(const wchar_t* face) {
  LOGFONTW lf{};
  lf.lfCharSet = SHIFTJIS_CHARSET;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
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

// Any installed proportional face with Japanese glyphs; fixed-pitch faces make the dialog's
// captions wider than their places.
std::wstring AnyProportionalJapaneseFace() {
  LOGFONTW lf{};
  lf.lfCharSet = SHIFTJIS_CHARSET;
  std::wstring face;
  HDC dc = GetDC(nullptr);
  EnumFontFamiliesExW(
      dc, &lf,
      [](const LOGFONTW* f, const TEXTMETRICW*, DWORD type, LPARAM p) -> int {
        if (f->lfFaceName[0] == L'@' || !(type & TRUETYPE_FONTTYPE)) return 1;
        if ((f->lfPitchAndFamily & 0x3) != VARIABLE_PITCH) return 1;
        *reinterpret_cast<std::wstring*>(p) = f->lfFaceName;
        return 0;
      },
      reinterpret_cast<LPARAM>(&face), 0);
  ReleaseDC(nullptr, dc);
  return face;
}

NONCLIENTMETRICSW Metrics(UINT dpi) {
  NONCLIENTMETRICSW m{};
  m.cbSize = sizeof m;
  using ForDpiFn = BOOL(WINAPI*)(UINT, UINT, PVOID, UINT, UINT);
  static auto forDpi = reinterpret_cast<ForDpiFn>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"user32.dll"), "SystemParametersInfoForDpi")));
  if (forDpi && forDpi(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0, dpi)) return m;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
  HDC dc = GetDC(nullptr);
  int systemDpi = GetDeviceCaps(dc, LOGPIXELSY);
  ReleaseDC(nullptr, dc);
  if (systemDpi > 0 && static_cast<UINT>(systemDpi) != dpi)
    m.lfMessageFont.lfHeight = MulDiv(m.lfMessageFont.lfHeight, static_cast<int>(dpi), systemDpi);
  return m;
}
}  // namespace

UniqueFont CreateUiFont(UINT dpi) {
  LOGFONTW lf = Metrics(dpi).lfMessageFont;
  if (lf.lfHeight == 0) lf.lfHeight = -MulDiv(9, static_cast<int>(dpi), 72);
  if (!FaceHasShiftJis(lf.lfFaceName)) {
    std::wstring chosen;
    for (const wchar_t* face : {L"Yu Gothic UI", L"Meiryo UI", L"MS UI Gothic", L"ＭＳ Ｐゴシック"}) {
      if (FaceHasShiftJis(face)) {
        chosen = face;
        break;
      }
    }
    if (chosen.empty()) chosen = AnyProportionalJapaneseFace();
    lstrcpynW(lf.lfFaceName, chosen.c_str(), LF_FACESIZE);
    lf.lfCharSet = SHIFTJIS_CHARSET;
  }
  return UniqueFont(CreateFontIndirectW(&lf));
}

}  // namespace tav::settings
