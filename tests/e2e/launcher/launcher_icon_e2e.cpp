// The icon as a keyboard user and a user with a busy hotkey meet it: the focus goes back to the
// notification area after the icon's menu, and a hotkey another program holds is named in a
// balloon. Both read from a recording notification area.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>
#include <vector>

#include "driver.h"
#include "launcher/running_launcher.h"
#include "text_encoding.h"

namespace tav::e2e {
namespace {

constexpr UINT kTrayRightUp = 517;

std::vector<TrayCall> CallsOf(const RecordingTray& tray, HWND form, DWORD message, UINT flags = 0) {
  std::vector<TrayCall> calls;
  for (const TrayCall& c : tray.Calls())
    if (c.window == form && c.message == message && (c.flags & flags) == flags) calls.push_back(c);
  return calls;
}

// How the icon's menu closes: Esc or the refresh entry. (Windows also ends it when a click
// activates another window; Wine's menu takes that click and activates nothing.)
enum class Closing { escape, entry };

// The menu opened by a right click on the icon (or on the window), then closed.
::testing::AssertionResult OpenAndClose(RunningLauncher& l, bool onIcon, Closing closing) {
  PostMessageW(l.form, onIcon ? WM_MOUSEMOVE : WM_RBUTTONUP, 1, onIcon ? kTrayRightUp : MAKELPARAM(5, 5));
  HWND menu = WaitForTopWindow(l.proc.Id(), L"#32768", true, kStartTimeout);
  if (!menu) return ::testing::AssertionFailure() << "no menu";
  if (closing == Closing::entry) {
    SendKey(VK_DOWN);
    SendKey(VK_DOWN);
    SendKey(VK_RETURN);
  } else {
    SendKey(VK_ESCAPE);
  }
  if (!WaitUntil([&] { return !IsWindowVisible(menu); })) return ::testing::AssertionFailure() << "menu stays";
  // Out of the menu's own loop (which also serves posted messages), then what follows the menu
  // has run by the time a posted message comes back.
  const DWORD thread = GetWindowThreadProcessId(l.form, nullptr);
  if (!WaitUntil([&] {
        GUITHREADINFO info{};
        info.cbSize = sizeof info;
        return GetGUIThreadInfo(thread, &info) && !(info.flags & GUI_INMENUMODE);
      }))
    return ::testing::AssertionFailure() << "still in the menu";
  if (!l.PostedHandled()) return ::testing::AssertionFailure() << "launcher busy";
  return ::testing::AssertionSuccess();
}

TEST(LauncherIcon, MenuClosedWhileHiddenGivesTheFocusBackToTheIcon) {
  Installation inst;
  inst.WriteSettings({L"KeepFocus=0"});  // no timer puts the focus into the box afterwards
  RecordingTray tray;
  ASSERT_EQ(FindWindowW(L"Shell_TrayWnd", nullptr), tray.Hwnd()) << "the shell's own tray is found first";
  RunningLauncher l(inst);
  ASSERT_TRUE(l.started);
  // Hidden: Esc, then an entry; each gives the focus back once, with the icon's identifier.
  for (Closing closing : {Closing::escape, Closing::entry}) {
    const int c = static_cast<int>(closing);
    const std::size_t before = CallsOf(tray, l.form, NIM_SETFOCUS).size();
    ASSERT_TRUE(OpenAndClose(l, true, closing)) << c;
    EXPECT_FALSE(l.Visible()) << c;
    const std::vector<TrayCall> calls = CallsOf(tray, l.form, NIM_SETFOCUS);
    ASSERT_EQ(calls.size(), before + 1) << c;
    EXPECT_EQ(calls.back().id, 1u) << c;
  }
  // Shown: the focus stays in the box and the notification area is not asked to take it; also
  // when the menu activates the window again (the taskbar had the foreground meanwhile).
  const std::size_t before = CallsOf(tray, l.form, NIM_SETFOCUS).size();
  for (int round = 0; round < 3; ++round) {
    const bool onIcon = round != 1;
    ASSERT_TRUE(l.Summon()) << round;
    if (round == 2) {
      l.other.Activate();
      ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == l.other.Hwnd(); })) << round;
    }
    ASSERT_TRUE(OpenAndClose(l, onIcon, Closing::escape)) << round;
    EXPECT_TRUE(l.Visible()) << round;
    EXPECT_EQ(FocusOf(l.form), l.edit) << round;
    EXPECT_EQ(CallsOf(tray, l.form, NIM_SETFOCUS).size(), before) << round;
  }
}

