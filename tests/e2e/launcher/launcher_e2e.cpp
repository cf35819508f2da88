// The launcher as a user meets it: hidden start, hotkeys, completion, Enter and Esc, the icon's
// callbacks and menu, a second copy, and closing.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver.h"
#include "text_encoding.h"

namespace tav::e2e {
namespace {

constexpr wchar_t kFormClass[] = L"TavimbraForm1";
constexpr UINT kTrayLeftUp = 514, kTrayRightUp = 517;

struct Launcher {
  explicit Launcher(Installation& inst) : inst(inst) {
    other.Activate();
    proc = inst.Start(L"Tavimbra.exe");
    form = WaitForTopWindow(proc.Id(), kFormClass);
    // Start-up ends with the hotkeys and the hook, then the window's messages are served.
    WaitForHotkeyTaken('W');
    if (form) edit = FindChild(form, L"Edit");
  }
  ~Launcher() {
    if (proc.Running() && form) {
      PostMessageW(form, WM_CLOSE, 0, 0);
      proc.Wait(std::chrono::seconds(5));
    }
  }
  bool Visible() const { return IsWindowVisible(form) != FALSE; }
  ::testing::AssertionResult Summon(WORD vk = 'O') {
    SendAltKey(vk);
    if (WaitUntil([&] { return Visible() && FocusOf(form) == edit; }, std::chrono::seconds(5)))
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "visible " << Visible() << ", focus " << FocusOf(form) << " "
                                         << ToUtf8(U(ClassName(FocusOf(form)).c_str())) << ", form " << form
                                         << ", edit " << edit << ", foreground "
                                         << ToUtf8(U(DescribeForeground().c_str())) << ", running " << proc.Running();
  }
  bool WaitHidden() { return WaitUntil([&] { return !Visible(); }, std::chrono::seconds(5)); }
  std::wstring Text() const { return WindowText(edit); }
  bool WaitText(const std::wstring& t) {
    return WaitUntil([&] { return Text() == t; }, std::chrono::seconds(3));
  }
  Installation& inst;
  ForegroundWindow other;  // the application the user works in
  Process proc;
  HWND form = nullptr;
  HWND edit = nullptr;
};

// A top-level window of class cls owned by pid, visible.
HWND WaitVisible(DWORD pid, const wchar_t* cls) { return WaitForTopWindow(pid, cls, true, std::chrono::seconds(5)); }

std::wstring DialogText(HWND dialog) {
  std::wstring all;
  for (HWND c = GetWindow(dialog, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT))
    if (ClassName(c) == L"Static") all += WindowText(c);
  return all;
}

void PressOk(HWND dialog) { PostMessageW(dialog, WM_COMMAND, IDOK, 0); }

TEST(Launcher, StartsHiddenAndHoldsItsHotkeys) {
  Installation inst;
  Launcher l(inst);
  ASSERT_NE(l.form, nullptr);
  ASSERT_NE(l.edit, nullptr);
  Sleep(500);
  EXPECT_TRUE(l.proc.Running());
  EXPECT_FALSE(l.Visible());
  EXPECT_NE(GlobalFindAtomW(L"HOTKEY1"), 0);
  EXPECT_EQ(WindowText(l.form), L"");
  EXPECT_TRUE(GetWindowLongPtrW(l.form, GWL_EXSTYLE) & WS_EX_TOOLWINDOW) << "no taskbar button";
  // Alt+O belongs to the launcher now.
  EXPECT_FALSE(RegisterHotKey(nullptr, 0x3FFF, MOD_ALT, 'O'));
}

TEST(Launcher, BothHotkeysSummonWithTheCaretInTheBox) {
  Installation inst;
  Launcher l(inst);
  ASSERT_EQ(GetForegroundWindow(), l.other.Hwnd());
  ASSERT_TRUE(l.Summon('O')) << "Alt+O";
  EXPECT_EQ(GetForegroundWindow(), l.form) << "taken from the other application";
  RECT r;
  GetClientRect(l.form, &r);
  EXPECT_EQ(r.right, 240);
  EXPECT_EQ(r.bottom, 64);
  GetWindowRect(l.form, &r);
  EXPECT_EQ((r.left + r.right) / 2, GetSystemMetrics(SM_CXSCREEN) / 2) << "centred";
  SendKey(VK_ESCAPE);
  ASSERT_TRUE(l.WaitHidden());
  EXPECT_TRUE(WaitUntil([&] { return GetForegroundWindow() == l.other.Hwnd(); }, std::chrono::seconds(3)))
      << "Esc hands the foreground back; now " << GetForegroundWindow();
  ASSERT_TRUE(l.Summon('W')) << "Alt+W";
  // Pressed again while shown: stays, focus back in the box.
  SetFocus(nullptr);
  ASSERT_TRUE(l.Summon('W'));
}

TEST(Launcher, ConfiguredKeyReplacesTheDefault) {
  Installation inst;
  inst.WriteSettings({L"key1=65"});
  Launcher l(inst);
  SendAltKey('O');
  Sleep(700);
  EXPECT_FALSE(l.Visible()) << "Alt+O is no longer a hotkey";
  ASSERT_TRUE(l.Summon('A'));
  ASSERT_TRUE(l.Summon('W'));
}

TEST(Launcher, TypingCompletesAndBackspaceRemovesTheTail) {
  Installation inst;
  inst.WriteCommand(L"calendar", L"x");
  inst.WriteCommand(L"calc", L"x");
  inst.WriteCommand(L"Memo", L"x");
  Launcher l(inst);
  ASSERT_TRUE(l.Summon());
  TypeText(L"cal");
  ASSERT_TRUE(l.WaitText(L"calc"));
  EXPECT_EQ(EditSelection(l.edit), std::make_pair(3, 4));
  TypeText(L"e");
  ASSERT_TRUE(l.WaitText(L"calendar"));
  EXPECT_EQ(EditSelection(l.edit), std::make_pair(4, 8));
  SendKey(VK_BACK);
  ASSERT_TRUE(l.WaitText(L"cale"));
  SendKey(VK_BACK);
  ASSERT_TRUE(l.WaitText(L"cal")) << "deleting never completes";
  EXPECT_EQ(EditSelection(l.edit), std::make_pair(3, 3));
  // The item's case replaces what was typed.
  SendKey(VK_ESCAPE);
  ASSERT_TRUE(l.WaitHidden());
  ASSERT_TRUE(l.Summon());
  EXPECT_EQ(l.Text(), L"") << "Esc cleared the box";
  TypeText(L"MEMO");
  ASSERT_TRUE(l.WaitText(L"Memo"));
  EXPECT_EQ(EditSelection(l.edit), std::make_pair(4, 4));
}

TEST(Launcher, EnterRunsTheExactCommandLine) {
  Installation inst;
  const std::wstring probe = inst.ProbeCommand();
  inst.WriteCommand(L"memo", probe + L" memo");
  inst.WriteCommand(L"web", probe + L" web");
  // Two lines: the last one runs.
  inst.WriteRaw(L"texts\\two.txt", "ignored\r\n" + ToAnsi(U(probe.c_str())) + " second\r\n");
  Launcher l(inst);
  // Written after start-up: not in the completion list, so the typed case reaches the lookup.
  inst.WriteCommand(L"Later", probe + L" later");
  struct Case {
    const wchar_t* typed;
    std::wstring expected;
  } cases[] = {
      {L"memo", probe + L" memo"},
      {L"memo/C:\\a.txt", probe + L" memo C:\\a.txt"},
      {L"memo/ ", probe + L" memo  "},
      {L"memo/", probe + L" memo "},
      {L"web/a/b", probe + L" web a/b"},
      {L"LATER", probe + L" later"},
      {L"two", probe + L" second"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    ASSERT_TRUE(l.Summon()) << "case " << i;
    TypeText(cases[i].typed);
    SendKey(VK_RETURN);
    ASSERT_TRUE(inst.WaitForProbe(i + 1)) << "case " << i << ": nothing started";
    auto log = inst.ProbeLog();
    EXPECT_EQ(log[i].commandLine, cases[i].expected) << "case " << i;
    EXPECT_EQ(log[i].showWindow, SW_SHOWNORMAL) << "case " << i;
    EXPECT_EQ(fs::path(log[i].currentFolder), inst.Root()) << "case " << i;
    EXPECT_TRUE(l.WaitHidden()) << "case " << i;
    EXPECT_EQ(l.Text(), L"") << "case " << i;
  }
}

TEST(Launcher, UnknownNameKeepsWindowAndText) {
  Installation inst;
  inst.WriteCommand(L"empty", L"");
  inst.WriteRaw(L"texts\\nothing.txt", "");
  Launcher l(inst);
  ASSERT_TRUE(l.Summon());
  TypeText(L"zzz");
  SendKey(VK_RETURN);
  Sleep(400);
  EXPECT_TRUE(l.Visible());
  EXPECT_EQ(l.Text(), L"zzz");
  EXPECT_EQ(EditSelection(l.edit), std::make_pair(3, 3));
  // A command file without a command: hidden, nothing started, no message.
  SendKey(VK_BACK);
  SendKey(VK_BACK);
  SendKey(VK_BACK);
  TypeText(L"nothing");
  SendKey(VK_RETURN);
  EXPECT_TRUE(l.WaitHidden());
  Sleep(300);
  EXPECT_EQ(FindTopWindow(l.proc.Id(), L"#32770"), nullptr);
  EXPECT_TRUE(inst.ProbeLog().empty());
  EXPECT_TRUE(l.proc.Running());
}

TEST(Launcher, AProgramThatCannotStartIsReported) {
  Installation inst;
  inst.WriteCommand(L"broken", L"no_such_program_tav.exe /x");
  Launcher l(inst);
  ASSERT_TRUE(l.Summon());
  TypeText(L"broken");
  SendKey(VK_RETURN);
  HWND box = WaitVisible(l.proc.Id(), L"#32770");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowText(box), L"Tavimbra");
  EXPECT_NE(DialogText(box).find(L"no_such_program_tav.exe /x"), std::wstring::npos) << DialogText(box);
  PressOk(box);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
  EXPECT_FALSE(l.Visible());
  ASSERT_TRUE(l.Summon()) << "still resident";
}

TEST(Launcher, SecondCopyShowsTheMessageAndEnds) {
  Installation inst;
  Launcher first(inst);
  Process second = inst.Start(L"Tavimbra.exe");
  HWND box = WaitVisible(second.Id(), L"#32770");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowText(box), L"Tavimbra");
  EXPECT_EQ(DialogText(box), L"このアプリケーションは既に起動しています");
  EXPECT_EQ(FindTopWindow(second.Id(), kFormClass, true), nullptr);
  PressOk(box);
  EXPECT_EQ(second.Wait(std::chrono::seconds(5)), 0);
  EXPECT_TRUE(first.proc.Running());
  first.other.Activate();  // the user goes back to work
  ASSERT_TRUE(first.Summon()) << "the first copy keeps its hotkeys";
}

TEST(Launcher, IconCallbacksShowTheWindowAndOpenTheMenu) {
  Installation inst;
  Launcher l(inst);
  PostMessageW(l.form, WM_MOUSEMOVE, 1, kTrayLeftUp);
  ASSERT_TRUE(WaitUntil([&] { return l.Visible(); }));
  // Focus keeping puts the focus into the box.
  EXPECT_TRUE(WaitUntil([&] { return FocusOf(l.form) == l.edit; }, std::chrono::seconds(2)));
  PostMessageW(l.form, WM_MOUSEMOVE, 1, kTrayRightUp);
  HWND menu = WaitVisible(l.proc.Id(), L"#32768");
  ASSERT_NE(menu, nullptr) << "no popup menu";
  SendKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }));
  EXPECT_TRUE(l.Visible());
  // Right button released on the window itself: the same menu.
  PostMessageW(l.form, WM_RBUTTONUP, 0, MAKELPARAM(5, 5));
  menu = WaitVisible(l.proc.Id(), L"#32768");
  ASSERT_NE(menu, nullptr);
  SendKey(VK_ESCAPE);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(menu); }));
}

