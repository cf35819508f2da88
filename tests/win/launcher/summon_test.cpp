// The summon sequence on the launcher's real window, in this process.
#include <windows.h>
#include <imm.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <tuple>
#include <vector>

#include "launcher_app_win32.h"
#include "hotkeys_win32.h"
#include "tray_icon_win32.h"

namespace tav {
namespace {

// Closes the window as a close request does, serving the quit message it posts.
void Close(Form1& form) {
  SendMessageW(form.Hwnd(), WM_CLOSE, 0, 0);
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
  }
  Module3::SetSummon(nullptr);
}

TEST(Summon, TheBoxStartsWithItsInputMethodOff) {
  LauncherApp app;
  ASSERT_TRUE(app.Start(GetModuleHandleW(nullptr)));
  Form1& form = app.Window();
  HWND edit = FindWindowExW(form.Hwnd(), nullptr, L"Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  HIMC imc = ImmGetContext(edit);
  ASSERT_NE(imc, nullptr);
  for (int round = 0; round < 2; ++round) {  // the second while the window is already shown
    ASSERT_TRUE(ImmSetOpenStatus(imc, TRUE));
    ASSERT_TRUE(ImmGetOpenStatus(imc)) << "round " << round;
    form.Summon();
    EXPECT_TRUE(IsWindowVisible(form.Hwnd())) << "round " << round;
    EXPECT_EQ(GetFocus(), edit) << "round " << round;
    EXPECT_FALSE(ImmGetOpenStatus(imc)) << "round " << round;
  }
  ImmReleaseContext(edit, imc);
  Close(form);
  EXPECT_FALSE(IsWindow(form.Hwnd()));
}

// Started as administrator, the launcher must still hear the restarted shell's "TaskbarCreated"
// (sent from a process that is not elevated), or its icon would not come back.
TEST(LauncherElevated, TaskbarCreatedIsLetThroughTheMessageFilter) {
  static std::vector<std::tuple<HWND, UINT, DWORD>> calls;
  calls.clear();
  struct Restore {
    Module1::MessageFilter old = Module1::taskbarMessageFilter;
    ~Restore() { Module1::taskbarMessageFilter = old; }
  } restore;
  Module1::taskbarMessageFilter = [](HWND w, UINT message, DWORD action, PCHANGEFILTERSTRUCT) -> BOOL {
    calls.emplace_back(w, message, action);
    return TRUE;
  };
  LauncherApp app;
  ASSERT_TRUE(app.Start(GetModuleHandleW(nullptr)));
  Form1& form = app.Window();
  const std::tuple<HWND, UINT, DWORD> expected{form.Hwnd(), RegisterWindowMessageW(L"TaskbarCreated"), MSGFLT_ALLOW};
  EXPECT_NE(std::find(calls.begin(), calls.end(), expected), calls.end()) << calls.size() << " calls";
  Close(form);
}

}  // namespace
}  // namespace tav