// Said in a balloon once, also when the taskbar came up only after the launcher (the balloon
// follows the icon added again), and in the icon's tip for the whole run. A taskbar created
// again gets the icon again.
TEST(LauncherIcon, AHotkeyAnotherProgramHoldsIsNamedOnceInABalloon) {
  const std::wstring neither = L"どちらのホットキーでも呼び出せません。このアイコンをクリックすると呼び出せます。";
  const std::wstring onlyW = L"Alt+Q は他のプログラムが使用しています。Alt+W で呼び出せます。";
  struct Case {
    std::vector<std::wstring> settings;
    std::optional<std::wstring> balloon;
    WORD works;  // a hotkey that still summons, or 0
    bool taskbarLate;
  } cases[] = {
      {{L"key1=81"}, onlyW, 'W', false},
      {{L"key1=81", L"key2=81"}, L"Alt+Q は他のプログラムが使用しています。" + neither, 0, false},
      {{}, std::nullopt, 'O', false},  // Alt+O and Alt+W are free
      {{L"key1=81"}, onlyW, 'W', true},
      {{}, std::nullopt, 'O', true},
  };
  HeldHotkeys holder({'Q'});
  ASSERT_TRUE(holder.Held());
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Installation inst;
    inst.WriteSettings(cases[i].settings);
    RecordingTray tray;
    tray.Refuse(cases[i].taskbarLate);
    RunningLauncher l(inst);
    ASSERT_TRUE(l.started) << "case " << i;
    auto calls = [&](DWORD message, UINT flags, bool refused) {
      std::vector<TrayCall> found;
      for (const TrayCall& c : CallsOf(tray, l.form, message, flags))
        if (c.refused == refused) found.push_back(c);
      return found;
    };
    auto taken = [&](DWORD message, UINT flags) { return calls(message, flags, false); };
    // Said as start-up ends (the launcher may answer the driver's "ready" while it says it): to
    // the taskbar that is there, or refused by the one that is not up yet.
    if (cases[i].balloon)
      ASSERT_TRUE(WaitUntil([&] { return calls(NIM_MODIFY, NIF_INFO, cases[i].taskbarLate).size() == 1; }))
          << "case " << i;
    tray.Refuse(false);
    PostMessageW(l.form, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    ASSERT_TRUE(l.PostedHandled()) << "case " << i;
    std::vector<TrayCall> balloons = taken(NIM_MODIFY, NIF_INFO);
    if (!cases[i].balloon) {
      EXPECT_TRUE(balloons.empty()) << "case " << i << ": " << ToUtf8(U(balloons[0].info.c_str()));
    } else {
      ASSERT_EQ(balloons.size(), 1u) << "case " << i;
      EXPECT_EQ(balloons[0].info, *cases[i].balloon) << "case " << i << ": " << ToUtf8(U(balloons[0].info.c_str()));
      EXPECT_EQ(balloons[0].infoTitle, L"Tavimbra") << "case " << i;
      EXPECT_EQ(balloons[0].id, 1u) << "case " << i;
    }
    const std::vector<TrayCall> adds = taken(NIM_ADD, 0);
    ASSERT_EQ(adds.size(), cases[i].taskbarLate ? 1u : 2u) << "case " << i << ": added for each taskbar that took it";
    EXPECT_EQ(adds.back().tip, cases[i].balloon.value_or(L"")) << "case " << i;
    if (cases[i].works) {
      EXPECT_TRUE(l.Summon(cases[i].works)) << "case " << i;
    }
  }
}

}  // namespace
}  // namespace tav::e2e
