#include "command_list.h"

#include <gtest/gtest.h>

#include <random>

#include "collation_for_tests.h"

namespace tav {
namespace {

using testing::AsciiCollation;
using testing::AsciiFold;
using Names = std::vector<std::u16string>;

Names Built(Names files) {
  CommandList list;
  list.Build(std::move(files), AsciiCollation());
  return list.Items();
}

TEST(CommandList, OrdersByFullFileNameAndCutsFourCharacters) {
  struct Case {
    Names files;
    Names items;
  } cases[] = {
      {{u"mail.txt", u"Memo.txt", u"calc.txt"}, {u"calc", u"mail", u"Memo"}},
      {{u"notes.text"}, {u"notes."}},
      // Duplicates after the cut stay, in the order of the full names.
      {{u"memo.txt", u"memo.bak"}, {u"memo", u"memo"}},
      // Ordered before the cut: "a-b.txt" sorts before "a.txt" although "a" would before "a-b".
      {{u"a.txt", u"a-b.txt"}, {u"a-b", u"a"}},
      // Too short to cut: left out; exactly four characters: an empty name.
      {{u"abc", u".txt", u"x"}, {u""}},
      {{}, {}},
      {{u"カレンダー.txt", u"Calendar.txt", u"calc.txt"}, {u"calc", u"Calendar", u"カレンダー"}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(Built(cases[i].files), cases[i].items) << "case " << i;
}

TEST(CommandList, RebuildStartsFromScratch) {
  CommandList list;
  list.Build({u"b.txt", u"a.txt"}, AsciiCollation());
  list.Build({u"b.txt", u"a.txt"}, AsciiCollation());
  EXPECT_EQ(list.Items(), (Names{u"a", u"b"}));
  list.Build({u"c.txt"}, AsciiCollation());
  EXPECT_EQ(list.Items(), (Names{u"c"}));
  EXPECT_EQ(list.FindFirst(u"a"), -1);
}

TEST(CommandList, FindFirstTakesTheFirstInListOrderIgnoringCase) {
  CommandList list;
  list.Build({u"calendar.txt", u"calc.txt", u"Memo.txt", u"mail.txt", u"web.txt"}, AsciiCollation());
  struct Case {
    const char16_t* text;
    int index;
  } cases[] = {
      {u"c", 0}, {u"cal", 0}, {u"cale", 1}, {u"CALE", 1}, {u"calc", 0}, {u"calcx", -1},
      {u"m", 2}, {u"me", 3},  {u"MEMO", 3}, {u"w", 4},     {u"x", -1},    {u"", -1},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(list.FindFirst(cases[i].text), cases[i].index) << "case " << i;
}

// Whatever the list's order, the answer is the linear scan's: the first item beginning with the text.
TEST(CommandList, FindFirstAgreesWithALinearScanUnderAnyOrder) {
  std::mt19937 rng(7);
  const std::u16string alphabet = u"abAB-.c";
  Names files;
  for (int i = 0; i < 400; ++i) {
    std::u16string n;
    int len = 1 + static_cast<int>(rng() % 5);
    for (int k = 0; k < len; ++k) n.push_back(alphabet[rng() % alphabet.size()]);
    files.push_back(n + u".txt");
  }
  struct Order {
    const char* name;
    Collation collation;
  } orders[] = {
      {"folded", AsciiCollation()},
      // Reversed text: prefixes are scattered all over the list.
      {"reversed", {[](std::u16string_view s) {
                      std::u16string r(s.rbegin(), s.rend());
                      return testing::UnitBytes(AsciiFold(r));
                    },
                    AsciiFold}},
      // Hyphens ignored, as word sorting does.
      {"no-hyphen", {[](std::u16string_view s) {
                       std::u16string r;
                       for (char16_t c : s)
                         if (c != u'-') r.push_back(c);
                       return testing::UnitBytes(AsciiFold(r));
                     },
                     AsciiFold}},
  };
  for (const auto& order : orders) {
    CommandList list;
    list.Build(files, order.collation);
    ASSERT_EQ(list.Size(), files.size());
    Names queries;
    for (const auto& item : list.Items())
      for (std::size_t k = 1; k <= item.size() + 1; ++k) queries.push_back(item.substr(0, k) + (k > item.size() ? u"z" : u""));
    for (std::size_t q = 0; q < queries.size(); ++q) {
      const std::u16string f = AsciiFold(queries[q]);
      int expected = -1;
      for (std::size_t i = 0; i < list.Size(); ++i)
        if (AsciiFold(list.Item(i)).substr(0, f.size()) == f) {
          expected = static_cast<int>(i);
          break;
        }
      ASSERT_EQ(list.FindFirst(queries[q]), expected) << order.name << " query " << q;
    }
  }
}

}  // namespace
}  // namespace tav
