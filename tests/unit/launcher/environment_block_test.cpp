#include "environment_block.h"

#include <gtest/gtest.h>

#include "expansion_cases.h"
#include "text_encoding.h"

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

TEST(EnvironmentBlock, ExpandsTheVariablesItSets) {
  std::u16string block = u"=C:=C:\\x";
  block += u'\0';
  for (const auto& v : test::kExpansionVariables) {
    block += std::u16string(v.name) + u"=" + v.value;
    block += u'\0';
  }
  for (std::size_t i = 0; i < std::size(test::kExpansionCases); ++i) {
    const auto& c = test::kExpansionCases[i];
    EXPECT_EQ(ToUtf8(ExpandEnvironmentText(c.line, block.c_str())), ToUtf8(c.expanded)) << "case " << i;
  }
  // Without a block nothing is set.
  EXPECT_EQ(ToUtf8(ExpandEnvironmentText(u"a %TAV_HOME_X% b", nullptr)), "a %TAV_HOME_X% b");
}

}  // namespace
}  // namespace tav
