// Ctrl+Shift+Enter runs a command as administrator, with real key input; Ctrl+Enter keeps doing
// what it always did.
#include <windows.h>

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "driver.h"
#include "launcher/running_launcher.h"
#include "text_encoding.h"

namespace tav::e2e {
namespace {

TEST(LauncherAsAdministrator, CtrlShiftEnterStartsTheCommandThroughTheShellCtrlEnterDoesNothing) {
  // On Windows the consent prompt comes up on the secure desktop, where no input of a test reaches.
  if (!test::UnderWine()) GTEST_SKIP() << "unsupported here: the consent prompt takes no synthesised input";
  Installation inst;
  const std::wstring probe = inst.ProbeCommand();
  // Blanks after the program: the shell is handed the program and the parameters apart, and
  // composes the line anew with one blank.
  inst.WriteCommand(L"memo", probe + L"   memo");
  RunningLauncher l(inst);
  ASSERT_TRUE(l.started);

  // Ctrl+Enter reaches the box as a line feed, which a one-line box ignores: nothing runs.
  ASSERT_TRUE(l.Summon());
  TypeText(L"memo");
  SendChord({VK_CONTROL}, VK_RETURN);
  ASSERT_TRUE(l.KeysHandled());
  EXPECT_TRUE(l.Visible());
  EXPECT_EQ(l.Text(), L"memo");
  EXPECT_TRUE(inst.ProbeLog().empty());
  l.Escape();

  struct Case {
    std::vector<WORD> held;
    const wchar_t* typed;
    std::wstring commandLine;
  } cases[] = {
      {{VK_CONTROL, VK_SHIFT}, L"memo/C:\\a b.txt", probe + L" memo C:\\a b.txt"},
      {{VK_SHIFT, VK_CONTROL}, L"memo", probe + L" memo"},
      {{}, L"memo/x", probe + L"   memo x"},  // Enter alone as before: the line as stored
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const std::size_t n = inst.ProbeLog().size();
    ASSERT_TRUE(l.Summon()) << "case " << i;
    TypeText(cases[i].typed);
    SendChord(cases[i].held, VK_RETURN);
    ASSERT_TRUE(inst.WaitForProbe(n + 1)) << "case " << i << ": nothing started";
    const ProbeRecord got = inst.ProbeLog()[n];
    EXPECT_EQ(got.commandLine, cases[i].commandLine) << "case " << i;
    EXPECT_EQ(got.showWindow, SW_SHOWNORMAL) << "case " << i;
    EXPECT_FALSE(got.console) << "case " << i;
    EXPECT_EQ(fs::path(got.currentFolder), inst.Root()) << "case " << i;
    EXPECT_TRUE(l.WaitHidden()) << "case " << i;
    EXPECT_EQ(l.Text(), L"") << "case " << i;
  }
}

}  // namespace
}  // namespace tav::e2e
