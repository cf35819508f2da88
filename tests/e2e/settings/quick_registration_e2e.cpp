// Tavimset started with a file: only the quick registration window, one registration, then the end.
#include <gtest/gtest.h>

#include "dialogs_helpers.h"
#include "driver.h"
#include "form2_win32.h"
#include "form3_controls.h"
#include "text_encoding.h"

namespace tav::e2e {
namespace {

using enum settings::Form3Id;
using settings::kForm3Class;

struct QuickRun {
  Installation inst;
  Process process;
  HWND form = nullptr;

  explicit QuickRun(const std::wstring& argument) {
    process = inst.Start(L"Tavimset.exe", argument);
    form = WaitForTopWindow(process.Id(), kForm3Class, true);
  }
};

TEST(QuickRegistration, ProposalForTheFileHandedOver) {
  const std::wstring opener = L"plugins\\kovrand\\kovrand.exe";
  struct Case {
    std::wstring argument, program, commandLine;
  };
  // (The proposal's rules for every kind of name: quick_registration_test.cpp.)
  const Case cases[] = {
      {L"C:\\docs\\memo.txt", opener, L"C:\\docs\\memo.txt"},
      {L"\"C:\\My Tools\\app.exe\"", L"\"C:\\My Tools\\app.exe\"", L""},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    QuickRun run(cases[i].argument);
    ASSERT_NE(run.form, nullptr) << "case " << i;
    EXPECT_EQ(WindowText(run.form), L"Tavimbra 簡易登録") << "case " << i;
    EXPECT_EQ(ControlText(run.form, Text1), L"") << "case " << i;
    EXPECT_EQ(ControlText(run.form, Text2), cases[i].program) << "case " << i;
    EXPECT_EQ(ControlText(run.form, Text3), cases[i].commandLine) << "case " << i;
    // Start-up is over once the window serves a round trip: the settings window and its preview
    // never came.
    ASSERT_TRUE(PostedMessagesHandled(GetDlgItem(run.form, Text1))) << "case " << i;
    EXPECT_EQ(FindTopWindow(run.process.Id(), settings::kForm1Class), nullptr) << "case " << i;
    EXPECT_EQ(FindTopWindow(run.process.Id(), settings::kForm2Class), nullptr) << "case " << i;
    // Closing writes nothing and ends the program.
    EXPECT_EQ(CloseAndWait(run.form, run.process), 0) << "case " << i;
    EXPECT_TRUE(fs::is_empty(run.inst.Texts())) << "case " << i;
    EXPECT_FALSE(fs::exists(run.inst.Root() / "settings" / "tavimbra.ini")) << "case " << i;
  }
}

TEST(QuickRegistration, TypedNameAndEnterRegisterTheProgramThenTheProgramEnds) {
  QuickRun run(L"C:\\tools\\app.exe");
  ASSERT_NE(run.form, nullptr);
  EXPECT_EQ(ControlText(run.form, Text2), L"\"C:\\tools\\app.exe\"");
  EXPECT_EQ(ControlText(run.form, Text3), L"");
  // Laid out in twips at the screen's DPI: client area, then each control.
  HDC screen = GetDC(nullptr);
  const int dpi = GetDeviceCaps(screen, LOGPIXELSX);
  ReleaseDC(nullptr, screen);
  auto px = [dpi](int twips) { return MulDiv(twips, dpi, 1440); };
  RECT client{};
  GetClientRect(run.form, &client);
  EXPECT_EQ(client.right, px(3330));
  EXPECT_EQ(client.bottom, px(2205));
  const int places[][5] = {{Command1, 2040, 240, 1095, 375}, {Label3, 240, 120, 1095, 255},
                           {Text1, 240, 345, 1695, 270},     {Label1, 240, 840, 1095, 255},
                           {Text2, 240, 1080, 2775, 270},    {Label2, 240, 1440, 1335, 255},
                           {Text3, 240, 1680, 2775, 270}};
  for (const auto& p : places) {
    const RECT r = RectIn(run.form, GetDlgItem(run.form, p[0]));
    EXPECT_EQ(r.left, px(p[1])) << p[0];
    EXPECT_EQ(r.top, px(p[2])) << p[0];
    EXPECT_EQ(r.right - r.left, px(p[3])) << p[0];
    EXPECT_EQ(r.bottom - r.top, px(p[4])) << p[0];
  }
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(run.form) == GetDlgItem(run.form, Command1); }))
      << "focus starts on the register button";
  SendKey(VK_TAB);
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(run.form) == GetDlgItem(run.form, Text1); })) << "Tab goes to Text1";
  TypeText(L"app");
  ASSERT_TRUE(WaitUntil([&] { return ControlText(run.form, Text1) == L"app"; }));
  SendKey(VK_RETURN);
  HWND box = WaitForMessageBox(run.process.Id());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowText(box), L"Tavimset");
  EXPECT_EQ(MessageBoxText(box), L"コマンドが登録されました。ファイルの内容は [\"C:\\tools\\app.exe\" ]です。");
  EXPECT_EQ(run.inst.ReadRaw("texts/app.txt"), "\"C:\\tools\\app.exe\" \r\n");
  EXPECT_TRUE(run.process.Running()) << "ends only when the confirmation is closed";
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  EXPECT_EQ(run.process.Wait(), 0);
  EXPECT_EQ(std::distance(fs::directory_iterator(run.inst.Texts()), fs::directory_iterator()), 1);
}

