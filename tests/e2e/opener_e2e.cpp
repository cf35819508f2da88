// The generic opener opens its argument with the shell's default action for the file's type.
#include <gtest/gtest.h>

#include <memory>

#include "driver.h"
#include "form3_controls.h"
#include "html_association.h"
#include "launcher/running_launcher.h"
#include "settings/dialogs_helpers.h"
#include "text_encoding.h"

namespace tav::e2e {
namespace {

// Makes the probe the program that opens *.tavprobe files, for the user.
class OpenerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    TAV_REQUIRE_DISPOSABLE_PROFILE();
    type_ = std::make_unique<test::FileTypeOpensWith>(L".tavprobe", L"TavProbeFile", ProbeExe().wstring());
  }
  std::unique_ptr<test::FileTypeOpensWith> type_;
};

// The command line the probe got ends with tail (the opened file's name, letter case aside).
bool EndsWith(const std::wstring& s, const std::wstring& tail) {
  return s.size() >= tail.size() && _wcsicmp(s.c_str() + s.size() - tail.size(), tail.c_str()) == 0;
}

TEST_F(OpenerTest, OpensQuotedAndUnquotedDocumentsWithTheirProgram) {
  Installation inst;
  fs::create_directories(inst.Root() / "my docs");
  inst.WriteRaw(fs::path("my docs") / "a b.tavprobe", "x");
  inst.WriteRaw("plain.tavprobe", "x");
  fs::path opener = inst.Root() / "plugins" / "kovrand" / "kovrand.exe";
  ASSERT_TRUE(fs::exists(opener));

  const std::wstring spaced = (inst.Root() / "my docs" / "a b.tavprobe").wstring();
  const std::wstring plain = (inst.Root() / "plain.tavprobe").wstring();
  // As the launcher starts it from a command file: relative program, argument quoted or not.
  struct Case {
    std::wstring argument, opened;  // the end of the command line the file's program gets
  } cases[] = {
      {L"\"" + spaced + L"\"", L"a b.tavprobe\""},
      {plain, L"plain.tavprobe\""},
      {spaced, L"a b.tavprobe\""},  // unquoted path with a space
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(Process(opener, cases[i].argument, inst.Root()).Wait(), 0) << "case " << i;
    ASSERT_TRUE(inst.WaitForProbe(i + 1)) << "case " << i;
    const std::wstring got = inst.ProbeLog()[i].commandLine;
    EXPECT_TRUE(EndsWith(got, cases[i].opened)) << "case " << i << ": " << ToUtf8(U(got.c_str()));
  }
}

// A document's whole road: Send To hands it to Tavimset, whose quick registration names the
// generic opener by its path relative to the installation folder; the launcher runs that line
// from the installation folder, and the opener opens the document with its program.
TEST_F(OpenerTest, LauncherRunsTheOpenerLineTavimsetRegistered) {
  using enum settings::Form3Id;
  Installation inst;
  inst.WriteRaw("doc.tavprobe", "x");
  const std::wstring doc = (inst.Root() / "doc.tavprobe").wstring();
  Process quick = inst.Start(L"Tavimset.exe", L"\"" + doc + L"\"");
  HWND form = WaitForTopWindow(quick.Id(), settings::kForm3Class, true);
  ASSERT_NE(form, nullptr);
  EXPECT_EQ(ControlText(form, Text2), L"plugins\\kovrand\\kovrand.exe");
  SetControlText(form, Text1, L"doc");
  ClickButton(form, Command1);
  HWND box = WaitForMessageBox(quick.Id());
  ASSERT_NE(box, nullptr);
  EXPECT_NE(MessageBoxText(box).find(L"コマンドが登録されました"), std::wstring::npos) << ToUtf8(U(MessageBoxText(box).c_str()));
  AnswerMessageBox(box, IDOK);
  EXPECT_EQ(quick.Wait(), 0);
  EXPECT_EQ(inst.ReadRaw("texts/doc.txt"), ToAnsi(U((L"plugins\\kovrand\\kovrand.exe \"" + doc + L"\"").c_str())) + "\r\n");

  RunningLauncher l(inst);
  ASSERT_TRUE(l.started);
  ASSERT_TRUE(l.Summon());
  TypeText(L"doc");
  ASSERT_TRUE(l.WaitText(L"doc"));
  SendKey(VK_RETURN);
  ASSERT_TRUE(inst.WaitForProbe(1, kStartTimeout)) << "the document was not opened";
  const std::wstring got = inst.ProbeLog()[0].commandLine;
  EXPECT_TRUE(EndsWith(got, L"doc.tavprobe\"")) << ToUtf8(U(got.c_str()));
}

TEST(Opener, NothingToOpenEndsWithAnErrorCode) {
  Installation inst;
  fs::path opener = inst.Root() / "plugins" / "kovrand" / "kovrand.exe";
  Process p(opener, L"", inst.Root());
  // It says so in a message box; close it like a user would.
  HWND box = WaitForMessageBox(p.Id(), kStartTimeout);
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowText(box), L"kovrand");
  EXPECT_EQ(MessageBoxText(box), L"開くファイル、フォルダまたはURLを指定してください。");
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(p.Wait(), 2);
  EXPECT_TRUE(inst.ProbeLog().empty());
}

}  // namespace
}  // namespace tav::e2e
