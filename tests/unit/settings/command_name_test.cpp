#include <gtest/gtest.h>

#include "command_name.h"

namespace tav::settings {
namespace {

TEST(CommandName, ProblemsOfNames) {
  using P = CommandNameProblem;
  struct Case {
    std::u16string name;
    P problem;
  };
  const Case cases[] = {
      {u"notepad", P::kNone},
      {u"メモ帳", P::kNone},
      {u"my memo", P::kNone},
      {u"memo ", P::kNone},  // the file "memo .txt"
      {u"memo.", P::kNone},
      {u"..", P::kNone},      // "...txt" stays inside texts
      {u"CONSOLE", P::kNone},
      {u"COM10", P::kNone},
      {u"LPT0", P::kNone},
      {u"a\\b", P::kForbiddenCharacter},
      {u"..\\..\\x", P::kForbiddenCharacter},
      {u"a/b", P::kForbiddenCharacter},
      {u"C:x", P::kForbiddenCharacter},
      {u"a*", P::kForbiddenCharacter},
      {u"a?", P::kForbiddenCharacter},
      {u"\"a\"", P::kForbiddenCharacter},
      {u"<a>", P::kForbiddenCharacter},
      {u"a|b", P::kForbiddenCharacter},
      {u"a\tb", P::kForbiddenCharacter},
      {std::u16string(u"a\0b", 3), P::kForbiddenCharacter},
      {u"CON", P::kReservedDevice},
      {u"con", P::kReservedDevice},
      {u"Prn", P::kReservedDevice},
      {u"AUX", P::kReservedDevice},
      {u"NUL", P::kReservedDevice},
      {u"nul.tar", P::kReservedDevice},
      {u"NUL ", P::kReservedDevice},
      {u"COM1", P::kReservedDevice},
      {u"com9", P::kReservedDevice},
      {u"LPT3.log", P::kReservedDevice},
      {u"COM\u00B9", P::kReservedDevice},
      {std::u16string(251, u'a'), P::kNone},
      {std::u16string(252, u'a'), P::kTooLong},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(CheckCommandName(cases[i].name), cases[i].problem) << "case " << i;
}

// What the user reads when a name is refused: why, and for a device name the name itself; the
// length limit counts the name without ".txt".
TEST(CommandName, RefusalMessagesSayWhy) {
  using P = CommandNameProblem;
  const struct {
    P problem;
    std::u16string name, message;
  } cases[] = {
      {P::kNone, u"memo", u""},
      {P::kForbiddenCharacter, u"a/b",
       u"このコマンド名は登録できません。\r\nコマンド名には \\ / : * ? \" < > | と制御文字を使えません。"},
      {P::kReservedDevice, u"nul.tar",
       u"コマンド名「nul.tar」は登録できません。\r\nCON, PRN, AUX, NUL, COM1～COM9, LPT1～LPT9 はWindowsが予約している名前です。"},
      {P::kTooLong, std::u16string(252, u'a'), u"コマンド名が長すぎます。\r\nコマンド名は 251 文字までです。"},
  };
  for (const auto& c : cases)
    EXPECT_TRUE(CommandNameMessage(c.problem, c.name) == c.message) << static_cast<int>(c.problem);
}

}  // namespace
}  // namespace tav::settings
