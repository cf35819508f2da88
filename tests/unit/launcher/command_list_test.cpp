#include "command_list.h"
#include "command_list_names.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <random>

#include "collation_for_tests.h"

namespace tav {
namespace {

using testing::AsciiCollation;
using testing::AsciiFold;
using Names = std::vector<std::u16string>;

Names Built(Names files) {
  CommandList list;
  BuildList(list, std::move(files), AsciiCollation());
  return ListItems(list);
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

// The order is the keys' byte order, equal keys later file first, whatever the keys' lengths,
// shared beginnings or zero bytes: checked against a plain sort of the whole keys.
TEST(CommandList, OrderIsTheWholeKeysOrder) {
  std::mt19937 rng(3);
  const std::u16string alphabet = u"aAb-c\u00e9";
  Names files;
  for (int i = 0; i < 600; ++i) {
    std::u16string n;
    const int len = static_cast<int>(rng() % 8);
    for (int k = 0; k < len; ++k) n.push_back(alphabet[rng() % alphabet.size()]);
    files.push_back(n + (rng() % 4 ? u".txt" : u".bak"));
  }
  files.push_back(u"ab");  // too short to cut
  struct Order {
    const char* name;
    std::function<std::string(std::u16string_view)> key;
  } orders[] = {
      {"units", [](std::u16string_view s) { return testing::UnitBytes(AsciiFold(s)); }},
      // Every key begins with the same twelve bytes: only the rest decides.
      {"shared beginning", [](std::u16string_view s) { return std::string(12, 'k') + testing::UnitBytes(AsciiFold(s)); }},
      // One byte or none: many equal keys, and keys shorter than any beginning compared.
      {"short", [](std::u16string_view s) { return s.size() > 5 ? std::string(1, static_cast<char>(s[0] & 0x7F)) : std::string(); }},
      // Zero bytes inside and at the end of keys.
      {"zeros", [](std::u16string_view s) {
         std::string k;
         for (char16_t c : s) k += c == u'-' ? std::string(2, '\0') : std::string(1, static_cast<char>(c & 0x7F));
         return k;
       }},
  };
  for (const auto& order : orders) {
    std::vector<std::pair<std::string, int>> ref;
    for (std::size_t i = 0; i < files.size(); ++i)
      if (files[i].size() >= 4) ref.emplace_back(order.key(files[i]), static_cast<int>(i));
    std::sort(ref.begin(), ref.end(), [](const auto& a, const auto& b) {
      return a.first != b.first ? a.first < b.first : a.second > b.second;
    });
    Names expected;
    for (const auto& r : ref) expected.push_back(files[static_cast<std::size_t>(r.second)].substr(0, files[static_cast<std::size_t>(r.second)].size() - 4));
    CommandList list;
    BuildList(list, files, Collation{order.key, AsciiFold});
    EXPECT_EQ(ListItems(list), expected) << order.name;
  }
}

TEST(CommandList, RebuildStartsFromScratch) {
  CommandList list;
  BuildList(list, {u"b.txt", u"a.txt"}, AsciiCollation());
  BuildList(list, {u"b.txt", u"a.txt"}, AsciiCollation());
  EXPECT_EQ(ListItems(list), (Names{u"a", u"b"}));
  BuildList(list, {u"c.txt"}, AsciiCollation());
  EXPECT_EQ(ListItems(list), (Names{u"c"}));
  EXPECT_EQ(list.FindFirst(u"a"), -1);
}

// The first item beginning with the text, and whether the text is an item itself.
TEST(CommandList, FindFirstTakesTheFirstInListOrderIgnoringCase) {
  CommandList list;
  BuildList(list, {u"calendar.txt", u"calc.txt", u"Memo.txt", u"mail.txt", u"web.txt"}, AsciiCollation());
  struct Case {
    const char16_t* text;
    int index;
    bool listed;
  } cases[] = {
      {u"c", 0, false},    {u"cal", 0, false}, {u"cale", 1, false}, {u"CALE", 1, false},
      {u"calc", 0, true},  {u"calcx", -1, false}, {u"m", 2, false},  {u"me", 3, false},
      {u"MEMO", 3, true},  {u"w", 4, false},   {u"WEB", 4, true},    {u"x", -1, false},
      {u"", -1, false},    {u"calendar", 1, true}, {u"webs", -1, false},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(list.FindFirst(cases[i].text), cases[i].index) << "case " << i;
    EXPECT_EQ(list.Contains(cases[i].text), cases[i].listed) << "case " << i;
  }
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
      // The same, folded unit by unit.
      {"folded by unit", [] {
         Collation c = AsciiCollation();
         c.foldUnit = [](char16_t ch) -> char16_t { return ch >= u'A' && ch <= u'Z' ? static_cast<char16_t>(ch + 32) : ch; };
         return c;
       }()},
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
    BuildList(list, files, order.collation);
    ASSERT_EQ(list.Size(), files.size());
    Names queries;
    for (const auto& item : ListItems(list))
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
