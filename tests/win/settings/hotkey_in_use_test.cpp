// Whose a held hotkey is, as the note under a capture box tells it: the running launcher's own
// (as its window publishes them, whatever the settings file says by now) or another program's.
#include <gtest/gtest.h>
#include <windows.h>

#include <vector>

#include "hotkey_in_use_win32.h"
#include "launcher_window.h"

namespace tav::settings {
namespace {

TEST(HotkeyInUse, OnlyWhatTheRunningLauncherHoldsIsItsOwn) {
  // Held on this thread, for the launcher or for another program alike.
  ASSERT_TRUE(RegisterHotKey(nullptr, 1, MOD_ALT, VK_F9));
  ASSERT_TRUE(RegisterHotKey(nullptr, 2, MOD_ALT, VK_F10));
  ASSERT_TRUE(RegisterHotKey(nullptr, 3, MOD_CONTROL, VK_F9));
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = kLauncherClass;
  RegisterClassW(&wc);
  const auto altF10 = HeldHotkeyValue(MOD_ALT, VK_F10), ctrlF9 = HeldHotkeyValue(MOD_CONTROL, VK_F9);
  const struct {
    bool launcherRuns;
    std::vector<std::uintptr_t> published;
    unsigned modifiers;
    int key;
    bool another;
  } cases[] = {
      {false, {}, MOD_ALT, VK_F10, true},       // no launcher: every held key is another program's
      {true, {altF10}, MOD_ALT, VK_F10, false},
      {true, {0, altF10}, MOD_ALT, VK_F10, false},  // its second hotkey
      {true, {altF10}, MOD_ALT, VK_F9, true},    // the file may name Alt+F9 by now
      {true, {}, MOD_ALT, VK_F10, true},         // a launcher that holds neither
      {true, {ctrlF9}, MOD_CONTROL, VK_F9, false},
      {true, {ctrlF9}, MOD_ALT, VK_F9, true},    // the same key with other modifiers
      {true, {altF10}, MOD_ALT, VK_F11, false},  // free
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    HWND launcher = cases[i].launcherRuns ? CreateWindowExW(0, kLauncherClass, L"", WS_POPUP, 0, 0, 1, 1, nullptr,
                                                            nullptr, wc.hInstance, nullptr)
                                          : nullptr;
    for (std::size_t p = 0; p < cases[i].published.size(); ++p)
      if (cases[i].published[p]) SetPropW(launcher, kHeldHotkeyProperties[p], reinterpret_cast<HANDLE>(cases[i].published[p]));
    EXPECT_EQ(HeldByAnotherProgram({static_cast<int>(cases[i].modifiers), cases[i].key}), cases[i].another) << "case " << i;
    for (const wchar_t* property : kHeldHotkeyProperties) RemovePropW(launcher, property);
    if (launcher) DestroyWindow(launcher);
  }
  for (int id : {1, 2, 3}) UnregisterHotKey(nullptr, id);
  UnregisterClassW(kLauncherClass, wc.hInstance);
}

}  // namespace
}  // namespace tav::settings
