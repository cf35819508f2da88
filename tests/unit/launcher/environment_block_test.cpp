#include "environment_block.h"

#include <gtest/gtest.h>

namespace tav {
namespace {

TEST(EnvironmentBlock, FindsAVariableByName) {
  // Embedded zeros: one block, as the platform hands it over.
  const char16_t block[] = u"=C:=C:\\x\0Path=C:\\w;D:\\u\0PATHEXT=.EXE\0EMPTY=\0A=b=c\0";
  struct Case {
    const char16_t* name;
    const char16_t* value;  // nullptr: not found
  } cases[] = {
      {u"PATH", u"C:\\w;D:\\u"}, {u"path", u"C:\\w;D:\\u"}, {u"PATHEXT", u".EXE"},
      {u"PAT", nullptr},         {u"EMPTY", u""},           {u"A", u"b=c"},
      {u"=C:", nullptr},         {u"C:", nullptr},          {u"", nullptr},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    auto got = EnvironmentValue(block, cases[i].name);
    ASSERT_EQ(got.has_value(), cases[i].value != nullptr) << "case " << i;
    if (got) {
      EXPECT_EQ(*got, cases[i].value) << "case " << i;
    }
  }
  EXPECT_FALSE(EnvironmentValue(u"\0", u"PATH"));
  EXPECT_FALSE(EnvironmentValue(nullptr, u"PATH"));
}

}  // namespace
}  // namespace tav
