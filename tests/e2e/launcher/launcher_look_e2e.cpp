// How the summoned window looks with its settings. Screenshots go to %TAV_SHOTS% when set.
#include <gtest/gtest.h>

#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "driver.h"
#include "launcher/running_launcher.h"
#include "text_encoding.h"

namespace tav::e2e {
namespace {

using Shown = RunningLauncher;

// Started and called up with Alt+O; form is null when it did not come up.
std::unique_ptr<Shown> StartAndSummon(Installation& inst) {
  auto p = std::make_unique<Shown>(inst);
  if (auto summoned = p->Summon(); !summoned) {
    ADD_FAILURE() << "not summoned: " << summoned.message();
    p->form = nullptr;
  }
  return p;
}

// The width the text takes in a font made here, independently of the launcher's own code.
int ExpectedTextWidth(const wchar_t* face, BYTE charset, int points, bool bold, bool italic, const std::wstring& text) {
  HDC dc = GetDC(nullptr);
  LOGFONTW lf{};
  lf.lfHeight = -MulDiv(points, GetDeviceCaps(dc, LOGPIXELSY), 72);
  lf.lfWeight = bold ? FW_BOLD : FW_NORMAL;
  lf.lfItalic = italic;
  lf.lfCharSet = charset;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  HFONT font = CreateFontIndirectW(&lf);
  HGDIOBJ old = SelectObject(dc, font);
  SIZE size{};
  GetTextExtentPoint32W(dc, text.c_str(), static_cast<int>(text.size()), &size);
  SelectObject(dc, old);
  DeleteObject(font);
  ReleaseDC(nullptr, dc);
  return size.cx;
}

// From the first to the last column of the box's client area holding ink (a colour far from
// the background), as it is on the screen.
int InkWidth(HWND edit, COLORREF background) {
  const auto [first, last] =
      InkColumns(CaptureClient(edit), DWORD{GetRValue(background)} << 16 | GetGValue(background) << 8 | GetBValue(background));
  return first < 0 ? 0 : last - first + 1;
}

void Close(Shown& s) {
  PostMessageW(s.form, WM_CLOSE, 0, 0);
  s.proc.Wait(std::chrono::seconds(5));
}

bool FaceInstalled(const wchar_t* face) {
  LOGFONTW lf{};
  lf.lfCharSet = DEFAULT_CHARSET;
  lstrcpynW(lf.lfFaceName, face, LF_FACESIZE);
  HDC dc = GetDC(nullptr);
  bool found = false;
  EnumFontFamiliesExW(
      dc, &lf, [](const LOGFONTW*, const TEXTMETRICW*, DWORD, LPARAM p) -> int { return *reinterpret_cast<bool*>(p) = true, 0; },
      reinterpret_cast<LPARAM>(&found), 0);
  ReleaseDC(nullptr, dc);
  return found;
}

TEST(LauncherLook, SkinColoursAndFont) {
  // The measured faces come with the test machine's packages (fonts-dejavu-core,
  // fonts-ipafont-gothic); Windows has none of them unless they were installed.
  std::wstring missing;
  for (const wchar_t* face : {L"DejaVu Sans", L"DejaVu Serif", L"IPA Pゴシック"})
    if (!FaceInstalled(face)) missing += (missing.empty() ? L"" : L", ") + std::wstring(face);
  if (!missing.empty() && !::tav::test::UnderWine())
    TAV_SKIP_UNSUPPORTED() << "the faces measured are not installed: " << ToUtf8(U(missing.c_str()));
  ASSERT_EQ(missing, L"") << "the test machine's faces are missing";
  struct Font {
    const wchar_t* face;  // nullptr: not measured
    BYTE charset;
    int points;
    bool bold, italic;
  };
  struct Case {
    const wchar_t* shot;
    std::vector<std::wstring> settings;
    bool removeSkin;
    COLORREF box;        // inside the box, away from the text
    bool skinExpected;   // the skin's bluish picture at the top-left corner
    Font font;           // what the typed text is drawn in
  } cases[] = {
      {L"skin", {}, false, RGB(255, 255, 255), true, {}},
      {L"noskin", {L"UseSkin=0"}, false, RGB(255, 255, 255), false, {}},
      {L"red-bold-14",
       {L"Back=0000FF", L"Text=FFFFFF", L"Bold=1", L"FontSize=14", L"Font=DejaVu Sans"},
       false,
       RGB(255, 0, 0),
       true,
       {L"DejaVu Sans", ANSI_CHARSET, 14, true, false}},
      {L"bad-colour", {L"Back=GG00FF", L"UseSkin=2"}, false, RGB(255, 255, 255), false, {}},
      {L"empty-back", {L"Back="}, false, RGB(0, 0, 0), true, {}},
      {L"skin-missing",
       {L"Back=00FF00", L"Italic=1", L"Font=IPA Pゴシック", L"FontSize=10"},
       true,
       RGB(0, 255, 0),
       false,
       {L"IPA Pゴシック", SHIFTJIS_CHARSET, 10, false, true}},
      {L"huge", {L"FontSize=100000", L"UseSkin=0"}, false, RGB(255, 255, 255), false, {}},  // held at 48 points
      {L"serif-12", {L"Font=DejaVu Serif", L"FontSize=12", L"Bold=2"}, false, RGB(255, 255, 255), true,
       {L"DejaVu Serif", ANSI_CHARSET, 12, false, false}},
  };
  const std::wstring typed = L"calc/テスト Tavimbra";
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Installation inst;
    inst.WriteSettings(cases[i].settings);
    if (cases[i].removeSkin) fs::remove(inst.Root() / "settings" / "skin.bmp");
    auto shown = StartAndSummon(inst);
    Shown& s = *shown;
    ASSERT_NE(s.form, nullptr) << "case " << i;
    // Visible to the window manager a moment before it is on the screen.
    WaitUntil([&] { return ScreenPixel(s.form, 200, 36) == cases[i].box; }, std::chrono::seconds(2));
    EXPECT_EQ(ScreenPixel(s.form, 200, 36), cases[i].box) << "case " << i;
    COLORREF corner = ScreenPixel(s.form, 2, 2);
    bool plain = corner == GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(!plain, cases[i].skinExpected) << "case " << i << " corner " << std::hex << corner;
    TypeText(typed);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(s.edit) == typed; }, std::chrono::seconds(3)))
        << "case " << i;
    if (const Font& f = cases[i].font; f.face) {
      // Face, size, weight and slant all change the width the text takes. Latin letters only:
      // the width of Japanese letters in a Western face depends on the system's font linking.
      const std::wstring measured = L"Tavimbra";
      SendMessageW(s.edit, EM_SETSEL, 0, -1);
      TypeText(measured);
      EXPECT_TRUE(WaitUntil([&] { return WindowText(s.edit) == measured; }, std::chrono::seconds(3)))
          << "case " << i;
      const int expected = ExpectedTextWidth(f.face, f.charset, f.points, f.bold, f.italic, measured);
      int ink = 0;
      WaitUntil([&] { return std::abs((ink = InkWidth(s.edit, cases[i].box)) - expected) <= 4; },
                std::chrono::seconds(2));
      EXPECT_NEAR(ink, expected, 4) << "case " << i;
    }
    ShotIfWanted(cases[i].shot);
    Close(s);
  }
}

}  // namespace
}  // namespace tav::e2e