TEST(Launcher, MenuRefreshPicksUpANewCommand) {
  Installation inst;
  inst.WriteCommand(L"calc", L"x");
  Launcher l(inst);
  inst.WriteCommand(L"zebra", L"x");
  ASSERT_TRUE(l.Summon());
  TypeText(L"ze");
  Sleep(300);
  EXPECT_EQ(l.Text(), L"ze") << "not in the list before the refresh";
  SendKey(VK_ESCAPE);
  ASSERT_TRUE(l.WaitHidden());
  PostMessageW(l.form, WM_MOUSEMOVE, 1, kTrayRightUp);
  ASSERT_NE(WaitVisible(l.proc.Id(), L"#32768"), nullptr);
  SendKey(VK_DOWN);
  SendKey(VK_DOWN);
  SendKey(VK_RETURN);
  Sleep(300);
  ASSERT_TRUE(l.proc.Running()) << "the refresh entry is the second one";
  l.other.Activate();  // the user goes back to work
  ASSERT_TRUE(l.Summon()) << "foreground " << GetForegroundWindow();
  TypeText(L"ze");
  EXPECT_TRUE(l.WaitText(L"zebra"));
}

TEST(Launcher, MenuCloseEndsTheProgram) {
  Installation inst;
  Launcher l(inst);
  PostMessageW(l.form, WM_MOUSEMOVE, 1, kTrayRightUp);
  ASSERT_NE(WaitVisible(l.proc.Id(), L"#32768"), nullptr);
  SendKey(VK_DOWN);
  SendKey(VK_RETURN);
  EXPECT_EQ(l.proc.Wait(std::chrono::seconds(5)), 0);
  EXPECT_EQ(GlobalFindAtomW(L"HOTKEY1"), 0);
}

