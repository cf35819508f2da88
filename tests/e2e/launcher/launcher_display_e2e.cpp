// The launcher's whole road at the screen's scale and in the system's locale. scripts/test.sh
// runs LauncherAnyLocaleAndScale once more in an English locale (code page 1252) and at 144 dpi.
// Screenshots go to %TAV_SHOTS% when set.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstdlib>
#include <string>

#include "driver.h"
#include "launcher/running_launcher.h"
#include "text_encoding.h"

namespace tav::e2e {
namespace {

// The scale the test prefix is set to (LogPixels), 96 when it is not set. On Windows a changed
// LogPixels waits for the next sign-in: there the scale is the system's own.
UINT ConfiguredDpi() {
  if (!test::UnderWine()) return GetDpiForSystem();
  DWORD value = 0, size = sizeof value;
  if (RegGetValueW(HKEY_CURRENT_USER, L"Control Panel\\Desktop", L"LogPixels", RRF_RT_REG_DWORD, nullptr, &value,
                   &size) != ERROR_SUCCESS || value == 0)
    return 96;
  return value;
}

int Scaled(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }

std::string Describe(const RECT& r) {
  return "(" + std::to_string(r.left) + "," + std::to_string(r.top) + ")-(" + std::to_string(r.right) + "," +
         std::to_string(r.bottom) + ")";
}

using Started = RunningLauncher;

class LauncherAnyLocaleAndScale : public ::testing::Test {
 protected:
  void SetUp() override {
    // Physical pixels, as a per-monitor aware program sees them (an unaware one gets 96-dpi sizes).
    SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
    dpi_ = ConfiguredDpi();
    // The run that asks for another locale must really be in it.
    wchar_t expected[16];
    if (GetEnvironmentVariableW(L"TAV_EXPECT_ACP", expected, 16)) {
      ASSERT_EQ(GetACP(), std::wcstoul(expected, nullptr, 10));
    }
    if (GetEnvironmentVariableW(L"TAV_EXPECT_DPI", expected, 16)) {
      ASSERT_EQ(dpi_, std::wcstoul(expected, nullptr, 10));
    }
  }
  UINT dpi_ = 96;
};

// Command files as Notepad saves them today (UTF-8 without a mark) and in the ANSI code page
// (ASCII only, so every locale can hold it), under Japanese names.
TEST_F(LauncherAnyLocaleAndScale, StartSummonCompleteAndRun) {
  Installation inst;
  const std::wstring probe = inst.ProbeCommand();
  inst.WriteRaw(L"texts\\メモ帳.txt", ToUtf8(U((probe + L" \"C:\\文書\\予定表.txt\"\r\n").c_str())));
  inst.WriteCommand(L"計算機", probe + L" calc");
  Started s(inst);
  ASSERT_NE(s.edit, nullptr);
  ASSERT_TRUE(s.Summon()) << ToUtf8(U(DescribeForeground().c_str()));

  RECT client;
  GetClientRect(s.form, &client);
  EXPECT_EQ(client.right, Scaled(3600, dpi_)) << "at " << dpi_ << " dpi";
  EXPECT_EQ(client.bottom, Scaled(960, dpi_)) << "at " << dpi_ << " dpi";
  const int l = Scaled(240, dpi_), t = Scaled(405, dpi_);
  const RECT box{l, t, l + Scaled(3135, dpi_), t + Scaled(270, dpi_)};
  const RECT got = RectIn(s.form, s.edit);
  EXPECT_TRUE(EqualRect(&box, &got)) << Describe(got);
  // The skin covers the scaled window: its bottom-right area, beside the box, is the picture's.
  EXPECT_TRUE(WaitUntil([&] { return NearColour(ScreenPixel(s.form, client.right - 6, client.bottom - 6),
                                                RGB(24, 123, 140)); }, std::chrono::seconds(2)))
      << std::hex << ScreenPixel(s.form, client.right - 6, client.bottom - 6);
  EXPECT_TRUE(NearColour(ScreenPixel(s.form, MulDiv(120, dpi_, 96), MulDiv(5, dpi_, 96)), RGB(53, 95, 132)))
      << std::hex << ScreenPixel(s.form, MulDiv(120, dpi_, 96), MulDiv(5, dpi_, 96));

  struct Case {
    const wchar_t* typed;
    const wchar_t* completed;
    const wchar_t* more;  // typed after the completion
    std::wstring commandLine;
  } cases[] = {
      {L"メ", L"メモ帳", L"", probe + L" \"C:\\文書\\予定表.txt\""},
      {L"計", L"計算機", L"/引数", probe + L" calc 引数"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    if (i > 0) {
      ASSERT_TRUE(s.Summon()) << "case " << i;
    }
    TypeText(cases[i].typed);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(s.edit) == cases[i].completed; }, std::chrono::seconds(3)))
        << "case " << i << ": " << ToUtf8(U(WindowText(s.edit).c_str()));
    if (i == 0) ShotIfWanted(L"display-completed");
    SendKey(VK_END);
    TypeText(cases[i].more);
    SendKey(VK_RETURN);
    ASSERT_TRUE(inst.WaitForProbe(i + 1)) << "case " << i << ": nothing started";
    EXPECT_EQ(inst.ProbeLog()[i].commandLine, cases[i].commandLine) << "case " << i;
    EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(s.form); })) << "case " << i;
  }
}

