// The window hook that receives the hotkeys, below the GUI.
#include <gtest/gtest.h>

#include <stdexcept>
#include <vector>

#include "hotkey.h"
#include "hotkeys_win32.h"
#include "launcher_window.h"

namespace tav {
namespace {

std::vector<UINT> g_seen;  // messages that reached the window's own procedure

// RegisterHotKey as the launcher calls it, through this program's import slot: the flags it asks
// for are recorded (the system gives no way to read them back, and Wine ignores MOD_NOREPEAT).
extern "C" decltype(&RegisterHotKey) __imp_RegisterHotKey;
decltype(&RegisterHotKey) g_registerHotKey = nullptr;
std::vector<UINT> g_registeredModifiers;
BOOL WINAPI RecordingRegisterHotKey(HWND w, int id, UINT modifiers, UINT key) {
  g_registeredModifiers.push_back(modifiers);
  return g_registerHotKey(w, id, modifiers, key);
}
void SetRegisterHotKey(decltype(&RegisterHotKey) to) {
  DWORD was = 0;
  VirtualProtect(&__imp_RegisterHotKey, sizeof to, PAGE_READWRITE, &was);
  __imp_RegisterHotKey = to;
  VirtualProtect(&__imp_RegisterHotKey, sizeof to, was, &was);
}

LRESULT CALLBACK OwnProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_APP) {
    g_seen.push_back(m);
    // Sent while the hook handles a message: must still reach this procedure.
    if (w == 1) SendMessageW(h, WM_APP, 2, 0);
    return 40 + static_cast<LRESULT>(w);
  }
  if (m == WM_HOTKEY) g_seen.push_back(m);
  return DefWindowProcW(h, m, w, l);
}

HWND MakeWindow() {
  WNDCLASSW wc{};
  wc.lpfnWndProc = OwnProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TavHookTest";
  RegisterClassW(&wc);
  return CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 10, 10, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
}

