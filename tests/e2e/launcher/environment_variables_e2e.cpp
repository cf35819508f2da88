// Environment variables in a command file's line are expanded with the launcher's environment;
// the typed argument is passed as typed. (Every kind of line: expansion_cases.h.)
#include <windows.h>

#include <gtest/gtest.h>

#include <string>

#include "driver.h"
#include "launcher/running_launcher.h"
#include "text_encoding.h"

namespace tav::e2e {
namespace {

// A variable of this process (and so of the launcher it starts) for the test's length.
struct ProcessVariable {
  const wchar_t* name;
  ProcessVariable(const wchar_t* n, const std::wstring& value) : name(n) { SetEnvironmentVariableW(n, value.c_str()); }
  ~ProcessVariable() { SetEnvironmentVariableW(name, nullptr); }
};

TEST(LauncherVariables, TheStoredLineIsExpandedTheTypedArgumentIsNot) {
  const std::wstring probeExe = ProbeExe().wstring();
  ProcessVariable probe(L"TAV_E2E_PROBE", probeExe);
  ProcessVariable home(L"TAV_E2E_HOME", L"C:\\Users\\ta v");
  ProcessVariable longer(L"TAV_E2E_LONG", std::wstring(20000, L'x'));
  SetEnvironmentVariableW(L"TAV_E2E_UNSET", nullptr);
  Installation inst;
  inst.WriteCommand(L"vars", L"\"%TAV_E2E_PROBE%\" %tav_e2e_home%\\memo.txt %TAV_E2E_UNSET% 100%%");
  inst.WriteCommand(L"long", L"\"%TAV_E2E_PROBE%\" %TAV_E2E_LONG%%TAV_E2E_LONG%");
  RunningLauncher l(inst);
  ASSERT_TRUE(l.started);

  struct Case {
    const wchar_t* typed;
    std::wstring commandLine;
  } cases[] = {
      {L"vars/%TAV_E2E_HOME% x", L"\"" + probeExe + L"\" C:\\Users\\ta v\\memo.txt %TAV_E2E_UNSET% 100%% %TAV_E2E_HOME% x"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    ASSERT_TRUE(l.Summon()) << "case " << i;
    TypeText(cases[i].typed);
    SendKey(VK_RETURN);
    ASSERT_TRUE(inst.WaitForProbe(i + 1)) << "case " << i << ": nothing started";
    EXPECT_EQ(inst.ProbeLog()[i].commandLine, cases[i].commandLine) << "case " << i;
    EXPECT_TRUE(l.WaitHidden()) << "case " << i;
  }

  // 40,000 characters expanded: more than a command line may hold, and said so.
  ASSERT_TRUE(l.Summon());
  TypeText(L"long");
  SendKey(VK_RETURN);
  HWND box = l.Message();
  ASSERT_NE(box, nullptr);
  const std::wstring said = MessageBoxText(box);
  const std::wstring length = std::to_wstring(probeExe.size() + 3 + 40000);
  EXPECT_NE(said.find(L"コマンドラインが長すぎます (" + length + L" 文字)"), std::wstring::npos) << ToUtf8(U(said.c_str()));
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); }));
  EXPECT_EQ(inst.ProbeLog().size(), std::size(cases));
}

}  // namespace
}  // namespace tav::e2e