TEST(Launcher, EveryWayOfClosingReleasesHotkeysAndAtoms) {
  enum class How { Close, EndSession };
  for (How how : {How::Close, How::EndSession}) {
    const int i = static_cast<int>(how);
    Installation inst;
    {
      Launcher l(inst);
      ASSERT_NE(GlobalFindAtomW(L"HOTKEY1"), 0) << "case " << i;
      if (how == How::Close) {
        PostMessageW(l.form, WM_CLOSE, 0, 0);
      } else {
        DWORD_PTR answer = 0;
        SendMessageTimeoutW(l.form, WM_QUERYENDSESSION, 0, 0, SMTO_BLOCK, 5000, &answer);
        EXPECT_EQ(answer, static_cast<DWORD_PTR>(TRUE)) << "never refuses";
        EXPECT_NE(GlobalFindAtomW(L"HOTKEY1"), 0) << "still resident until the session really ends";
        SendMessageTimeoutW(l.form, WM_ENDSESSION, TRUE, 0, SMTO_BLOCK, 5000, &answer);
        EXPECT_EQ(GlobalFindAtomW(L"HOTKEY1"), 0) << "released while handling the end of the session";
      }
      EXPECT_EQ(l.proc.Wait(std::chrono::seconds(5)), 0) << "case " << i;
    }
    EXPECT_EQ(GlobalFindAtomW(L"HOTKEY1"), 0) << "case " << i;
    EXPECT_EQ(GlobalFindAtomW(L"HOTKEY2"), 0) << "case " << i;
    EXPECT_TRUE(RegisterHotKey(nullptr, 1, MOD_ALT, 'O')) << "case " << i;
    EXPECT_TRUE(RegisterHotKey(nullptr, 2, MOD_ALT, 'W')) << "case " << i;
    UnregisterHotKey(nullptr, 1);
    UnregisterHotKey(nullptr, 2);
  }
}