TEST(Hotkeys, HookPassesEverythingOnAndSummonsOnItsIdentifiers) {
  HWND w = MakeWindow();
  ASSERT_NE(w, nullptr);
  int summons = 0;
  bool busyDuringSummon = false;
  // A message sent while summoning (the platform sends them when showing a window) passes straight on.
  Module3::SetSummon([&](HWND h) {
    ++summons;
    busyDuringSummon = Module3::HotkeyBusy;
    EXPECT_EQ(SendMessageW(h, WM_APP, 3, 0), 43);
  });
  // Alt+F11 held elsewhere: only the hotkey the launcher holds is published on its window.
  ASSERT_TRUE(RegisterHotKey(nullptr, 5, MOD_ALT, 0x7A));
  g_registerHotKey = __imp_RegisterHotKey;
  SetRegisterHotKey(RecordingRegisterHotKey);
  Module3::AddHotkeys(w, {kModAlt, 0x7B /* F12 */}, {kModAlt, 0x7A /* F11 */});
  SetRegisterHotKey(g_registerHotKey);
  // A held key summons once.
  EXPECT_EQ(g_registeredModifiers, (std::vector<UINT>{MOD_ALT | MOD_NOREPEAT, MOD_ALT | MOD_NOREPEAT}));
  UnregisterHotKey(nullptr, 5);
  EXPECT_EQ(reinterpret_cast<std::uintptr_t>(GetPropW(w, kHeldHotkeyProperties[0])), HeldHotkeyValue(MOD_ALT, 0x7B));
  EXPECT_EQ(GetPropW(w, kHeldHotkeyProperties[1]), nullptr);
  EXPECT_GE(Module3::HotkeyId1, 0xC000) << "global atoms are at or above 0xC000";
  EXPECT_NE(Module3::HotkeyId1, Module3::HotkeyId2);
  EXPECT_EQ(GlobalFindAtomW(L"HOTKEY1"), Module3::HotkeyId1);
  Module3::HookWindow(w);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(w, GWLP_WNDPROC)), &Module3::HotkeyWindowProc);
  EXPECT_EQ(Module3::PrevWndProc, &OwnProc);

  g_seen.clear();
  EXPECT_EQ(SendMessageW(w, WM_APP, 1, 0), 41) << "the previous procedure's result";
  EXPECT_EQ(g_seen.size(), 2u) << "the nested message too";

  // Identifiers as literals: an atom below 0xC000 is its own number, one at or above it arrives as
  // the negative 32-bit number (whatever the upper half of a 64-bit wParam holds).
  const ATOM atom1 = Module3::HotkeyId1, atom2 = Module3::HotkeyId2;
  Module3::HotkeyId1 = 0x0123;
  Module3::HotkeyId2 = 0xC123;
  struct Case {
    WPARAM id;
    int summons;
  } cases[] = {
      {0x0123, 1},
      {static_cast<WPARAM>(0xFFFFC123u), 1},
      {static_cast<WPARAM>(INT_PTR{-0x3EDD}), 1},  // -0x3EDD == 0xFFFFC123 as a 32-bit number
      {0xC123, 0},  // unwidened: not what the platform delivers
      {0xFFFF0123u, 0},
      {7, 0},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    summons = 0;
    g_seen.clear();
    SendMessageW(w, WM_HOTKEY, cases[i].id, 0);
    EXPECT_EQ(summons, cases[i].summons) << "case " << i;
    std::vector<UINT> expected;
    if (cases[i].summons) expected.push_back(WM_APP);  // sent by the summon, passed straight on
    expected.push_back(WM_HOTKEY);                      // then the hotkey itself, passed on as well
    EXPECT_EQ(g_seen, expected) << "case " << i;
  }
  Module3::HotkeyId1 = atom1;
  Module3::HotkeyId2 = atom2;
  EXPECT_TRUE(busyDuringSummon);
  EXPECT_FALSE(Module3::HotkeyBusy);

  Module3::UnregisterHotkeys(w);
  EXPECT_EQ(GetPropW(w, kHeldHotkeyProperties[0]), nullptr);
  Module3::DeleteAtoms();
  Module3::UnhookWindow(w);
  EXPECT_EQ(reinterpret_cast<WNDPROC>(GetWindowLongPtrW(w, GWLP_WNDPROC)), &OwnProc);
  EXPECT_EQ(GlobalFindAtomW(L"HOTKEY1"), 0);
  EXPECT_EQ(GlobalFindAtomW(L"HOTKEY2"), 0);
  EXPECT_TRUE(RegisterHotKey(w, 1, MOD_ALT, 0x7B)) << "Alt+F12 released";
  UnregisterHotKey(w, 1);
  DestroyWindow(w);
  Module3::SetSummon(nullptr);
}

// A summon that throws stays inside the hook: the hotkey still reaches the window's own
// procedure, and the next one summons again.
TEST(Hotkeys, ASummonThatThrowsLeavesTheHotkeyWorking) {
  HWND w = MakeWindow();
  ASSERT_NE(w, nullptr);
  int summons = 0;
  Module3::SetSummon([&](HWND) {
    if (++summons == 1) throw std::runtime_error("summon failed");
  });
  const ATOM atom1 = Module3::HotkeyId1;
  Module3::HotkeyId1 = 0x0123;
  Module3::HookWindow(w);
  g_seen.clear();
  for (int i = 0; i < 2; ++i) SendMessageW(w, WM_HOTKEY, 0x0123, 0);
  EXPECT_EQ(summons, 2);
  EXPECT_EQ(g_seen, (std::vector<UINT>{WM_HOTKEY, WM_HOTKEY}));
  EXPECT_FALSE(Module3::HotkeyBusy);
  Module3::UnhookWindow(w);
  Module3::HotkeyId1 = atom1;
  DestroyWindow(w);
  Module3::SetSummon(nullptr);
}

}  // namespace
}  // namespace tav
