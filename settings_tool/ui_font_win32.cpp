#include "ui_font_win32.h"

#include <string>

#include "input_box_look_win32.h"
#include "text_encoding.h"

namespace tav::settings {

namespace {
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
  if (!FaceInstalled(U(lf.lfFaceName), SHIFTJIS_CHARSET)) {
    std::u16string chosen = FallbackJapaneseFace();
    lstrcpynW(lf.lfFaceName, W(chosen), LF_FACESIZE);
    lf.lfCharSet = SHIFTJIS_CHARSET;
  }
  return UniqueFont(CreateFontIndirectW(&lf));
}

}  // namespace tav::settings
