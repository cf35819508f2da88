#include <gtest/gtest.h>

#include "program_arguments.h"
#include "message_inserts.h"
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

TEST(CommandLine, SystemMessageInsertsAreFilled) {
  const std::u16string unnamed = kUnnamedInsert;
  struct Case {
    const char16_t* text;
    const char16_t* insert;
    std::u16string filled;
  };
  const Case cases[] = {
      {u"%1 は有効な Win32 アプリケーションではありません。", u"C:\\memo.txt",
       u"C:\\memo.txt は有効な Win32 アプリケーションではありません。"},
      {u"%1 is not a valid Win32 application.", u"", unnamed + u" is not a valid Win32 application."},
      {u"a %2!s! b %10 c", u"x", u"a x b x c"},
      {u"%1!unclosed", u"x", u"x!unclosed"},
      {u"100% done %0 %", u"x", u"100% done %0 %"},  // no insert: left as it is
      {u"", u"x", u""},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(ToUtf8(FillMessageInserts(cases[i].text, cases[i].insert)), ToUtf8(cases[i].filled)) << "case " << i;
}

}  // namespace
}  // namespace tav
