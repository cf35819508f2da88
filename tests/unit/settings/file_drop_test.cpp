#include <gtest/gtest.h>

#include "file_drop.h"

namespace tav::settings {
namespace {

TEST(FileDrop, ProgramAreaKeepsTheLastFileOnlyWhenItEndsInLowerCaseExe) {
  struct Case {
    std::vector<std::u16string> files;
    std::optional<std::u16string> box;
  };
  const Case cases[] = {
      {{u"C:\\w\\notepad.exe"}, u"C:\\w\\notepad.exe"},
      {{u"C:\\w\\NOTEPAD.EXE"}, u""},
      {{u"C:\\w\\a.exe", u"C:\\w\\b.txt"}, u""},
      {{u"C:\\w\\b.txt", u"C:\\w\\a.exe"}, u"C:\\w\\a.exe"},
      {{u"C:\\w\\noexe"}, u"C:\\w\\noexe"},  // "exe" at the end, no dot needed
      {{u"ex"}, u""},
      {{}, std::nullopt},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(ProgramBoxAfterDrop(cases[i].files), cases[i].box) << "case " << i;
}

TEST(FileDrop, CommandLineAreaTakesTheLastFileOfAnyKind) {
  EXPECT_EQ(CommandLineBoxAfterDrop({u"a.txt", u"b", u"C:\\c.EXE"}), u"C:\\c.EXE");
  EXPECT_EQ(CommandLineBoxAfterDrop({}), std::nullopt);
}

}  // namespace
}  // namespace tav::settings
