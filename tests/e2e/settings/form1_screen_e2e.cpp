// The settings window at 150% on a 1024x768 screen (a laptop's case): it opens inside the work
// area with a scroll bar, the save button stays in view in the window's foot, and what scrolls is
// reached by keyboard and by wheel.
#include <gtest/gtest.h>

#include "dialogs_helpers.h"
#include "driver.h"
#include "form1_controls.h"
#include "form2_win32.h"
#include "registration_controls.h"

namespace tav::e2e {
namespace {

using Id = settings::Form1Id;

// The scale of programs started while it stands: LogPixels of the user's desktop settings.
class SystemScale {
 public:
  explicit SystemScale(DWORD dpi) {
    DWORD size = sizeof old_;
    had_ = RegGetValueW(HKEY_CURRENT_USER, kKey, L"LogPixels", RRF_RT_REG_DWORD, nullptr, &old_, &size) ==
           ERROR_SUCCESS;
    RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"LogPixels", REG_DWORD, &dpi, sizeof dpi);
  }
  ~SystemScale() {
    if (had_)
      RegSetKeyValueW(HKEY_CURRENT_USER, kKey, L"LogPixels", REG_DWORD, &old_, sizeof old_);
    else
      RegDeleteKeyValueW(HKEY_CURRENT_USER, kKey, L"LogPixels");
  }

 private:
  static constexpr wchar_t kKey[] = L"Control Panel\\Desktop";
  DWORD old_ = 96;
  bool had_ = false;
};

// This thread sees every window in physical pixels, whatever the other program's scale.
class PhysicalPixels {
 public:
  PhysicalPixels() : old_(SetThreadDpiAwarenessContext(DPI_AWARENESS_CONTEXT_PER_MONITOR_AWARE_V2)) {}
  ~PhysicalPixels() {
    if (old_) SetThreadDpiAwarenessContext(old_);
  }

