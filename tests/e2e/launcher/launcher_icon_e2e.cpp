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

// The menu opened by a right click on the icon (or on the window), closed by Esc or by an entry.
::testing::AssertionResult OpenAndClose(RunningLauncher& l, bool onIcon, bool chooseRefresh) {
  PostMessageW(l.form, onIcon ? WM_MOUSEMOVE : WM_RBUTTONUP, 1, onIcon ? kTrayRightUp : MAKELPARAM(5, 5));
  HWND menu = WaitForTopWindow(l.proc.Id(), L"#32768", true, kStartTimeout);
  if (!menu) return ::testing::AssertionFailure() << "no menu";
  if (chooseRefresh) {
    SendKey(VK_DOWN);
    SendKey(VK_DOWN);
    SendKey(VK_RETURN);
  } else {
    SendKey(VK_ESCAPE);
  }
  if (!WaitUntil([&] { return !IsWindowVisible(menu); })) return ::testing::AssertionFailure() << "menu stays";
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
  for (bool entry : {false, true}) {
    const std::size_t before = CallsOf(tray, l.form, NIM_SETFOCUS).size();
    ASSERT_TRUE(OpenAndClose(l, true, entry)) << entry;
    EXPECT_FALSE(l.Visible()) << entry;
    const std::vector<TrayCall> calls = CallsOf(tray, l.form, NIM_SETFOCUS);
    ASSERT_EQ(calls.size(), before + 1) << entry;
    EXPECT_EQ(calls.back().id, 1u) << entry;
  }
  // Shown: the focus stays in the box and the notification area is not asked to take it.
  const std::size_t before = CallsOf(tray, l.form, NIM_SETFOCUS).size();
  for (bool onIcon : {true, false}) {
    ASSERT_TRUE(l.Summon()) << onIcon;
    ASSERT_TRUE(OpenAndClose(l, onIcon, false)) << onIcon;
    EXPECT_TRUE(l.Visible()) << onIcon;
    EXPECT_EQ(FocusOf(l.form), l.edit) << onIcon;
    EXPECT_EQ(CallsOf(tray, l.form, NIM_SETFOCUS).size(), before) << onIcon;
  }
}

TEST(LauncherIcon, AHotkeyAnotherProgramHoldsIsNamedOnceInABalloon) {
  const std::wstring neither = L"どちらのホットキーでも呼び出せません。このアイコンをクリックすると呼び出せます。";
  struct Case {
    std::vector<std::wstring> settings;
    std::optional<std::wstring> balloon;
    WORD works;  // a hotkey that still summons, or 0
  } cases[] = {
      {{L"key1=81"}, L"Alt+Q は他のプログラムが使用しています。Alt+W で呼び出せます。", 'W'},
      {{L"key1=81", L"key2=81"}, L"Alt+Q は他のプログラムが使用しています。" + neither, 0},
      {{}, std::nullopt, 'O'},  // Alt+O and Alt+W are free
  };
  HeldHotkeys holder({'Q'});
  ASSERT_TRUE(holder.Held());
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Installation inst;
    inst.WriteSettings(cases[i].settings);
    RecordingTray tray;
    RunningLauncher l(inst);
    ASSERT_TRUE(l.started) << "case " << i;
    // Said before the launcher serves its first message, so it is there by now.
    std::vector<TrayCall> balloons = CallsOf(tray, l.form, NIM_MODIFY, NIF_INFO);
    if (!cases[i].balloon) {
      EXPECT_TRUE(balloons.empty()) << "case " << i << ": " << ToUtf8(U(balloons[0].info.c_str()));
    } else {
      ASSERT_EQ(balloons.size(), 1u) << "case " << i;
      EXPECT_EQ(balloons[0].info, *cases[i].balloon) << "case " << i << ": " << ToUtf8(U(balloons[0].info.c_str()));
      EXPECT_EQ(balloons[0].infoTitle, L"Tavimbra") << "case " << i;
      EXPECT_EQ(balloons[0].id, 1u) << "case " << i;
    }
    // Once per start: the icon added again for a restarted taskbar says nothing more.
    PostMessageW(l.form, RegisterWindowMessageW(L"TaskbarCreated"), 0, 0);
    ASSERT_TRUE(l.PostedHandled()) << "case " << i;
    EXPECT_EQ(CallsOf(tray, l.form, NIM_MODIFY, NIF_INFO).size(), balloons.size()) << "case " << i;
    if (cases[i].works) {
      EXPECT_TRUE(l.Summon(cases[i].works)) << "case " << i;
    }
  }
}

}  // namespace
}  // namespace tav::e2e
