// The summon sequence on the launcher's real window, in this process.
#include <windows.h>
#include <imm.h>

#include <gtest/gtest.h>

#include "form1_win32.h"
#include "hotkeys_win32.h"

namespace tav {
namespace {

TEST(Summon, TheBoxStartsWithItsInputMethodOff) {
  Form1 form;
  ASSERT_TRUE(form.Load(GetModuleHandleW(nullptr)));
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
  SendMessageW(form.Hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(form.Hwnd()));
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {  // the closing's quit message
  }
  Module3::SetSummon(nullptr);
}

}  // namespace
}  // namespace tav
