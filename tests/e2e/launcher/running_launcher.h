// The real launcher started from an installation folder while another application has the
// foreground, as the user meets it, and closed with a close request at the end.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>
#include <string>
#include <vector>

#include "driver.h"
#include "text_encoding.h"

namespace tav::e2e {

struct RunningLauncher {
  // startWait: how long start-up may take (a crowded texts\ takes longer).
  explicit RunningLauncher(Installation& i, std::chrono::milliseconds startWait = kStartTimeout) : inst(i) {
    other.Activate();
    alreadyRunning = LauncherRunning();
    EXPECT_FALSE(alreadyRunning) << "a launcher runs already (on Windows: close your own Tavimbra before the tests)";
    RemoveLeftoverLauncherAtoms();
    const auto t0 = std::chrono::steady_clock::now();
    proc = inst.Start(L"Tavimbra.exe");
    form = WaitForTopWindow(proc.Id(), kLauncherClass, false, startWait);
    started = form && WaitForLauncherReady(form, startWait);
    startMs = std::chrono::duration_cast<std::chrono::milliseconds>(std::chrono::steady_clock::now() - t0).count();
    if (form) edit = FindChild(form, L"Edit");
  }
  ~RunningLauncher() {
    if (proc.Running() && form) {
      PostMessageW(form, WM_CLOSE, 0, 0);
      proc.Wait(std::chrono::seconds(5));
    }
  }
  RunningLauncher(const RunningLauncher&) = delete;
  RunningLauncher& operator=(const RunningLauncher&) = delete;

  bool Visible() const { return IsWindowVisible(form) != FALSE; }
  ::testing::AssertionResult Summon(WORD vk = 'O', WORD modifier = VK_MENU) {
    SendChord({modifier}, vk);
    if (WaitUntil([&] { return Visible() && FocusOf(form) == edit; }, std::chrono::seconds(5)))
      return ::testing::AssertionSuccess();
    return ::testing::AssertionFailure() << "visible " << Visible() << ", focus " << FocusOf(form) << " "
                                         << ToUtf8(U(ClassName(FocusOf(form)).c_str())) << ", form " << form
                                         << ", edit " << edit << ", foreground "
                                         << ToUtf8(U(DescribeForeground().c_str())) << ", running " << proc.Running();
  }
  // Everything posted to the launcher so far (hotkeys, clicks, timer ticks) has been handled.
  bool PostedHandled() { return PostedMessagesHandled(edit); }
  // Every key sent to the box so far has been handled: Home, sent after them, has moved the caret
  // to the start (so it must not stand there already).
  bool KeysHandled() {
    SendKey(VK_HOME);
    return WaitUntil([&] { return EditSelection(edit) == std::make_pair(0, 0); });
  }
  bool WaitHidden() { return WaitUntil([&] { return !Visible(); }, std::chrono::seconds(5)); }
  void Escape() {
    SendKey(VK_ESCAPE);
    WaitHidden();
  }
  std::wstring Text() const { return WindowText(edit); }
  bool WaitText(const std::wstring& t, std::chrono::milliseconds within = std::chrono::seconds(5)) {
    return WaitUntil([&] { return Text() == t; }, within);
  }
  // The launcher's message box, once it shows.
  HWND Message() const { return WaitForMessageBox(proc.Id()); }
  // Enter on text shows a message holding each of parts; after OK nothing has started, and the
  // launcher is called up afresh and hidden again.
  void EnterShows(const std::string& what, const std::wstring& text, const std::vector<std::wstring>& parts) {
    const std::size_t before = inst.ProbeLog().size();
    ASSERT_TRUE(Summon()) << what;
    TypeText(text);
    SendKey(VK_RETURN);
    HWND box = Message();
    ASSERT_NE(box, nullptr) << what << ": no message";
    EXPECT_EQ(WindowText(box), L"Tavimbra") << what;
    const std::wstring said = MessageBoxText(box);
    for (const auto& p : parts) EXPECT_NE(said.find(p), std::wstring::npos) << what << ": " << ToUtf8(U(said.c_str()));
    EXPECT_LT(said.size(), 2000u) << what << ": a message box a screen can show";
    PostMessageW(box, WM_COMMAND, IDOK, 0);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); })) << what;
    ASSERT_TRUE(PostedHandled()) << what;  // the Enter that showed the message has ended
    EXPECT_EQ(inst.ProbeLog().size(), before) << what << ": something started";
    // A file that could not be read leaves the text for another try; start afresh.
    other.Activate();
    ASSERT_TRUE(Summon()) << what << ": still resident";
    Escape();
  }

  Installation& inst;
  ForegroundWindow other;  // the application the user works in
  Process proc;
  HWND form = nullptr, edit = nullptr;
  bool started = false;
  bool alreadyRunning = false;
  long long startMs = 0;  // from the start of the process until it holds its hotkeys
};

}  // namespace tav::e2e