 private:
  DPI_AWARENESS_CONTEXT old_;
};

// Inside the client area, and not cut off by the foot strip (what scrolls behind it is shaped
// to the part above it).
bool FullyShown(HWND form, HWND w) {
  RECT client, r = RectIn(form, w);
  GetClientRect(form, &client);
  if (r.top < 0 || r.bottom > client.bottom) return false;
  RECT shown;
  const int kind = GetWindowRgnBox(w, &shown);
  return kind == ERROR || (kind != NULLREGION && shown.bottom >= r.bottom - r.top);
}

// A click as a hand gives it: the button is released once the press has arrived (it shows
// the button pushed), so the release cannot overtake it.
void Click(HWND button) {
  PointerTo(button);
  SendMouse(MOUSEEVENTF_LEFTDOWN);
  WaitUntil([&] { return (SendMessageW(button, BM_GETSTATE, 0, 0) & BST_PUSHED) != 0; }, std::chrono::seconds(2));
  SendMouse(MOUSEEVENTF_LEFTUP);
}

// The save has written its last key (the file appears with the first of thirteen writes).
bool Saved(const Installation& inst) {
  std::error_code ec;
  if (!fs::exists(inst.Root() / "settings" / "tavimbra.ini", ec)) return false;
  try {
    return inst.ReadRaw("settings/tavimbra.ini").find("StartUP=") != std::string::npos;
  } catch (...) {
    return false;  // still being written
  }
}

// Tavimset started while the prefix's scale is 150 % (the scale goes back for the programs
// started later).
Running StartAtOneAndAHalf(const Installation& inst) {
  SystemScale scale(144);
  return StartForm1(inst);
}

TEST(Form1ScreenWineOnly, AtOneAndAHalfScaleOnASmallScreenTheSaveButtonStaysInViewAndSaves) {
  TAV_WINE_ONLY("a new LogPixels reaches programs started afterwards only under Wine; Windows needs a sign-out");
  TAV_REQUIRE_DISPOSABLE_PROFILE();  // a save makes or removes the user's shortcuts
  PhysicalPixels physical;
  Installation inst;
  Running started = StartAtOneAndAHalf(inst);
  Process& process = started.process;
  HWND form = started.form;
  ASSERT_NE(form, nullptr);
  RECT client, window, work;
  GetClientRect(form, &client);
  GetWindowRect(form, &window);
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  ASSERT_GE(client.right, 561 * 14 / 10) << "the program runs at 150%";
  EXPECT_GE(window.left, work.left);
  EXPECT_GE(window.top, work.top);
  EXPECT_LE(window.right, work.right);
  EXPECT_LE(window.bottom, work.bottom);
  EXPECT_NE(GetWindowLongPtrW(form, GWL_STYLE) & WS_VSCROLL, 0) << "taller than the screen: it scrolls";
  HWND save = GetDlgItem(form, static_cast<int>(Id::Command2));
  HWND first = GetDlgItem(form, static_cast<int>(Id::Text1));
  // The last control that scrolls: below the screen at first.
  HWND last = GetDlgItem(form, settings::RegistrationId::Text9);  // the registration's command name box
  ASSERT_FALSE(FullyShown(form, last)) << "the registration's foot starts below the screen";

  // The window opens at its top, with the save button in view in its foot: a real click saves,
  // and nothing scrolls.
  ASSERT_TRUE(WaitUntil([&] { return GetForegroundWindow() == form && FocusOf(form) != nullptr; }))
      << DescribeForeground();
  EXPECT_EQ(GetScrollPos(form, SB_VERT), 0);
  EXPECT_TRUE(FullyShown(form, first));
  ASSERT_TRUE(FullyShown(form, save)) << "the save button is in view as the window opens";
  EXPECT_TRUE(FullyShown(form, GetDlgItem(form, static_cast<int>(Id::Command7))));
  Click(save);
  ASSERT_TRUE(WaitUntil([&] { return Saved(inst); })) << "saved by a click without scrolling";
  EXPECT_EQ(GetScrollPos(form, SB_VERT), 0);

  // Keyboard: Shift+Tab, pressed until the focus is on the save button (backwards from the top it
  // goes round to it); Space clicks it (a changed value, so the file shows this save).
  SendMessageW(GetDlgItem(form, static_cast<int>(Id::Check2)), BM_CLICK, 0, 0);
  for (int i = 0; i < 80 && FocusOf(form) != save; ++i) {
    HWND before = FocusOf(form);
    SendKey(VK_TAB, true);
    WaitUntil([&] { return FocusOf(form) != before; }, std::chrono::seconds(2));
  }
  ASSERT_EQ(FocusOf(form), save) << "focus on " << ClassName(FocusOf(form)) << " '" << WindowText(FocusOf(form))
                                 << "'";
  EXPECT_TRUE(FullyShown(form, save));
  SendKey(VK_SPACE);
  ASSERT_TRUE(WaitUntil([&] { return inst.ReadRaw("settings/tavimbra.ini").find("KeepFocus=0") != std::string::npos; }))
      << "saved by keyboard";

  // Wheel: down to the registration's foot and up to the top; the save button stays in view and
  // a click saves (a changed value again).
  SendMessageW(GetDlgItem(form, static_cast<int>(Id::Check1)), BM_CLICK, 0, 0);
  PointerTo(GetDlgItem(form, static_cast<int>(Id::Frame1)));
  // One turn of many notches: one message, so nothing still moves the window when it is clicked.
  SendMouse(MOUSEEVENTF_WHEEL, -30);
  ASSERT_TRUE(WaitUntil([&] { return FullyShown(form, last) && !FullyShown(form, first); }, std::chrono::seconds(3)))
      << "wheel down scrolls to the registration's foot";
  SendMouse(MOUSEEVENTF_WHEEL, 30);
  EXPECT_TRUE(WaitUntil([&] { return !FullyShown(form, last) && FullyShown(form, first); }, std::chrono::seconds(3)))
      << "wheel up scrolls to the top";
  ASSERT_TRUE(FullyShown(form, save));
  Click(save);
  EXPECT_TRUE(WaitUntil([&] { return inst.ReadRaw("settings/tavimbra.ini").find("AutoComplete=0") != std::string::npos; }))
      << "saved by a click\n" << inst.ReadRaw("settings/tavimbra.ini");
  // Page keys scroll too, where the focused control has no use for them (a button).
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(form) == save; }, std::chrono::seconds(2)));
  SendKey(VK_NEXT);
  SendKey(VK_NEXT);
  EXPECT_TRUE(WaitUntil([&] { return FullyShown(form, last); }, std::chrono::seconds(3))) << "PageDown";
  SendKey(VK_PRIOR);
  SendKey(VK_PRIOR);
  EXPECT_TRUE(WaitUntil([&] { return !FullyShown(form, last) && FullyShown(form, first); }, std::chrono::seconds(3)))
      << "PageUp";
  EXPECT_TRUE(FullyShown(form, save)) << "the save button stayed in view";
  // The preview opens at the scale of its monitor too.
  SendMessageW(GetDlgItem(form, static_cast<int>(Id::Command1)), BM_CLICK, 0, 0);
  HWND preview = FindTopWindow(process.Id(), settings::kForm2Class, true);
  ASSERT_NE(preview, nullptr);
  GetClientRect(preview, &client);
  EXPECT_EQ(client.right, 360);
  EXPECT_EQ(client.bottom, 96);
  EXPECT_EQ(CloseAndWait(form, process), 0);
}

