#include "hotkey_notice.h"

#include <gtest/gtest.h>

#include <optional>

namespace tav {
namespace {

constexpr HotkeyRegistration Got(int key) { return {key, true, false}; }
constexpr HotkeyRegistration Held(int key) { return {key, false, true}; }
constexpr HotkeyRegistration Refused(int key) { return {key, false, false}; }  // any other reason
constexpr HotkeyRegistration With(HotkeyRegistration r, int modifiers) { return r.modifiers = modifiers, r; }

TEST(HotkeyNotice, NamesTheHeldKeyAndWhatStillWorks) {
  const char16_t* const kNeither = u"どちらのホットキーでも呼び出せません。このアイコンをクリックすると呼び出せます。";
  struct Case {
    HotkeyRegistration first, second;
    std::optional<std::u16string> notice;
  } cases[] = {
      {Got('O'), Got('W'), std::nullopt},
      {Held('O'), Got('W'), u"Alt+O は他のプログラムが使用しています。Alt+W で呼び出せます。"},
      {Got('O'), Held('W'), u"Alt+W は他のプログラムが使用しています。Alt+O で呼び出せます。"},
      {Held('Q'), Held('W'), std::u16string(u"Alt+Q と Alt+W は他のプログラムが使用しています。") + kNeither},
      // Key1 equal to Key2: the second refusal is the launcher's own first hotkey.
      {Got('O'), Held('O'), std::nullopt},
      {Held('O'), Held('O'), std::u16string(u"Alt+O は他のプログラムが使用しています。") + kNeither},
      {Held('Q'), Refused(0), std::u16string(u"Alt+Q は他のプログラムが使用しています。") + kNeither},
      {Refused(0), Got('W'), std::nullopt},
      {Got(0x70), Held(0x87), u"Alt+F24 は他のプログラムが使用しています。Alt+F1 で呼び出せます。"},
      // The real combinations: the same key with other modifiers is another hotkey.
      {With(Held(' '), 6), Got(' '), u"Ctrl+Shift+Space は他のプログラムが使用しています。Alt+Space で呼び出せます。"},
      {Got('O'), With(Held('O'), 2), u"Ctrl+O は他のプログラムが使用しています。Alt+O で呼び出せます。"},
      {With(Held(0x70), 0), With(Held(0x70), 0), std::u16string(u"F1 は他のプログラムが使用しています。") + kNeither},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(HotkeyNotice(cases[i].first, cases[i].second), cases[i].notice) << "case " << i;
}

}  // namespace
}  // namespace tav
