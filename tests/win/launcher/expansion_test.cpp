// The launcher's expansion of environment variables agrees with the platform's own.
#include <windows.h>

#include <gtest/gtest.h>

#include <vector>

#include "environment_block.h"
#include "expansion_cases.h"
#include "text_encoding.h"
#include "user_environment_win32.h"

namespace tav {
namespace {

TEST(Expansion, AgreesWithExpandEnvironmentStrings) {
  for (const auto& v : test::kExpansionVariables)
    ASSERT_TRUE(SetEnvironmentVariableW(W(v.name), W(v.value))) << ToUtf8(v.name);
  SetEnvironmentVariableW(L"TAV_UNSET_X", nullptr);
  // The launcher's own environment, as it expands a line before the first change.
  const std::u16string block = UserEnvironment().CurrentBlock();
  for (std::size_t i = 0; i < std::size(test::kExpansionCases); ++i) {
    const auto& c = test::kExpansionCases[i];
    std::vector<wchar_t> platform(32768);
    const DWORD n = ExpandEnvironmentStringsW(W(c.line), platform.data(), static_cast<DWORD>(platform.size()));
    ASSERT_GT(n, 0u) << "case " << i;
    const std::u16string ours = ExpandEnvironmentText(c.line, block.c_str());
    EXPECT_EQ(ToUtf8(ours), ToUtf8(U(platform.data()))) << "case " << i << ": " << ToUtf8(c.line);
    EXPECT_EQ(ToUtf8(ours), ToUtf8(c.expanded)) << "case " << i;
  }
  for (const auto& v : test::kExpansionVariables) SetEnvironmentVariableW(W(v.name), nullptr);
}

}  // namespace
}  // namespace tav