TEST(Launcher, FocusKeepingOnlyForOne) {
  struct Case {
    const wchar_t* setting;
    bool boxGetsFocus;
  } cases[] = {{L"KeepFocus=1", true}, {L"KeepFocus=2", false}, {L"KeepFocus=0", false}};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Installation inst;
    inst.WriteSettings({cases[i].setting});
    Launcher l(inst);
    // A left click on the icon shows the window but does not focus the box itself.
    PostMessageW(l.form, WM_MOUSEMOVE, 1, kTrayLeftUp);
    ASSERT_TRUE(WaitUntil([&] { return l.Visible(); })) << "case " << i;
    bool focused = WaitUntil([&] { return FocusOf(l.form) == l.edit; },
                             std::chrono::milliseconds(cases[i].boxGetsFocus ? 3000 : 800));
    EXPECT_EQ(focused, cases[i].boxGetsFocus) << "case " << i << " focus " << FocusOf(l.form) << " form " << l.form;
  }
}

TEST(Launcher, CompletionOffAndNoTextsFolder) {
  struct Case {
    bool removeTexts;
    const wchar_t* setting;
  } cases[] = {{false, L"AutoComplete=0"}, {false, L"AutoComplete=2"}, {true, L"AutoComplete=1"}};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Installation inst;
    inst.WriteSettings({cases[i].setting});
    inst.WriteCommand(L"calc", inst.ProbeCommand() + L" calc");
    if (cases[i].removeTexts) fs::remove_all(inst.Texts());
    Launcher l(inst);
    ASSERT_TRUE(l.Summon()) << "case " << i;
    TypeText(L"cal");
    Sleep(300);
    EXPECT_EQ(l.Text(), L"cal") << "case " << i;
    EXPECT_EQ(EditSelection(l.edit), std::make_pair(3, 3)) << "case " << i;
    if (!cases[i].removeTexts) {
      TypeText(L"c");
      SendKey(VK_RETURN);
      EXPECT_TRUE(inst.WaitForProbe(1)) << "case " << i << ": typed in full it still runs";
    }
  }
}

}  // namespace
}  // namespace tav::e2e
