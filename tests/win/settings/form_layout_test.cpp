// The real settings windows, made in this process: every caption fits its control in two UI
// fonts of different line heights at 96 and 144 dpi, and a change of monitor scale resizes
// each window for its own monitor.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <atomic>
#include <memory>
#include <string>
#include <thread>
#include <vector>

#include "drop_area_win32.h"
#include "form1_controls.h"
#include "form1_win32.h"
#include "form3_controls.h"
#include "form3_win32.h"
#include "private_prefix.h"
#include "registration_controls.h"
#include "temp_dir.h"
#include "window_names.h"

namespace tav::settings {
namespace {

using test::RectIn;

std::wstring Caption(HWND w) {
  wchar_t text[512] = {};
  GetWindowTextW(w, text, 512);
  return text;
}

struct FontFacts {
  std::wstring face;
  int lineHeight = 0;
};
FontFacts FactsOf(HWND control) {
  HDC dc = GetDC(control);
  HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(control, WM_GETFONT, 0, 0)));
  wchar_t face[LF_FACESIZE] = {};
  GetTextFaceW(dc, LF_FACESIZE, face);
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  SelectObject(dc, old);
  ReleaseDC(control, dc);
  return {face, tm.tmHeight};
}

// Every control of the window whose caption does not fit where the control draws it, or whose
// text another control covers; one line each, saying what and by how much.
// (A window not yet shown counts as well: only the controls' own visibility is looked at.)
bool Shown(HWND w) { return (GetWindowLongPtrW(w, GWL_STYLE) & WS_VISIBLE) != 0; }

