// Input at and past the limits: 30,000 characters typed or pasted, command lines around the
// platform's 32,767, names of every kind of character. A message where nothing can start; never
// a crash, a hang or a start of something else.
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <string>

#include "driver.h"
#include "launcher/running_launcher.h"
#include "text_encoding.h"

namespace tav::e2e {
namespace {

constexpr std::size_t kBoxLength = 30000;  // what the box takes from typing and pasting

// Characters typed one by one: each change goes through completion and the box's own handling
// of the whole text, so 30,000 take minutes under Wine. TAV_TYPED_CHARS=30000 for the full run.
std::size_t TypedLength() {
  const char* v = std::getenv("TAV_TYPED_CHARS");
  long n = v ? std::atol(v) : 0;
  return n > 0 ? std::min<std::size_t>(static_cast<std::size_t>(n), kBoxLength) : 3000;
}

std::string Narrow(const std::wstring& w) { return ToUtf8(U(w.c_str())); }

struct Launcher : RunningLauncher {
  using RunningLauncher::RunningLauncher;
  std::size_t Length() const { return static_cast<std::size_t>(SendMessageW(edit, WM_GETTEXTLENGTH, 0, 0)); }
  // Posted as the keyboard would deliver them, in batches the message queue can hold.
  bool PostChars(wchar_t c, std::size_t n) {
    const std::size_t start = Length();
    for (std::size_t done = 0; done < n;) {
      const std::size_t batch = std::min<std::size_t>(1000, n - done);
      for (std::size_t i = 0; i < batch; ++i) PostMessageW(edit, WM_CHAR, c, 1);
      done += batch;
      if (!WaitUntil([&] { return Length() >= start + done; }, std::chrono::seconds(30))) return false;
    }
    return true;
  }
};

bool SetClipboard(const std::wstring& text) {
  if (!OpenClipboard(nullptr)) return false;
  EmptyClipboard();
  HGLOBAL mem = GlobalAlloc(GMEM_MOVEABLE, (text.size() + 1) * sizeof(wchar_t));
  memcpy(GlobalLock(mem), text.c_str(), (text.size() + 1) * sizeof(wchar_t));
  GlobalUnlock(mem);
  bool ok = SetClipboardData(CF_UNICODETEXT, mem) != nullptr;
  CloseClipboard();
  return ok;
}

// texts\<name>.txt in UTF-8 with its mark: names and lines the code page cannot hold.
void WriteFileOfName(Installation& inst, const std::wstring& name, const std::wstring& line) {
  std::ofstream f(inst.Texts() / (name + L".txt"), std::ios::binary);
  f << "\xEF\xBB\xBF" << ToUtf8(U(line.c_str())) << "\r\n";
}

// Thousands of characters typed one by one through completion, then 30,000 pasted at once: the
// box holds them, Enter finds no such command and leaves them, Esc and the next summon still work.
TEST(ExtremeInput, ThirtyThousandCharactersTypedOrPasted) {
  Installation inst;
  inst.WriteCommand(L"xx", inst.ProbeCommand() + L" xx");
  Launcher l(inst);
  ASSERT_TRUE(l.Summon());
  const std::size_t typed = TypedLength();
  ASSERT_TRUE(l.PostChars(L'x', typed)) << "typing stalled at " << l.Length();
  EXPECT_EQ(WindowText(l.edit), std::wstring(typed, L'x'));
  SendKey(VK_RETURN);
  ASSERT_TRUE(l.KeysHandled()) << "Enter has not been handled";
  EXPECT_TRUE(l.Visible()) << "no command of that name: the window stays";
  EXPECT_EQ(l.Length(), typed);
  l.Escape();
  EXPECT_EQ(l.Length(), 0u);

  ASSERT_TRUE(SetClipboard(std::wstring(kBoxLength, L'y')));
  ASSERT_TRUE(l.Summon());
  PostMessageW(l.edit, WM_PASTE, 0, 0);
  EXPECT_TRUE(WaitUntil([&] { return l.Length() == kBoxLength; }, std::chrono::seconds(20))) << l.Length();
  SendKey(VK_RETURN);
  ASSERT_TRUE(l.KeysHandled()) << "Enter has not been handled";
  EXPECT_TRUE(l.Visible());
  EXPECT_EQ(l.Length(), kBoxLength);
  l.Escape();
  ASSERT_TRUE(l.Summon()) << "still answers its hotkey";
  TypeText(L"x");
  EXPECT_TRUE(WaitUntil([&] { return WindowText(l.edit) == L"xx"; })) << "still completes";
  SendKey(VK_RETURN);
  EXPECT_TRUE(inst.WaitForProbe(1));
  EXPECT_TRUE(inst.ProbeLog().size() == 1 && inst.ProbeLog()[0].commandLine == inst.ProbeCommand() + L" xx");
  EXPECT_TRUE(l.proc.Running());
}

// A command line at the platform's limit starts exactly; one character more, or typed argument
// text that carries it past, is refused with a message that says why and shows a readable part.
TEST(ExtremeInput, CommandLinesAroundThePlatformLimit) {
  Installation inst;
  const std::wstring probe = inst.ProbeCommand();
  const std::size_t limit = 32766;  // characters, the final NUL not counted
  const std::wstring atLimit = probe + L" " + std::wstring(limit - probe.size() - 1, L'a');
  inst.WriteCommand(L"fits", atLimit);
  inst.WriteCommand(L"over", atLimit + L"b");
  inst.WriteCommand(L"near", probe + L" " + std::wstring(limit - probe.size() - 100, L'c'));
  Launcher l(inst);
  struct Case {
    const wchar_t* typed;
    std::size_t extraChars;  // posted after the typed text
    bool starts;
    std::size_t length;  // of the command line
  } cases[] = {
      {L"fits", 0, true, limit},
      {L"over", 0, false, limit + 1},
      {L"near/", 98, true, limit},   // the line, one space, 98 typed: exactly the limit
      {L"near/", 99, false, limit + 1},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const std::size_t before = inst.ProbeLog().size();
    ASSERT_TRUE(l.Summon()) << "case " << i;
    TypeText(cases[i].typed);
    ASSERT_TRUE(l.PostChars(L'd', cases[i].extraChars)) << "case " << i;
    SendKey(VK_RETURN);
    if (cases[i].starts) {
      ASSERT_TRUE(inst.WaitForProbe(before + 1)) << "case " << i << ": nothing started";
      EXPECT_EQ(inst.ProbeLog()[before].commandLine.size(), cases[i].length) << "case " << i;
    } else {
      HWND box = WaitForMessageBox(l.proc.Id());
      ASSERT_NE(box, nullptr) << "case " << i << ": no message";
      const std::wstring said = MessageBoxText(box);
      EXPECT_NE(said.find(L"コマンドラインが長すぎます (" + std::to_wstring(cases[i].length) + L" 文字)"),
                std::wstring::npos)
          << "case " << i << ": " << Narrow(said.substr(0, 400));
      EXPECT_LT(said.size(), 1000u) << "case " << i;
      PostMessageW(box, WM_COMMAND, IDOK, 0);
      EXPECT_TRUE(WaitUntil([&] { return !IsWindow(box); })) << "case " << i;
      ASSERT_TRUE(l.PostedHandled()) << "case " << i;  // the Enter that showed the message has ended
      EXPECT_EQ(inst.ProbeLog().size(), before) << "case " << i << ": something started";
    }
    EXPECT_TRUE(WaitUntil([&] { return !l.Visible(); })) << "case " << i;
    l.other.Activate();
  }
}

// Names of every kind: Japanese with a space, a trailing dot, a character beyond the basic
// plane, one outside the code page; typed names the file system cannot hold find nothing. (Names
// that would lead out of texts\, with such a file there: TypedArguments in the unit tier.)
TEST(ExtremeInput, NamesOfEveryKindOfCharacter) {
  Installation inst;
  const std::wstring probe = inst.ProbeCommand();
  struct Case {
    const wchar_t* file;  // texts\<file>.txt holds the probe, tagged; nullptr: none
    const wchar_t* typed;
    const wchar_t* shown;  // the box after typing
    bool starts;
  } cases[] = {
      {L"メモ 帳", L"メモ", L"メモ 帳", true},
      {L"end.", L"end", L"end.", true},
      {L"絵\U0001F600", L"絵", L"絵\U0001F600", true},
      {L"Ελληνικά", L"Ελλ", L"Ελληνικά", true},
      {nullptr, L"memo.", L"メモ.", false},  // "memo" reads as メモ; the dot then ends "メモ 帳"'s offer
      {nullptr, L"a*b?", L"a*b?", false},
      {nullptr, L"<x>|\"", L"<x>|\"", false},
  };
  for (const Case& c : cases)
    if (c.file)
      WriteFileOfName(inst, c.file, probe + L" " + c.file);
  Launcher l(inst);
  std::size_t runs = 0;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    ASSERT_TRUE(l.Summon()) << "case " << i;
    TypeText(cases[i].typed);
    ASSERT_TRUE(WaitUntil([&] { return WindowText(l.edit) == cases[i].shown; }))
        << "case " << i << ": " << Narrow(WindowText(l.edit));
    SendKey(VK_RETURN);
    if (cases[i].starts) {
      ASSERT_TRUE(inst.WaitForProbe(++runs)) << "case " << i << ": nothing started";
      EXPECT_EQ(inst.ProbeLog()[runs - 1].commandLine, probe + L" " + cases[i].file) << "case " << i;
      EXPECT_TRUE(WaitUntil([&] { return !l.Visible(); })) << "case " << i;
    } else {
      ASSERT_TRUE(l.KeysHandled()) << "case " << i << ": Enter has not been handled";
      EXPECT_TRUE(l.Visible()) << "case " << i;
      EXPECT_EQ(FindMessageBox(l.proc.Id()), nullptr) << "case " << i;
      EXPECT_EQ(inst.ProbeLog().size(), runs) << "case " << i;
      l.Escape();
    }
    l.other.Activate();
  }
  EXPECT_TRUE(l.proc.Running());
}

}  // namespace
}  // namespace tav::e2e
