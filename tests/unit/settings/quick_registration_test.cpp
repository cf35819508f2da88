#include <gtest/gtest.h>

#include "quick_registration.h"

namespace tav::settings {
namespace {

TEST(QuickRegistration, ProgramsAreProposedQuotedAndEverythingElseGoesToTheOpener) {
  const std::u16string opener = u"plugins\\kovrand\\kovrand.exe";
  struct Case {
    const char16_t* argument;
    std::u16string program, commandLine;
  };
  const Case cases[] = {
      {u"C:\\tools\\app.exe", u"\"C:\\tools\\app.exe\"", u""},
      {u"C:\\tools\\APP.EXE", u"\"C:\\tools\\APP.EXE\"", u""},
      {u"C:\\tools\\App.Exe", opener, u"C:\\tools\\App.Exe"},
      {u"C:\\tools\\app.exE", opener, u"C:\\tools\\app.exE"},
      {u"C:\\docs\\memo.txt", opener, u"C:\\docs\\memo.txt"},
      {u"\"C:\\Program Files\\x\\app.exe\"", u"\"C:\\Program Files\\x\\app.exe\"", u""},
      {u"\"C:\\My Docs\\memo.txt\"", opener, u"\"C:\\My Docs\\memo.txt\""},
      {u"C:\\work", opener, u"C:\\work"},
      {u"C:\\a.txt C:\\b.exe", u"\"C:\\a.txt C:\\b.exe\"", u""},  // several files: only the end counts
      {u"C:\\a.exe C:\\b.txt", opener, u"C:\\a.exe C:\\b.txt"},
      {u"\"C:\\a b.exe\" \"C:\\c d.txt\"", opener, u"\"C:\\a b.exe\" \"C:\\c d.txt\""},
      {u"app.exe\"x", opener, u"app.exe\"x"},  // a quote inside is not looked at
      {u".exe", u"\".exe\"", u""},
      {u"exe", opener, u"exe"},
      {u"\"", opener, u"\""},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    QuickProposal q = ProposeForArgument(cases[i].argument);
    EXPECT_EQ(q.program, cases[i].program) << "case " << i;
    EXPECT_EQ(q.commandLine, cases[i].commandLine) << "case " << i;
  }
}

}  // namespace
}  // namespace tav::settings