std::vector<std::wstring> ClippedCaptions(HWND form, UINT dpi, int* checked) {
  std::vector<std::wstring> clipped;
  std::vector<HWND> children;
  for (HWND c = GetWindow(form, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    RECT r;
    GetWindowRect(c, &r);
    if (Shown(c) && !IsRectEmpty(&r)) children.push_back(c);  // a control of no size draws nothing
  }
  *checked = 0;
  for (HWND c : children) {
    const std::wstring cls = test::ClassName(c), text = Caption(c);
    const LONG_PTR style = GetWindowLongPtrW(c, GWL_STYLE);
    RECT area;
    GetClientRect(c, &area);
    UINT format = DT_CALCRECT | DT_EXPANDTABS;
    bool wraps = false, checkWidth = true;
    if (lstrcmpiW(cls.c_str(), L"Static") == 0) {
      if (IsDropArea(c)) area = DropAreaTextRect(c);
      const LONG_PTR type = style & SS_TYPEMASK;
      wraps = type != SS_LEFTNOWORDWRAP && type != SS_SIMPLE;
      if (style & SS_NOPREFIX || IsDropArea(c)) format |= DT_NOPREFIX;
    } else if (lstrcmpiW(cls.c_str(), L"Button") == 0) {
      switch (style & BS_TYPEMASK) {
        case BS_GROUPBOX: {
          // The caption sits in the top edge; what the group holds starts below it.
          FontFacts f = FactsOf(c);
          RECT group = RectIn(form, c);
          for (HWND other : children) {
            RECT r = RectIn(form, other);
            if (other != c && r.left >= group.left && r.right <= group.right && r.top >= group.top &&
                r.bottom <= group.bottom && r.top < group.top + f.lineHeight)
              clipped.push_back(L"'" + Caption(other) + L"' reaches into the caption of '" + text + L"'");
          }
          area.right -= MulDiv(10, static_cast<int>(dpi), 96);
          area.bottom = f.lineHeight;
          break;
        }
        case BS_AUTOCHECKBOX:
          area.left += GetSystemMetricsForDpi(SM_CXMENUCHECK, dpi) + MulDiv(3, static_cast<int>(dpi), 96);
          break;
        default:
          InflateRect(&area, -GetSystemMetricsForDpi(SM_CXEDGE, dpi), -GetSystemMetricsForDpi(SM_CYEDGE, dpi));
          break;
      }
    } else if (lstrcmpiW(cls.c_str(), L"Edit") == 0) {
      checkWidth = false;  // a box scrolls its text across; a line must fit top to bottom
      if (text.empty()) continue;
    } else {
      continue;  // combo boxes size themselves to their font; scroll bars have no caption
    }
    ++*checked;
    HDC dc = GetDC(c);
    HGDIOBJ old = SelectObject(dc, reinterpret_cast<HFONT>(SendMessageW(c, WM_GETFONT, 0, 0)));
    RECT need{0, 0, wraps ? area.right - area.left : 0, 0};
    DrawTextW(dc, text.c_str(), -1, &need, format | (wraps ? DT_WORDBREAK : DT_SINGLELINE));
    SelectObject(dc, old);
    ReleaseDC(c, dc);
    const int areaW = area.right - area.left, areaH = area.bottom - area.top;
    if ((checkWidth && need.right > areaW) || need.bottom > areaH)
      clipped.push_back(cls + L" '" + text + L"' needs " + std::to_wstring(need.right) + L"x" +
                        std::to_wstring(need.bottom) + L", has " + std::to_wstring(areaW) + L"x" +
                        std::to_wstring(areaH));
    // The text's own rows and columns must not lie under a control above it.
    RECT ink = RectIn(form, c);
    ink.left += area.left;
    ink.top += area.top;
    ink.right = ink.left + (checkWidth ? std::min<LONG>(need.right, areaW) : areaW);
    ink.bottom = ink.top + std::min<LONG>(need.bottom, areaH);
    for (HWND above = GetWindow(c, GW_HWNDPREV); above; above = GetWindow(above, GW_HWNDPREV)) {
      if (!Shown(above) || (GetWindowLongPtrW(above, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX) continue;
      RECT r = RectIn(form, above), both;
      if (!IntersectRect(&both, &r, &ink)) continue;
      // Only the part of it that shows covers (a caption gives way to the controls it names).
      HRGN shape = CreateRectRgn(0, 0, 0, 0);
      OffsetRect(&both, -r.left, -r.top);
      const bool shaped = GetWindowRgn(above, shape) != ERROR, covers = !shaped || RectInRegion(shape, &both);
      DeleteObject(shape);
      if (covers)
        clipped.push_back(L"'" + text + L"' lies under '" + Caption(above) + L"' (" + test::ClassName(above) + L")");
    }
  }
  return clipped;
}

std::wstring Joined(const std::vector<std::wstring>& lines) {
  std::wstring all;
  for (const auto& l : lines) all += l + L"\n";
  return all;
}

// The system's UI font (the message font) made another face for the life of the object.
class UiFace {
 public:
  explicit UiFace(const wchar_t* face) {
    saved_.cbSize = sizeof saved_;
    SystemParametersInfoW(SPI_GETNONCLIENTMETRICS, sizeof saved_, &saved_, 0);
    NONCLIENTMETRICSW m = saved_;
    lstrcpynW(m.lfMessageFont.lfFaceName, face, LF_FACESIZE);
    m.lfMessageFont.lfCharSet = SHIFTJIS_CHARSET;
    set_ = SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof m, &m, 0) != FALSE;
  }
  ~UiFace() {
    if (set_) SystemParametersInfoW(SPI_SETNONCLIENTMETRICS, sizeof saved_, &saved_, 0);
  }
  bool Set() const { return set_; }

 private:
  NONCLIENTMETRICSW saved_{};
  bool set_ = false;
};

// The second UI face: a taller one than the prefix's own (test.sh hands over its file).
constexpr wchar_t kTallFace[] = L"Noto Sans CJK JP";
class TallFont {
 public:
  TallFont() {
    wchar_t path[MAX_PATH] = {};
    if (GetEnvironmentVariableW(L"TAV_SECOND_UI_FONT", path, MAX_PATH)) {
      path_ = path;
      loaded_ = AddFontResourceExW(path, FR_PRIVATE, nullptr) > 0;
    }
  }
  ~TallFont() {
    if (loaded_) RemoveFontResourceExW(path_.c_str(), FR_PRIVATE, nullptr);
  }
  bool Loaded() const { return loaded_; }

 private:
  std::wstring path_;
  bool loaded_ = false;
};

// The rectangle Windows suggests with WM_DPICHANGED: the window scaled about its top-left.
RECT Suggested(HWND w, UINT from, UINT to) {
  RECT r;
  GetWindowRect(w, &r);
  auto s = [&](LONG v) { return MulDiv(v, static_cast<int>(to), static_cast<int>(from)); };
  return {r.left, r.top, r.left + s(r.right - r.left), r.top + s(r.bottom - r.top)};
}

void ChangeDpi(HWND w, UINT from, UINT to) {
  RECT suggested = Suggested(w, from, to);
  SendMessageW(w, WM_DPICHANGED, MAKEWPARAM(to, to), reinterpret_cast<LPARAM>(&suggested));
}

void Drain() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Form3 runs its own loop: it is looked at from a second thread while it stands.
std::vector<std::wstring> Form3Clipped(UINT dpi, FontFacts* facts, int* checked) {
  std::vector<std::wstring> found;
  std::atomic<bool> seen{false};
  std::thread looker([&] {
    HWND form = nullptr;
    // Shown: its controls are made (found earlier, it may still be making them).
    for (int i = 0; i < 500 && !(form && IsWindowVisible(form)); ++i, Sleep(10))
      form = FindWindowW(kForm3Class, nullptr);
    if (!form) return;
    seen = true;
    if (dpi != 96) ChangeDpi(form, 96, dpi);
    *facts = FactsOf(GetDlgItem(form, Form3Id::Text1));
    found = ClippedCaptions(form, dpi, checked);
    PostMessageW(form, WM_CLOSE, 0, 0);
  });
  test::TempDir folder;
  RunQuickRegistration(GetModuleHandleW(nullptr), u"C:\\docs\\memo.txt", folder.Text());
  looker.join();
  if (!seen) found.push_back(L"no quick registration window");
  return found;
}

TEST(FormLayout, NoCaptionIsClippedInEitherUiFontAtEitherScale) {
  TAV_REQUIRE_DISPOSABLE_PROFILE();  // the system's UI font changes for the signed-in user meanwhile
  wchar_t given[4] = {};
  if (!::tav::test::UnderWine() && !GetEnvironmentVariableW(L"TAV_SECOND_UI_FONT", given, 4))
    TAV_SKIP_UNSUPPORTED() << "the second UI face is not given: set TAV_SECOND_UI_FONT to the path of "
                              "NotoSansCJK-Regular.ttc (package fonts-noto-cjk)";
  TallFont tall;
  ASSERT_TRUE(tall.Loaded()) << "the second UI font (TAV_SECOND_UI_FONT) could not be loaded";
  std::vector<FontFacts> faces;
  for (int font = 0; font < 2; ++font) {
    std::unique_ptr<UiFace> face;
    if (font == 1) {
      face = std::make_unique<UiFace>(kTallFace);
      ASSERT_TRUE(face->Set());
    }
    for (UINT dpi : {96u, 144u}) {
      SCOPED_TRACE(testing::Message() << "font " << font << ", " << dpi << " dpi");
      Form1 form1;
      ASSERT_TRUE(form1.Create(GetModuleHandleW(nullptr)));
      HWND f = form1.Hwnd();
      if (dpi != 96) ChangeDpi(f, 96, dpi);
      if (dpi == 96) faces.push_back(FactsOf(GetDlgItem(f, static_cast<int>(Form1Id::Command2))));
      // The hotkeys' names as long as modifiers make them.
      SetDlgItemTextW(f, static_cast<int>(Form1Id::Label7), L"Ctrl+Alt+Shift+Win+Space キー");
      SetDlgItemTextW(f, static_cast<int>(Form1Id::Label12), L"Ctrl+Shift+カタカナ/ひらがな キー");
      int checked = 0;
      std::vector<std::wstring> clipped = ClippedCaptions(f, dpi, &checked);
      EXPECT_TRUE(clipped.empty()) << "Form1:\n" << testing::PrintToString(Joined(clipped));
      EXPECT_GE(checked, 50) << "Form1's captions were looked at";
      // The preview's box holds its sample in the launcher's font, which is no UI font.
      if (font == 0) {
        HWND preview = FindWindowW(kForm2Class, nullptr);
        ASSERT_NE(preview, nullptr);
        HWND box = GetWindow(preview, GW_CHILD);
        RECT client;
        GetClientRect(box, &client);
        EXPECT_LE(FactsOf(box).lineHeight, client.bottom) << "the preview's sample";
      }
      DestroyWindow(f);
      Drain();
      FontFacts facts;
      clipped = Form3Clipped(dpi, &facts, &checked);
      EXPECT_TRUE(clipped.empty()) << "Form3:\n" << testing::PrintToString(Joined(clipped));
      EXPECT_GE(checked, 6) << "Form3's captions were looked at";
      EXPECT_EQ(facts.face, faces[font].face) << "Form3 uses the same UI font";
      Drain();
    }
  }
  // The two runs really had two fonts, of different line heights.
  ASSERT_EQ(faces.size(), 2u);
  EXPECT_EQ(faces[1].face, kTallFace);
  EXPECT_NE(faces[0].face, kTallFace);
  EXPECT_GE(faces[1].lineHeight, faces[0].lineHeight + 3);
}

// WM_DPICHANGED as Windows sends it: the settings window takes the new scale where suggested,
// inside the work area (scrolled to its top where taller), at its client size for that scale,
// every control (the registration group's too) scaled; the preview goes only by its own
// monitor's message.
TEST(FormLayout, EachWindowFollowsItsOwnMonitorScale) {
  Form1 form1;
  ASSERT_TRUE(form1.Create(GetModuleHandleW(nullptr)));
  HWND f = form1.Hwnd();
  HWND preview = FindWindowW(kForm2Class, nullptr);
  ASSERT_NE(preview, nullptr);
  const HWND controls[] = {GetDlgItem(f, static_cast<int>(Form1Id::Text1)), GetDlgItem(f, static_cast<int>(Form1Id::Frame1)),
                           GetDlgItem(f, static_cast<int>(Form1Id::Command2)), GetDlgItem(f, RegistrationId::Frame3)};
  std::vector<RECT> at96;
  for (HWND c : controls) at96.push_back(RectIn(f, c));
  RECT client;
  GetClientRect(f, &client);
  const LONG width96 = client.right;
  RECT work;
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);

  struct Step {
    UINT from, to;
  };
  int step = 0;
  for (const Step& s : {Step{96, 144}, Step{144, 96}, Step{96, 120}}) {
    SCOPED_TRACE(testing::Message() << s.from << " -> " << s.to);
    // Asked first for its size at the new scale, it gives what it then takes (the work area aside).
    SIZE asked{};
    ASSERT_TRUE(SendMessageW(f, WM_GETDPISCALEDSIZE, s.to, reinterpret_cast<LPARAM>(&asked)));
    // Near the work area's corner, a little further each step: away from where the window stands
    // and from the middle, where it would be placed anew.
    RECT suggested = Suggested(f, s.from, s.to);
    ++step;
    OffsetRect(&suggested, work.left + 4 * step - suggested.left, work.top + 5 * step - suggested.top);
    SendMessageW(f, WM_DPICHANGED, MAKEWPARAM(s.to, s.to), reinterpret_cast<LPARAM>(&suggested));
    // (Wine draws every frame at the system DPI, so the client it took, framed for the new DPI.)
    GetClientRect(f, &client);
    const bool scrolls = (GetWindowLongPtrW(f, GWL_STYLE) & WS_VSCROLL) != 0;
    RECT framed{0, 0, client.right + (scrolls ? GetSystemMetricsForDpi(SM_CXVSCROLL, s.to) : 0), client.bottom};
    AdjustWindowRectExForDpi(&framed, static_cast<DWORD>(GetWindowLongPtrW(f, GWL_STYLE)) & ~WS_VSCROLL, FALSE,
                             static_cast<DWORD>(GetWindowLongPtrW(f, GWL_EXSTYLE)), s.to);
    EXPECT_NEAR(asked.cx, framed.right - framed.left, 3);
    if (!scrolls) EXPECT_NEAR(asked.cy, framed.bottom - framed.top, 3);
    EXPECT_NEAR(client.right, MulDiv(width96, static_cast<int>(s.to), 96), 2) << "client width for the scale";
    RECT window;
    GetWindowRect(f, &window);
    EXPECT_EQ(window.left, suggested.left);
    EXPECT_EQ(window.top, std::clamp(suggested.top, work.top, work.bottom - (window.bottom - window.top)));
    EXPECT_GE(window.top, work.top);
    EXPECT_LE(window.bottom, work.bottom);
    for (std::size_t i = 0; i < std::size(controls); ++i) {
      const RECT now = RectIn(f, controls[i]);
      EXPECT_NEAR(now.left, MulDiv(at96[i].left, static_cast<int>(s.to), 96), 2) << "control " << i;
      EXPECT_NEAR(now.right - now.left, MulDiv(at96[i].right - at96[i].left, static_cast<int>(s.to), 96), 2) << "control " << i;
    }
    EXPECT_NEAR(RectIn(f, controls[0]).top, MulDiv(at96[0].top, static_cast<int>(s.to), 96), 2) << "at its top";
    RECT previewClient;
    GetClientRect(preview, &previewClient);
    EXPECT_EQ(previewClient.right, 240) << "the preview stays with its own monitor";
  }
  ChangeDpi(f, 120, 96);
  GetClientRect(f, &client);
  EXPECT_EQ(client.right, width96) << "back at 96 dpi, the same size as at the start";

  // The preview's own monitor changes scale: its size, place and box follow.
  RECT moved{200, 150, 200 + 360, 150 + 96};
  SendMessageW(preview, WM_DPICHANGED, MAKEWPARAM(144, 144), reinterpret_cast<LPARAM>(&moved));
  RECT previewWindow, previewClient, box = RectIn(preview, GetWindow(preview, GW_CHILD));
  GetWindowRect(preview, &previewWindow);
  GetClientRect(preview, &previewClient);
  EXPECT_EQ(previewWindow.left, 200);
  EXPECT_EQ(previewWindow.top, 150);
  EXPECT_EQ(previewClient.right, 360);
  EXPECT_EQ(previewClient.bottom, 96);
  EXPECT_EQ(box.left, MulDiv(240, 144, 1440));
  EXPECT_EQ(box.top, MulDiv(405, 144, 1440));
  EXPECT_EQ(box.right - box.left, MulDiv(3135, 144, 1440));
  GetClientRect(f, &client);
  EXPECT_EQ(client.right, width96) << "and the settings window stays";
  DestroyWindow(f);
  Drain();
}

}  // namespace
}  // namespace tav::settings
