#include <gtest/gtest.h>

#include <cstdint>
#include <cstdlib>

#include "bitmap_file.h"
#include "command_file.h"
#include "compose_command_line.h"
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
  EXPECT_EQ(ShortenedForMessage(std::u16string(u"a.exe\0x", 7)), u"a.exe<NUL>x") << "a NUL would end the message";
}

// A bitmap file: 14-byte file header, 40-byte info header, the pixel rows (each padded to 4 bytes).
std::string Bitmap(std::int32_t width, std::int32_t height, std::uint16_t bits, std::uint32_t compression = 0,
                   std::uint32_t infoSize = 40) {
  auto put = [](std::string& s, std::uint64_t v, int bytes) {
    for (int i = 0; i < bytes; ++i) s += static_cast<char>((v >> (8 * i)) & 0xff);
  };
  const std::uint64_t rows = static_cast<std::uint64_t>((width * bits + 31) / 32 * 4) * static_cast<std::uint64_t>(std::abs(height));
  std::string b = "BM";
  put(b, 54 + rows, 4);
  put(b, 0, 4);
  put(b, 54, 4);
  put(b, infoSize, 4);
  put(b, static_cast<std::uint32_t>(width), 4);
  put(b, static_cast<std::uint32_t>(height), 4);
  put(b, 1, 2);
  put(b, bits, 2);
  put(b, compression, 4);
  put(b, 0, 4);
  b.append(16, '\0');
  b.append(rows, '\x7f');
  return b;
}

TEST(BitmapFile, WholeBitmapsOnly) {
  const std::string skin = Bitmap(240, 64, 24);
  struct Case {
    const char* what;
    std::string bytes;
    bool whole;
  };
  const Case cases[] = {
      {"the skin's own kind, 240x64 at 24 bits", skin, true},
      {"top-down rows", Bitmap(3, -2, 32), true},
      {"one bit a pixel, odd width", Bitmap(17, 5, 1), true},
      {"cut after the headers", skin.substr(0, 200), false},
      {"one byte short", skin.substr(0, skin.size() - 1), false},
      {"headers only", skin.substr(0, 54), false},
      {"not a bitmap", "GIF89a not a bitmap at all, long enough for the headers of one", false},
      {"empty", "", false},
      {"no width", Bitmap(0, 64, 24), false},
      {"absurd width", [&] { std::string b = skin; b[20] = 1; return b; }(), false},
      {"two planes", [&] { std::string b = skin; b[26] = 2; return b; }(), false},
      {"pixels said to start past the end", [&] { std::string b = skin; b[13] = '\x7f'; return b; }(), false},
      {"a compressed picture without its size", Bitmap(8, 8, 8, 1), false},
      {"a PNG inside", Bitmap(8, 8, 24, 5), false},
  };
  for (const Case& c : cases)
    EXPECT_EQ(IsCompleteBitmap(std::string_view(c.bytes).substr(0, kBitmapHeadBytes), c.bytes.size()), c.whole)
        << c.what;
}

}  // namespace
}  // namespace tav