// A second copy, in every locale and scale: it shows the message, keeps nothing and ends, while
// the first copy keeps all it holds. (A first copy whose mutex may not be opened, as a copy
// started normally finds one that runs elevated: single_instance_test.cpp.)
TEST_F(LauncherAnyLocaleAndScale, SecondCopyShowsTheMessageAndEnds) {
  Installation inst;
  Started first(inst);
  ASSERT_TRUE(first.started);
  Process second = inst.Start(L"Tavimbra.exe");
  HWND box = WaitForMessageBox(second.Id(), kStartTimeout);
  ASSERT_NE(box, nullptr) << "started as a second resident copy";
  EXPECT_EQ(WindowText(box), L"Tavimbra");
  EXPECT_EQ(MessageBoxText(box), L"このアプリケーションは既に起動しています") << ToUtf8(U(MessageBoxText(box).c_str()));
  EXPECT_EQ(FindTopWindow(second.Id(), kLauncherClass, true), nullptr);
  ShotIfWanted(L"display-already-running");
  // A close or end-of-session request to its hidden window while the message is open: there
  // is nothing to release yet, so the window and the message stay, and the first copy keeps all.
  HWND hidden = FindTopWindow(second.Id(), kLauncherClass);
  ASSERT_NE(hidden, nullptr);
  for (UINT request : {UINT{WM_CLOSE}, UINT{WM_ENDSESSION}}) {
    DWORD_PTR answer = 0;
    ASSERT_TRUE(SendMessageTimeoutW(hidden, request, request == WM_ENDSESSION, 0, SMTO_BLOCK, 5000, &answer));
    EXPECT_TRUE(IsWindow(hidden)) << request;
  }
  // What the requests posted on (a destruction, a close) has been handled by the message's
  // own loop once a message posted behind it has. (A quit would be served after it.)
  ASSERT_TRUE(PostedMessagesHandled(FindChild(hidden, L"Edit")));
  EXPECT_TRUE(IsWindowVisible(box)) << "the message is still open";
  EXPECT_NE(GlobalFindAtomW(L"HOTKEY1"), 0);
  EXPECT_TRUE(IconExists(first.form)) << "the first copy keeps its icon";
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(second.Wait(std::chrono::seconds(5)), 0);
  first.other.Activate();
  ASSERT_TRUE(first.Summon()) << "the first copy keeps its hotkeys";
}