TEST(QuickRegistration, JapaneseNameAndDocumentAreWrittenInTheAnsiCodePage) {
  TAV_REQUIRE_CODE_PAGE_932();
  QuickRun run(L"C:\\文書\\メモ.txt");
  ASSERT_NE(run.form, nullptr);
  SetControlText(run.form, Text1, L"メモ帳");
  ClickButton(run.form, Command1);
  HWND box = WaitForMessageBox(run.process.Id());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box),
            L"コマンドが登録されました。ファイルの内容は [plugins\\kovrand\\kovrand.exe C:\\文書\\メモ.txt]です。");
  // メモ帳 / 文書 / メモ in code page 932.
  EXPECT_EQ(run.inst.ReadRaw(fs::path(L"texts") / L"メモ帳.txt"),
            "plugins\\kovrand\\kovrand.exe C:\\\x95\xb6\x8f\x91\\\x83\x81\x83\x82.txt\r\n");
  AnswerMessageBox(box, IDOK);
  EXPECT_EQ(run.process.Wait(), 0);
}

TEST(QuickRegistration, ExistingCommandIsReplacedOnlyAfterYes) {
  QuickRun run(L"C:\\tools\\app.exe");
  ASSERT_NE(run.form, nullptr);
  run.inst.WriteRaw("texts/app.txt", "old.exe\r\n");
  SetControlText(run.form, Text1, L"app");
  const std::wstring question = (run.inst.Texts() / "app.txt").wstring() +
                                L"は既に存在しています。\r\n既存のファイルを削除しますか?";

  ClickButton(run.form, Command1);
  HWND box = WaitForMessageBox(run.process.Id());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), question);
  EXPECT_TRUE(HasButton(box, IDYES) && HasButton(box, IDNO));
  ShotIfWanted(L"replace_question");
  ASSERT_TRUE(AnswerMessageBox(box, IDNO));
  // No: nothing written, no further message, the window stays. (Once a message posted behind
  // the answer is handled, the click's handler has ended.)
  ASSERT_TRUE(PostedMessagesHandled(GetDlgItem(run.form, Text3)));
  EXPECT_EQ(FindMessageBox(run.process.Id()), nullptr);
  EXPECT_EQ(run.inst.ReadRaw("texts/app.txt"), "old.exe\r\n");
  EXPECT_TRUE(run.process.Running());
  EXPECT_TRUE(IsWindowVisible(run.form));

  ClickButton(run.form, Command1);
  box = WaitForMessageBox(run.process.Id());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), question);
  ASSERT_TRUE(AnswerMessageBox(box, IDYES));
  box = WaitForMessageBox(run.process.Id());
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(MessageBoxText(box), L"コマンドが登録されました。ファイルの内容は [\"C:\\tools\\app.exe\" ]です。");
  EXPECT_EQ(run.inst.ReadRaw("texts/app.txt"), "\"C:\\tools\\app.exe\" \r\n");
  AnswerMessageBox(box, IDOK);
  EXPECT_EQ(run.process.Wait(), 0);
  EXPECT_EQ(std::distance(fs::directory_iterator(run.inst.Texts()), fs::directory_iterator()), 1)
      << "no temporary file left";
}

TEST(QuickRegistration, EmptyNameOrProgramIsRefusedAndTheWindowStays) {
  QuickRun run(L"C:\\tools\\app.exe");
  ASSERT_NE(run.form, nullptr);
  struct Case {
    std::wstring name, program, message;
  };
  const Case cases[] = {
      {L"", L"\"C:\\tools\\app.exe\"", L"コマンドを設定してください"},
      {L"app", L"", L"実行ファイルを設定してください"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SetControlText(run.form, Text1, cases[i].name);
    SetControlText(run.form, Text2, cases[i].program);
    if (i == 0) {  // Enter on the focused register button clicks it
      ASSERT_TRUE(WaitUntil([&] { return FocusOf(run.form) == GetDlgItem(run.form, Command1); }));
      SendKey(VK_RETURN);
    } else {
      ClickButton(run.form, Command1);
    }
    HWND box = WaitForMessageBox(run.process.Id());
    ASSERT_NE(box, nullptr) << "case " << i;
    EXPECT_EQ(WindowText(box), L"Tavimset") << "case " << i;
    EXPECT_EQ(MessageBoxText(box), cases[i].message) << "case " << i;
    EXPECT_TRUE(HasButton(box, IDOK)) << "case " << i;
    ASSERT_TRUE(AnswerMessageBox(box, IDOK)) << "case " << i;
    EXPECT_TRUE(run.process.Running()) << "case " << i;
  }
  // Enter in Text2 means nothing, even with every box filled.
  SetControlText(run.form, Text1, L"app");
  SetControlText(run.form, Text2, L"a.exe");
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(run.form) == GetDlgItem(run.form, Command1); }));
  SendKey(VK_TAB);
  SendKey(VK_TAB);
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(run.form) == GetDlgItem(run.form, Text2); }));
  SendKey(VK_RETURN);
  SendKey(VK_END);  // Tab selected the whole text
  TypeText(L"z");   // reaches the box only after Enter has been handled, and no message took it
  EXPECT_TRUE(WaitUntil([&] { return ControlText(run.form, Text2) == L"a.exez"; })) << ToUtf8(U(ControlText(run.form, Text2).c_str()));
  EXPECT_EQ(FindMessageBox(run.process.Id()), nullptr);
  EXPECT_TRUE(fs::is_empty(run.inst.Texts()));
  EXPECT_EQ(CloseAndWait(run.form, run.process), 0);
}
}  // namespace
}  // namespace tav::e2e
