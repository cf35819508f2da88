#include "ui_font_win32.h"

#include <set>
#include <string>
#include <vector>

#include "input_box_look_win32.h"
#include "text_encoding.h"

namespace tav::settings {

namespace {
NONCLIENTMETRICSW Metrics(UINT dpi) {
  NONCLIENTMETRICSW m{};
  m.cbSize = sizeof m;
  if (SystemParametersInfoForDpi(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0, dpi)) return m;
  SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof m, &m, 0);
  const int systemDpi = GetDeviceCaps(WindowDc(nullptr).get(), LOGPIXELSY);
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

void FillFontList(HWND combo) {
  struct Collect {
    std::vector<std::wstring> names;
    std::set<std::wstring> seen;
  } collect;
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  WindowDc dc(GetParent(combo));
  EnumFontFamiliesExW(
      dc.get(), &lf,
      [](const LOGFONTW* f, const TEXTMETRICW*, DWORD, LPARAM p) -> int {
        auto* c = reinterpret_cast<Collect*>(p);
        if (c->seen.insert(f->lfFaceName).second) c->names.emplace_back(f->lfFaceName);
        return 1;
      },
      reinterpret_cast<LPARAM>(&collect), 0);
  SendMessageW(combo, WM_SETREDRAW, FALSE, 0);
  for (const auto& name : collect.names) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(name.c_str()));
  SendMessageW(combo, WM_SETREDRAW, TRUE, 0);
}

}  // namespace tav::settings
