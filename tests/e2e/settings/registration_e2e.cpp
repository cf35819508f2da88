// The registration group of the settings window: what a click on each button leaves behind.
#include <gtest/gtest.h>

#include <future>

#include "dialogs_helpers.h"
#include "driver.h"
#include "html_association.h"
#include "registration_controls.h"
#include "text_encoding.h"

namespace tav::e2e {
namespace {

using enum settings::RegistrationId;

struct SettingsRun {
  Installation inst;
  Process process;
  HWND form = nullptr;
  SettingsRun() {
    process = inst.Start(L"Tavimset.exe");
    form = WaitForTopWindow(process.Id(), settings::kForm1Class, true);
  }
  bool Ticked(int id) const { return SendMessageW(GetDlgItem(form, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
  void Tick(int id, bool on) const {
    SendMessageW(GetDlgItem(form, id), BM_SETCHECK, on ? BST_CHECKED : BST_UNCHECKED, 0);
  }
  // Clicks and waits until the click is handled, answering every message box with OK on the
  // way; returns the texts of those boxes.
  std::vector<std::wstring> ClickThrough(int id) const {
    HWND f = form;
    auto done = std::async(std::launch::async, [f, id] {
      SendMessageW(f, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(f, id)));
    });
    std::vector<std::wstring> seen;
    while (done.wait_for(std::chrono::milliseconds(50)) != std::future_status::ready) {
      if (HWND box = FindMessageBox(process.Id())) {
        seen.push_back(MessageBoxText(box));
        AnswerMessageBox(box, IDOK);
      }
    }
    return seen;
  }
};

TEST(RegistrationGroup, RegistersTheExactLineForEachQuotingAndKeepsTheBoxes) {
  SettingsRun run;
  ASSERT_NE(run.form, nullptr);
  EXPECT_TRUE(run.Ticked(Check4));
  EXPECT_TRUE(run.Ticked(Check5));
  struct Case {
    bool quoteP, quoteC;
    std::string bytes;
  };
  const Case cases[] = {
      {true, true, "\"C:\\WINDOWS\\notepad.exe\" \"\"\r\n"},
      {false, false, "C:\\WINDOWS\\notepad.exe \r\n"},
  };
  SetControlText(run.form, Text10, L"C:\\WINDOWS\\notepad.exe");
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    std::wstring name = L"notepad" + std::to_wstring(i);
    SetControlText(run.form, Text9, name);
    run.Tick(Check4, cases[i].quoteP);
    run.Tick(Check5, cases[i].quoteC);
    std::vector<std::wstring> boxes = run.ClickThrough(Command4);
    std::string bytes = run.inst.ReadRaw(fs::path(L"texts") / (name + L".txt"));
    EXPECT_EQ(bytes, cases[i].bytes) << "case " << i;
    std::wstring line(cases[i].bytes.begin(), cases[i].bytes.end() - 2);
    EXPECT_EQ(boxes, std::vector<std::wstring>{L"コマンドが登録されました。ファイルの内容は [" + line + L"]です。"})
        << "case " << i;
    // Nothing is cleared after a registration.
    EXPECT_EQ(ControlText(run.form, Text9), name) << "case " << i;
    EXPECT_EQ(ControlText(run.form, Text10), L"C:\\WINDOWS\\notepad.exe") << "case " << i;
    EXPECT_EQ(run.Ticked(Check4), cases[i].quoteP) << "case " << i;
  }
  EXPECT_TRUE(run.process.Running());
}

// A line break that reached a box (pasted, or set by another program) would make the command
// file two lines, of which the launcher runs the last: refused with a message, nothing written.
// (Wine's single-line edit boxes keep only the first line of a paste; the text is set instead.)
TEST(RegistrationGroup, LineBreakInABoxIsRefusedAndWritesNothing) {
  SettingsRun run;
  ASSERT_NE(run.form, nullptr);
  struct Case {
    const wchar_t *program, *commandLine, *said;
  };
  const Case cases[] = {
      {L"C:\\WINDOWS\\notepad.exe\r\ncalc.exe", L"", L"実行ファイルに改行が含まれています。"},
      {L"C:\\WINDOWS\\notepad.exe", L"C:\\a.txt\r\nC:\\b.txt", L"コマンドラインに改行が含まれています。"},
      {L"C:\\WINDOWS\\notepad.exe", L"C:\\a.txt\n", L"コマンドラインに改行が含まれています。"},
  };
  SetControlText(run.form, Text9, L"two");
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SetControlText(run.form, Text10, cases[i].program);
    SetControlText(run.form, Text11, cases[i].commandLine);
    std::vector<std::wstring> boxes = run.ClickThrough(Command4);
    ASSERT_EQ(boxes.size(), 1u) << "case " << i;
    EXPECT_EQ(boxes[0].rfind(cases[i].said, 0), 0u) << "case " << i;
    EXPECT_TRUE(fs::is_empty(run.inst.Texts())) << "case " << i;
    EXPECT_EQ(ControlText(run.form, Text11), cases[i].commandLine) << "case " << i << ": the box is left to correct";
  }
  EXPECT_TRUE(run.process.Running());
}

TEST(RegistrationGroup, LookupButtonsFillTheProgramBox) {
  TAV_REQUIRE_DISPOSABLE_PROFILE();
  TAV_REQUIRE_OWN_HTML_ASSOCIATION();
  SettingsRun run;
  ASSERT_NE(run.form, nullptr);
  test::HtmlOpensWith browser(ProbeExe().wstring());
  const std::wstring opener = L"plugins\\kovrand\\kovrand.exe";

  run.ClickThrough(Command5);
  EXPECT_EQ(ControlText(run.form, Text10), L"EXPLORER.EXE /n,");
  EXPECT_FALSE(run.Ticked(Check4));

  struct Case {
    std::wstring commandLine;
    bool browser;
  };
  const Case cases[] = {{L"https://example.com", false}, {L"HTTP://example.com", false},
                        {L"C:\\docs\\a.txt", false},     {L"http://example.com", true}};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    run.Tick(Check4, true);
    SetControlText(run.form, Text10, L"before");
    SetControlText(run.form, Text11, cases[i].commandLine);
    run.ClickThrough(Command11);
    EXPECT_EQ(ControlText(run.form, Text11), cases[i].commandLine) << "case " << i;
    if (cases[i].browser) {
      EXPECT_TRUE(EqualsNoCase(U(ControlText(run.form, Text10).c_str()), U(ProbeExe().c_str())))
          << "case " << i << ": " << ControlText(run.form, Text10);
      EXPECT_TRUE(run.Ticked(Check4)) << "case " << i;
    } else {
      EXPECT_EQ(ControlText(run.form, Text10), opener) << "case " << i;
      EXPECT_FALSE(run.Ticked(Check4)) << "case " << i;
    }
    EXPECT_FALSE(fs::exists(run.inst.Root() / "browser.html")) << "case " << i;
  }
  // The browser button: the browser, without a word; an older probe file goes too, and the
  // quoting box is left alone.
  run.inst.WriteRaw("browser.html", "an older probe");
  run.Tick(Check4, false);
  SetControlText(run.form, Text10, L"before");
  SetControlText(run.form, Text11, L"");
  EXPECT_EQ(run.ClickThrough(Command6), std::vector<std::wstring>{}) << "no message";
  EXPECT_TRUE(EqualsNoCase(U(ControlText(run.form, Text10).c_str()), U(ProbeExe().c_str())))
      << ControlText(run.form, Text10);
  EXPECT_FALSE(fs::exists(run.inst.Root() / "browser.html"));
  EXPECT_FALSE(run.Ticked(Check4));
}

TEST(RegistrationGroup, BrowseButtonsTakeTheChosenFileAndCancelEmptiesTheBox) {
  SettingsRun run;
  ASSERT_NE(run.form, nullptr);
  const std::wstring chosen = (run.inst.Root() / "Tavimbra.exe").wstring();
  struct Case {
    int button, box;
    bool choose;
  };
  const Case cases[] = {{Command8, Text10, true}, {Command8, Text10, false}, {Command9, Text11, true}};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SetControlText(run.form, cases[i].box, L"before");
    HWND f = run.form;
    int id = cases[i].button;
    auto done = std::async(std::launch::async, [f, id] {
      SendMessageW(f, WM_COMMAND, MAKEWPARAM(id, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(f, id)));
    });
    HWND dialog = WaitForMessageBox(run.process.Id());
    ASSERT_NE(dialog, nullptr) << "case " << i;
    EXPECT_EQ(WindowText(dialog), L"ファイルを開く") << "case " << i;
    if (i == 0) ShotIfWanted(L"open_dialog");
    if (cases[i].choose) {
      // The file name box: a combo box in newer dialogs, an edit box in older ones.
      HWND name = GetDlgItem(dialog, 0x47c) ? GetDlgItem(dialog, 0x47c) : GetDlgItem(dialog, 0x480);
      ASSERT_NE(name, nullptr) << "case " << i;
      SendMessageW(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(chosen.c_str()));
    }
    PostMessageW(dialog, WM_COMMAND, cases[i].choose ? IDOK : IDCANCEL, 0);
    ASSERT_EQ(done.wait_for(std::chrono::seconds(10)), std::future_status::ready) << "case " << i;
    EXPECT_EQ(ControlText(run.form, cases[i].box), cases[i].choose ? chosen : L"") << "case " << i;
  }
}

}  // namespace
}  // namespace tav::e2e
