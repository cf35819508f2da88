#include "hotkey_notice.h"

#include <gtest/gtest.h>

#include <optional>

namespace tav {
namespace {

constexpr HotkeyRegistration Got(int key) { return {key, true, false}; }
constexpr HotkeyRegistration Held(int key) { return {key, false, true}; }
constexpr HotkeyRegistration Refused(int key) { return {key, false, false}; }  // any other reason

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
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(HotkeyNotice(cases[i].first, cases[i].second), cases[i].notice) << "case " << i;
}

TEST(HotkeyNotice, KeyNames) {
  struct Case {
    int key;
    const char16_t* name;
  } cases[] = {{'A', u"Alt+A"}, {'Z', u"Alt+Z"}, {'0', u"Alt+0"}, {'9', u"Alt+9"}, {0x70, u"Alt+F1"},
               {0x7B, u"Alt+F12"}, {0x87, u"Alt+F24"}, {0x88, u"Alt+キーコード 136"}, {0x6F, u"Alt+キーコード 111"},
               {'@', u"Alt+キーコード 64"}, {'[', u"Alt+キーコード 91"}, {0, u"Alt+キーコード 0"}};
  for (const Case& c : cases) EXPECT_EQ(HotkeyDisplayName(c.key), c.name) << c.key;
}

}  // namespace
}  // namespace tav
