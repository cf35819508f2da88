// The icon as a keyboard user meets it: the focus goes back to the notification area after the
// icon's menu, as read from a recording notification area.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

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

}  // namespace
}  // namespace tav::e2e
