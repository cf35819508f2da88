#include <gtest/gtest.h>

#include "command_file.h"
#include "text_encoding.h"

namespace tav {
namespace {

TEST(CommandFile, InputIsSplitAtTheFirstSlashWithNothingTrimmed) {
  struct Case {
    const char16_t* input;
    const char16_t* name;
    const char16_t* args;  // nullptr: no "/"
  };
  const Case cases[] = {
      {u"memo", u"memo", nullptr},
      {u"memo/C:\\a.txt", u"memo", u"C:\\a.txt"},
      {u"memo/", u"memo", u""},
      {u"memo /x", u"memo ", u"x"},
      {u"memo/ x", u"memo", u" x"},
      {u"web/a/b", u"web", u"a/b"},
      {u"/x", u"", u"x"},
      {u"", u"", nullptr},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    CommandInput in = SplitCommandInput(cases[i].input);
    EXPECT_EQ(in.name, cases[i].name) << "case " << i;
    EXPECT_EQ(in.args.has_value(), cases[i].args != nullptr) << "case " << i;
    if (in.args && cases[i].args) {
      EXPECT_EQ(*in.args, cases[i].args) << "case " << i;
    }
  }
}

TEST(CommandFile, CommandLineIsTheLastLinePlusArguments) {
  struct Case {
    const char16_t* file;
    const char16_t* input;
    const char16_t* line;
  };
  const Case cases[] = {
      {u"notepad.exe\r\n", u"memo", u"notepad.exe"},
      {u"notepad.exe\r\n", u"memo/C:\\a.txt", u"notepad.exe C:\\a.txt"},
      {u"notepad.exe\r\n", u"memo/", u"notepad.exe "},
      {u"notepad.exe\r\n", u"memo/\"C:\\My Docs\\b.txt\"", u"notepad.exe \"C:\\My Docs\\b.txt\""},
      {u"notepad.exe\r\n", u"memo/ x", u"notepad.exe  x"},
      {u"first.exe\r\nsecond.exe\r\n", u"m", u"second.exe"},
      {u"first.exe\nsecond.exe", u"m", u"second.exe"},  // LF only, no final line end
      {u"first.exe\rsecond.exe\r", u"m", u"second.exe"},
      {u"notepad.exe\r\n\r\n", u"m", u""},  // ends in an empty line: empty command line
      {u"", u"m", u""},
      {u"", u"m/args", u""},  // no line at all: nothing to append to
      {u"\"C:\\Program Files\\x.exe\" \"a b\"\r\n", u"m", u"\"C:\\Program Files\\x.exe\" \"a b\""},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(ComposeCommandLine(cases[i].file, SplitCommandInput(cases[i].input)), cases[i].line) << "case " << i;
}

TEST(CommandFile, SameLastLineForEveryLineEnding) {
  for (const char16_t* text : {u"a\r\nb.exe x\r\n", u"a\nb.exe x\n", u"a\r\nb.exe x", u"a\nb.exe x"})
    EXPECT_EQ(LastLine(text), u"b.exe x") << ToUtf8(text);
  EXPECT_FALSE(LastLine(u""));
}

TEST(CommandFile, ByteOrderMarksAreDecodedNotRun) {
  EXPECT_EQ(DecodeCommandFile("\xEF\xBB\xBFnotepad.exe\r\n"), u"notepad.exe\r\n");
  EXPECT_EQ(DecodeCommandFile(std::string("\xFF\xFEn\0o\0\r\0\n\0", 10)), u"no\r\n");
  EXPECT_EQ(DecodeCommandFile(std::string("\xFE\xFF\0n\0o", 6)), u"no");
  EXPECT_EQ(DecodeCommandFile(ToAnsi(u"メモ帳.exe")), u"メモ帳.exe");  // plain ANSI code page
  EXPECT_EQ(DecodeCommandFile(""), u"");
  // No mark, as Notepad saves UTF-8 today.
  EXPECT_EQ(DecodeCommandFile("\"C:\\\xE3\x83\x84\xE3\x83\xBC\xE3\x83\xAB\\a.exe\" x\r\n"), u"\"C:\\ツール\\a.exe\" x\r\n");
}

}  // namespace
}  // namespace tav

namespace tav {
namespace {

TEST(CommandLineProblem, NulAndTheLengthLimit) {
  struct Case {
    std::u16string line;
    const char16_t* expect;  // a part of the reason; nullptr: no problem
  };
  const std::u16string longest = u"a.exe " + std::u16string(kMaxCommandLineLength - 6, u'x');
  const Case cases[] = {
      {u"notepad.exe C:\\a.txt", nullptr},
      {longest, nullptr},
      {longest + u"x", u"(32767 文字)"},
      {std::u16string(u"probe.exe\0rest", 14), u"NUL"},
      {u"", nullptr},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    std::u16string why = CommandLineProblem(cases[i].line);
    if (!cases[i].expect)
      EXPECT_EQ(why, u"") << "case " << i;
    else
      EXPECT_NE(why.find(cases[i].expect), std::u16string::npos) << "case " << i << ": " << ToUtf8(why);
  }
}

TEST(ShortenedForMessage, CutsLongTextWithItsLengthAndKeepsPairsWhole) {
  EXPECT_EQ(ShortenedForMessage(u"short", 5), u"short");
  EXPECT_EQ(ShortenedForMessage(u"abcdef", 3), u"abc… (全 6 文字)");
  // The cut would fall inside a surrogate pair: the pair goes whole.
  EXPECT_EQ(ShortenedForMessage(u"ab\U0001F600cd", 3), u"ab… (全 6 文字)");
}

}  // namespace
}  // namespace tav
