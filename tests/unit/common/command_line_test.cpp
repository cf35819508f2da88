#include <gtest/gtest.h>

#include "command_line.h"
#include "text_encoding.h"

namespace tav {
namespace {

TEST(CommandLine, ArgumentTextIsEverythingAfterTheProgramName) {
  struct Case {
    const char16_t* commandLine;
    const char16_t* arguments;
  };
  const Case cases[] = {
      {u"Tavimset.exe", u""},
      {u"\"C:\\Program Files\\T\\Tavimset.exe\" C:\\docs\\memo.txt", u"C:\\docs\\memo.txt"},
      {u"\"C:\\T\\Tavimset.exe\"  \"C:\\My Docs\\a b.txt\"", u"\"C:\\My Docs\\a b.txt\""},
      {u"C:\\T\\Tavimset.exe C:\\a.txt C:\\b.txt", u"C:\\a.txt C:\\b.txt"},  // several files: one text
      {u"\"C:\\T\\Tavimset.exe\"", u""},
      {u"\"unterminated", u""},
      {u"", u""},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(ToUtf8(ArgumentText(cases[i].commandLine)), ToUtf8(cases[i].arguments)) << "case " << i;
}

TEST(CommandLine, OpenTargetDropsOnePairOfQuotesAndOuterBlanks) {
  EXPECT_EQ(OpenTarget(u"C:\\docs\\memo.txt"), u"C:\\docs\\memo.txt");
  EXPECT_EQ(OpenTarget(u"\"C:\\My Docs\\a b.txt\""), u"C:\\My Docs\\a b.txt");
  EXPECT_EQ(OpenTarget(u"  https://example.com/?q=1  "), u"https://example.com/?q=1");
  EXPECT_EQ(OpenTarget(u"C:\\My Docs\\a b.txt"), u"C:\\My Docs\\a b.txt");  // unquoted with spaces: whole text
  EXPECT_EQ(OpenTarget(u"\""), u"\"");
  EXPECT_EQ(OpenTarget(u""), u"");
}

}  // namespace
}  // namespace tav