// On a screen the window does not fit, it opens at its top with the focus on a control in view;
// PageUp and PageDown in a capture box are hotkeys, not scrolling, as where nothing scrolls.
TEST(Form1ScreenWineOnly, OnASmallScreenItOpensAtItsTopAndPageKeysAreHotkeysInTheCaptureBoxes) {
  TAV_WINE_ONLY("a new LogPixels reaches programs started afterwards only under Wine; Windows needs a sign-out");
  TAV_REQUIRE_DISPOSABLE_PROFILE();  // the user's LogPixels changes meanwhile
  PhysicalPixels physical;
  Installation inst;
  Running started = StartAtOneAndAHalf(inst);
  Process& process = started.process;
  HWND form = started.form;
  ASSERT_NE(form, nullptr);
  ASSERT_NE(GetWindowLongPtrW(form, GWL_STYLE) & WS_VSCROLL, 0) << "taller than the screen: it scrolls";
  ShotIfWanted(L"form1_small_screen_opened");
  HWND first = GetDlgItem(form, static_cast<int>(Id::Text1));
  // Both at once: a window scrolled to its focus would show one or the other.
  EXPECT_TRUE(WaitUntil([&] {
    HWND focus = FocusOf(form);
    return GetForegroundWindow() == form && focus && FullyShown(form, focus) && FullyShown(form, first);
  })) << "focus on " << ClassName(FocusOf(form)) << " '" << WindowText(FocusOf(form)) << "'";
  // At its very top: a page up moves nothing. (The scroll bar's position of another program's
  // window reads as 0 under Wine.)
  const LONG firstTop = RectIn(form, first).top;
  SendMessageW(form, WM_VSCROLL, SB_PAGEUP, 0);
  EXPECT_EQ(RectIn(form, first).top, firstTop) << "opened scrolled down";

  const struct {
    Id box, code;
  } boxes[] = {{Id::Text7, Id::Label5}, {Id::Text8, Id::Label11}};
  for (const auto& b : boxes) {
    HWND box = GetDlgItem(form, static_cast<int>(b.box));
    ASSERT_TRUE(FullyShown(form, box));
    ClickInto(form, box);
    ASSERT_EQ(FocusOf(form), box);
    // Where the box stands in the client area: it moves when the window scrolls. (The scroll
    // bar's position of another program's window reads as 0 under Wine.)
    const LONG top = RectIn(form, box).top;
    for (WORD key : {WORD{VK_NEXT}, WORD{VK_PRIOR}}) {
      SendKey(key);
      const std::wstring code = std::to_wstring(key);
      EXPECT_TRUE(WaitUntil([&] { return WindowText(GetDlgItem(form, static_cast<int>(b.code))) == code; },
                            std::chrono::seconds(3)))
          << static_cast<int>(b.box) << " key " << key << ": " << WindowText(GetDlgItem(form, static_cast<int>(b.code)));
      // After each key: PageDown then PageUp would scroll there and back.
      EXPECT_EQ(RectIn(form, box).top, top) << static_cast<int>(b.box) << " key " << key << " scrolled the window";
    }
  }
  EXPECT_EQ(CloseAndWait(form, process), 0);
}

}  // namespace
}  // namespace tav::e2e

