// The generic opener's request to the shell, against a fake of ShellExecuteExW.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include "open_with_shell_win32.h"

namespace tav::test {
namespace {

TEST(Opener, AsksTheShellForTheDefaultVerbWithItsOwnChoiceAllowed) {
  struct Case {
    const char16_t* commandLine;
    const char16_t* target;  // nullptr: nothing to open
    bool shellSucceeds;
    int exitCode;
  } cases[] = {
      {uR"(kovrand.exe "C:\My Docs\a b.pdf")", uR"(C:\My Docs\a b.pdf)", true, kOpened},
      {uR"("plugins\kovrand\kovrand.exe" C:\x.unknowntype)", uR"(C:\x.unknowntype)", true, kOpened},
      {uR"(kovrand.exe   https://example.org/?a="b"  )", uR"(https://example.org/?a="b")", true, kOpened},
      {uR"(kovrand.exe C:\Users)", uR"(C:\Users)", false, kNotOpened},  // the shell has said why, or was cancelled
      {uR"(kovrand.exe)", nullptr, true, kNothingToOpen},
      {uR"(kovrand.exe "")", nullptr, true, kNothingToOpen},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    int calls = 0, told = 0, owners = 0;
    const HWND owner = reinterpret_cast<HWND>(static_cast<INT_PTR>(0x5A5A0 + i));
    SHELLEXECUTEINFOW seen{};
    std::u16string file;
    const int code = OpenWithShell(
        cases[i].commandLine,
        [&] {
          ++owners;
          return owner;
        },
        [&](SHELLEXECUTEINFOW* info) {
          ++calls;
          seen = *info;
          file = info->lpFile ? U(info->lpFile) : u"";
          return cases[i].shellSucceeds;
        },
        [&] { ++told; });
    EXPECT_EQ(code, cases[i].exitCode) << "case " << i;
    if (!cases[i].target) {
      EXPECT_EQ(calls, 0) << "case " << i;
      EXPECT_EQ(told, 1) << "case " << i;
      continue;
    }
    ASSERT_EQ(calls, 1) << "case " << i;
    EXPECT_EQ(told, 0) << "case " << i;
    EXPECT_TRUE(file == cases[i].target) << "case " << i << ": " << ToUtf8(file);
    // A verb of its own would skip a type's default action ("play", "edit", ...), and no UI would
    // turn the "open with" choice for a type without a program into an error.
    EXPECT_EQ(seen.lpVerb, nullptr) << "case " << i;
    EXPECT_EQ(seen.fMask & SEE_MASK_FLAG_NO_UI, 0u) << "case " << i;
    EXPECT_EQ(seen.nShow, SW_SHOWNORMAL) << "case " << i;
    EXPECT_EQ(seen.cbSize, sizeof(SHELLEXECUTEINFOW)) << "case " << i;
    // The "open with" choice and the shell's messages come up in front of the window in use.
    EXPECT_EQ(owners, 1) << "case " << i;
    EXPECT_EQ(seen.hwnd, owner) << "case " << i;
  }
}

}  // namespace
}  // namespace tav::test