TEST_F(LauncherAnyLocaleAndScale, MenuTextsIntact) {
  Installation inst;
  Started s(inst);
  ASSERT_TRUE(s.Summon());
  PostMessageW(s.form, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  HWND menu = WaitForTopWindow(s.proc.Id(), L"#32768", true, std::chrono::seconds(5));
  ASSERT_NE(menu, nullptr);
  ShotIfWanted(L"display-menu");
  auto hmenu = reinterpret_cast<HMENU>(SendMessageW(menu, MN_GETHMENU, 0, 0));
  const int count = GetMenuItemCount(hmenu);
  std::wstring items;
  for (int i = 0; i < count; ++i) {
    wchar_t item[64] = {};
    GetMenuStringW(hmenu, static_cast<UINT>(i), item, 64, MF_BYPOSITION);
    items += std::wstring(item) + L"|";
  }
  SendKey(VK_ESCAPE);
  // Windows reads another process's menu; Wine keeps menus inside the owning process.
  if (count < 0) TAV_SKIP_UNSUPPORTED() << "the menu of another process cannot be read here; see the screenshot";
  EXPECT_EQ(items, L"閉じる|オートコンプリートリスト更新|") << ToUtf8(U(items.c_str()));
}

// WM_DPICHANGED as Windows sends it: the new scale in wParam, a pointer to the suggested window
// rectangle (in the launcher's own memory) in lParam.
TEST(LauncherDpiChange, FollowsTheSuggestedRectangle) {
  SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  Installation inst;
  Started s(inst);
  ASSERT_NE(s.edit, nullptr);
  ASSERT_TRUE(s.Summon());
  const UINT start = ConfiguredDpi();
  for (UINT dpi : {UINT{144}, UINT{120}, start}) {
    const RECT suggested{100, 50, 100 + Scaled(3600, dpi), 50 + Scaled(960, dpi)};
    ASSERT_TRUE(SendDpiChanged(s.form, dpi, suggested)) << dpi << " dpi";
    RECT window;
    GetWindowRect(s.form, &window);
    EXPECT_TRUE(EqualRect(&window, &suggested)) << dpi << " dpi: " << Describe(window);
    const int l = Scaled(240, dpi), t = Scaled(405, dpi);
    const RECT box{l, t, l + Scaled(3135, dpi), t + Scaled(270, dpi)};
    const RECT got = RectIn(s.form, s.edit);
    EXPECT_TRUE(EqualRect(&box, &got)) << dpi << " dpi: " << Describe(got);
    EXPECT_TRUE(WaitUntil([&] { return NearColour(ScreenPixel(s.form, Scaled(3600, dpi) - 6, Scaled(960, dpi) - 6),
                                                  RGB(24, 123, 140)); }, std::chrono::seconds(2)))
        << dpi << " dpi: the skin does not reach the corner";
    if (dpi == 144) ShotIfWanted(L"display-dpi-changed-144");
  }
  TypeText(L"x");
  EXPECT_TRUE(WaitUntil([&] { return WindowText(s.edit) == L"x"; }, std::chrono::seconds(3))) << "still usable";
}

// Every summon centres the window on the monitor in use at its scale, wherever it stood and at
// whatever scale it had (a monitor unplugged, a remote session at another size or scale): moved
// away and given another scale while hidden, it comes back centred at the screen's own.
TEST(LauncherDpiChange, EverySummonCentresOnTheScreenAtItsScale) {
  SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2);
  Installation inst;
  Started s(inst);
  ASSERT_TRUE(s.started);
  const UINT dpi = ConfiguredDpi();
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(MonitorFromPoint({0, 0}, MONITOR_DEFAULTTOPRIMARY), &mi);
  const int w = Scaled(3600, dpi), h = Scaled(960, dpi);
  const RECT centred{(mi.rcMonitor.left + mi.rcMonitor.right - w) / 2, (mi.rcMonitor.top + mi.rcMonitor.bottom - h) / 2,
                     (mi.rcMonitor.left + mi.rcMonitor.right - w) / 2 + w,
                     (mi.rcMonitor.top + mi.rcMonitor.bottom - h) / 2 + h};
  ASSERT_TRUE(EqualRect(&mi.rcWork, &mi.rcMonitor) || (centred.top >= mi.rcWork.top && centred.bottom <= mi.rcWork.bottom))
      << "the work area leaves the centre free";
  const UINT other = dpi == 120 ? 168 : 120;
  // Moved while hidden, then while shown; summoned by the hotkey, then by a click on the icon.
  for (int round = 0; round < 3; ++round) {
    const RECT away{3 + round, 5, 3 + round + Scaled(3600, other), 5 + Scaled(960, other)};
    ASSERT_TRUE(SendDpiChanged(s.form, other, away)) << round;
    if (round < 2) {
      ASSERT_TRUE(s.Summon()) << round;
    } else {
      PostMessageW(s.form, WM_MOUSEMOVE, 1, WM_LBUTTONUP);  // the icon's left click
      ASSERT_TRUE(s.PostedHandled());
    }
    // Shown already in round 1, the window passes Summon's check before the hotkey reaches it.
    RECT got{};
    EXPECT_TRUE(WaitUntil([&] { return GetWindowRect(s.form, &got) && EqualRect(&got, &centred); },
                          std::chrono::seconds(2)))
        << round << ": " << Describe(got) << " not " << Describe(centred);
    const int l = Scaled(240, dpi), t = Scaled(405, dpi);
    const RECT box{l, t, l + Scaled(3135, dpi), t + Scaled(270, dpi)};
    const RECT boxGot = RectIn(s.form, s.edit);
    EXPECT_TRUE(EqualRect(&box, &boxGot)) << round << ": " << Describe(boxGot);
  }
}

}  // namespace
}  // namespace tav::e2e
