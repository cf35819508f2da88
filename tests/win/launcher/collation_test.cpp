// Our list's order and search against the platform's sorted combo box searched with CB_FINDSTRING.
#include <gtest/gtest.h>

#include <algorithm>

#include "collation_win32.h"
#include "command_list.h"
#include "command_list_names.h"
#include "list_control_search_win32.h"
#include "text_encoding.h"

namespace tav {
namespace {

// A sorted list control: the combo box, or the list box that holds a combo box's items.
struct SortedList {
  explicit SortedList(bool combo) : combo(combo) {
    // Message-only, so it needs no display; a combo box needs one (its list is a pop-up).
    hwnd = combo ? CreateWindowExW(0, L"COMBOBOX", L"", WS_POPUP | CBS_DROPDOWN | CBS_SORT | CBS_HASSTRINGS, 0, 0, 100,
                                   100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr)
                 : CreateWindowExW(0, L"LISTBOX", L"", WS_CHILD | LBS_SORT | LBS_HASSTRINGS, 0, 0, 100, 100,
                                   HWND_MESSAGE, nullptr, GetModuleHandleW(nullptr), nullptr);
  }
  ~SortedList() { DestroyWindow(hwnd); }
  bool Usable() const { return hwnd && Add(u"probe") >= 0 && Clear(); }
  LRESULT Add(const std::u16string& s) const {
    return SendMessageW(hwnd, combo ? CB_ADDSTRING : LB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(s)));
  }
  void Replace(int i, const std::u16string& s) const {
    SendMessageW(hwnd, combo ? CB_DELETESTRING : LB_DELETESTRING, static_cast<WPARAM>(i), 0);
    SendMessageW(hwnd, combo ? CB_INSERTSTRING : LB_INSERTSTRING, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(W(s)));
  }
  bool Clear() const {
    SendMessageW(hwnd, combo ? CB_RESETCONTENT : LB_RESETCONTENT, 0, 0);
    return true;
  }
  std::u16string Item(int i) const {
    auto n = SendMessageW(hwnd, combo ? CB_GETLBTEXTLEN : LB_GETTEXTLEN, static_cast<WPARAM>(i), 0);
    std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
    SendMessageW(hwnd, combo ? CB_GETLBTEXT : LB_GETTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(s.data()));
    return U(s.c_str());
  }
  int Count() const { return static_cast<int>(SendMessageW(hwnd, combo ? CB_GETCOUNT : LB_GETCOUNT, 0, 0)); }
  bool combo;
  HWND hwnd;
};

// Names mixing case, digits, punctuation, full-width letters, kana, kanji and other scripts.
std::vector<std::u16string> SampleNames() {
  return {u"calc",     u"Calendar", u"calendar2", u"CALL",    u"memo",     u"Memo帳",  u"mail",    u"web",
          u"Web-Search", u"web_x",  u"we b",      u"a-b",     u"ab",       u"a.b",     u"co-op",   u"coop",
          u"Zebra",    u"zeta",     u"ｚｅｂｒａ", u"ＡＢＣ",  u"ａｂｃ",    u"メモ帳",  u"メール",  u"めも",
          u"ﾒﾓ",       u"計算機",   u"計算",      u"Ωmega",   u"ωmega",    u"Éclair",  u"eclair",  u"Ärger",
          u"über",     u"Über",     u"123",       u"1a",      u"_under",   u"~tilde",  u"x'y",     u"xy",
          u"ＰＤＦ変換", u"Ärger2"};
}

void ExpectAgreement(bool comboBox) {
  SortedList control(comboBox);
  if (!control.Usable()) GTEST_SKIP() << "no combo box without a display";
  std::vector<std::u16string> names = SampleNames();
  std::vector<std::u16string> files;
  for (const auto& n : names) {
    control.Add(n + u".txt");
    files.push_back(n + u".txt");
  }
  // The control's cut: each item less its last four characters, in its place.
  std::vector<std::u16string> controlItems;
  for (int i = 0; i < control.Count(); ++i) {
    std::u16string s = control.Item(i);
    controlItems.push_back(s.substr(0, s.size() - 4));
  }
  CommandList list;
  BuildList(list, files, UserCollation());
  ASSERT_EQ(ListItems(list).size(), controlItems.size());
  for (std::size_t i = 0; i < controlItems.size(); ++i)
    EXPECT_TRUE(list.Item(i) == controlItems[i]) << "position " << i << ": " << ToUtf8(list.Item(i)) << " vs "
                                                 << ToUtf8(controlItems[i]);

  // The search runs on the cut items, each cut in its place (insertion does not sort).
  for (int i = 0; i < control.Count(); ++i) control.Replace(i, controlItems[static_cast<std::size_t>(i)]);
  std::vector<std::u16string> queries;
  for (const auto& n : names)
    for (std::size_t k = 1; k <= n.size(); ++k) queries.push_back(n.substr(0, k));
  for (auto extra : {u"CAL", u"cALe", u"WEB-", u"ｚＥ", u"ＡＢ", u"メ", u"ÜB", u"ΩM", u"nomatch", u"め", u"x'"})
    queries.push_back(extra);
  for (auto extra : {u"ÜBER", u"ｐｄｆ", u"ＰＤＦ変", u"éCLAIR", u"ÄRG", u"ｍｅｍｏ"}) queries.push_back(extra);
  for (std::size_t q = 0; q < queries.size(); ++q) {
    const std::u16string& query = queries[q];
    int ours = list.FindFirst(query);
    // The file system's rule: the first item, in the control's order, whose beginning equals the
    // text as CompareStringOrdinal sees it with case ignored.
    int fileSystem = -1;
    for (int i = 0; i < control.Count() && fileSystem < 0; ++i) {
      const std::u16string& item = controlItems[static_cast<std::size_t>(i)];
      if (item.size() >= query.size() &&
          CompareStringOrdinal(W(item), static_cast<int>(query.size()), W(query), static_cast<int>(query.size()),
                               TRUE) == CSTR_EQUAL)
        fileSystem = i;
    }
    EXPECT_EQ(ours, fileSystem) << "query " << q << " " << ToUtf8(query);
    // The control itself agrees where only A-Z differ in case (Wine's control folds no others;
    // Windows' folds by its locale, which can differ from the file system's table).
    if (std::all_of(query.begin(), query.end(), [](char16_t c) { return c < 0x80; }))
      EXPECT_EQ(ours, mAPIDec::FindListEntry(control.hwnd, query, false)) << "query " << q << " " << ToUtf8(query);
  }
}

TEST(ListSearch, OrderAndFirstMatchAgreeWithASortedListBox) { ExpectAgreement(false); }
TEST(ListSearch, OrderAndFirstMatchAgreeWithASortedComboBox) { ExpectAgreement(true); }

// The fold the list matches with is the file system's: two units fold alike exactly when
// CompareStringOrdinal, case ignored, takes them as equal. Every unit, grouped by that comparison.
TEST(ListSearch, FoldIsTheFileSystemsCaseRule) {
  const Collation c = UserCollation();
  ASSERT_NE(c.foldUnit, nullptr);
  std::vector<char16_t> units;
  for (unsigned u = 1; u < 0x10000; ++u) units.push_back(static_cast<char16_t>(u));
  auto compare = [](char16_t a, char16_t b) {
    return CompareStringOrdinal(reinterpret_cast<const wchar_t*>(&a), 1, reinterpret_cast<const wchar_t*>(&b), 1, TRUE);
  };
  std::stable_sort(units.begin(), units.end(), [&](char16_t a, char16_t b) { return compare(a, b) == CSTR_LESS_THAN; });
  int mismatches = 0, classes = 0;
  for (std::size_t i = 0; i < units.size(); ++i) {
    const bool sameAsPrevious = i > 0 && compare(units[i - 1], units[i]) == CSTR_EQUAL;
    classes += !sameAsPrevious;
    const bool foldsAlike = i > 0 && c.foldUnit(units[i - 1]) == c.foldUnit(units[i]);
    if (sameAsPrevious != foldsAlike && ++mismatches <= 10)
      ADD_FAILURE() << std::hex << "U+" << unsigned(units[i - 1]) << " and U+" << unsigned(units[i]) << ": ordinal "
                    << sameAsPrevious << ", fold " << foldsAlike;
  }
  // Within a class each unit folds alike; across classes the folds differ (a fold shared by two
  // classes would show above where they meet only if they were neighbours, so count the folds).
  std::vector<bool> seen(0x10000);
  int folds = 0;
  for (char16_t u : units)
    if (!seen[c.foldUnit(u)]) {
      seen[c.foldUnit(u)] = true;
      ++folds;
    }
  EXPECT_EQ(folds, classes);
  EXPECT_EQ(mismatches, 0);
  for (auto [a, b] : {std::pair<char16_t, char16_t>{u'ü', u'Ü'}, {u'ｐ', u'Ｐ'}, {u'ω', u'Ω'}, {u'a', u'A'}})
    EXPECT_EQ(c.foldUnit(a), c.foldUnit(b)) << ToUtf8(std::u16string(1, a));
  EXPECT_NE(c.foldUnit(u'a'), c.foldUnit(u'ａ'));  // full width is another letter, as for the file system
}

}  // namespace
}  // namespace tav
