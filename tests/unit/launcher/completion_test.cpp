#include "completion.h"

#include <gtest/gtest.h>

#include "command_list_names.h"
#include "collation_for_tests.h"

namespace tav {
namespace {

// An input box that behaves like the platform's: typing replaces the selection and moves the caret
// after the inserted text; a text set by the program leaves the caret at 0 and, when nested is on,
// runs the change handler again before returning. With atOnce, a typed character that completes
// a name is shown completed in one step, as the launcher's window does it.
class FakeBox final : public EditBox {
 public:
  FakeBox(Completion& c, const CommandList& list, bool nested, bool atOnce = false)
      : completion_(c), list_(list), nested_(nested), atOnce_(atOnce) {}

  std::u16string Text() const override { return text_; }
  int SelStart() const override { return selStart_; }
  void SetText(const std::u16string& text) override {
    text_ = text;
    selStart_ = selEnd_ = 0;
    if (nested_) Change();
  }
  void SetSelection(int start, int length) override {
    selStart_ = std::min(start, Len());
    selEnd_ = std::min(start + length, Len());
  }

  void Type(const std::u16string& s) {  // one change per character
    for (char16_t c : s) {
      if (atOnce_)
        if (auto typed = completion_.CompleteTyped(text_, selStart_, selEnd_, c, list_)) {
          text_ = typed->text;
          selStart_ = typed->selStart;
          selEnd_ = typed->selStart + typed->selLength;
          continue;
        }
      Replace(std::u16string(1, c));
    }
  }
  void Paste(const std::u16string& s) { Replace(s); }
  void Compose(bool on) {  // an input method's composition starts or ends
    completion_.SetComposing(on);
    if (!on) Change();
  }
  void Tab(bool back = false) {  // as the window shows it: the offer at once, no change of its own
    if (auto offer = completion_.Cycle(text_, selStart_, selEnd_, back, list_)) {
      text_ = offer->text;
      SetSelection(offer->selStart, offer->selLength);
    }
  }
  void Backspace() {
    if (selStart_ == selEnd_) {
      if (selStart_ == 0) return;
      --selStart_;
    }
    Replace(u"");
  }
  void Delete() {
    if (selStart_ == selEnd_) {
      if (selEnd_ == Len()) return;
      ++selEnd_;
    }
    Replace(u"");
  }
  void MoveCaret(int pos) { selStart_ = selEnd_ = pos; }  // arrows, Home, End: no change
  void ClearByProgram() { SetText(u""); if (!nested_) Change(); }

  std::pair<int, int> Selection() const { return {selStart_, selEnd_ - selStart_}; }

 private:
  int Len() const { return static_cast<int>(text_.size()); }
  void Replace(const std::u16string& s) {
    text_ = text_.substr(0, selStart_) + s + text_.substr(selEnd_);
    selStart_ = selEnd_ = selStart_ + static_cast<int>(s.size());
    Change();
  }
  void Change() {
    completion_.Text1_Change(*this, list_);
  }
  Completion& completion_;
  const CommandList& list_;
  bool nested_, atOnce_;
  std::u16string text_;
  int selStart_ = 0, selEnd_ = 0;
};

CommandList Commands() {
  CommandList list;
  BuildList(list, {u"calc.txt", u"calendar.txt", u"Memo.txt", u"abxyz.txt", u"web.txt"}, testing::AsciiCollation());
  return list;
}

struct Outcome {
  std::u16string text;
  std::pair<int, int> selection;  // start, length
  int lastSelStart;
};

// Runs a user's actions on a fresh box, with and without nested change notifications and with
// typed completions shown at once; all must end the same.
template <typename Actions>
void ExpectOutcome(int autoComplete, Actions actions, const Outcome& expected, const std::string& label,
                   const CommandList& list = Commands()) {
  struct Mode {
    bool nested, atOnce;
    const char* name;
  } modes[] = {{true, false, " nested"}, {false, false, " flat"}, {true, true, " at once"}};
  for (const Mode& m : modes) {
    Completion c(autoComplete);
    FakeBox box(c, list, m.nested, m.atOnce);
    actions(box);
    EXPECT_EQ(box.Text(), expected.text) << label << m.name;
    EXPECT_EQ(box.Selection(), expected.selection) << label << m.name;
    EXPECT_EQ(c.LastSelStart(), expected.lastSelStart) << label << m.name;
  }
}

TEST(Completion, TypingAndDeleting) {
  struct Case {
    const char* label;
    std::function<void(FakeBox&)> actions;
    Outcome expected;
  } cases[] = {
      {"first letter", [](FakeBox& b) { b.Type(u"c"); }, {u"calc", {1, 3}, 1}},
      {"cal", [](FakeBox& b) { b.Type(u"cal"); }, {u"calc", {3, 1}, 3}},
      {"cale replaces the selection", [](FakeBox& b) { b.Type(u"cale"); }, {u"calendar", {4, 4}, 4}},
      {"other case: the item's case, nothing selected", [](FakeBox& b) { b.Type(u"MEMO"); }, {u"Memo", {4, 0}, 4}},
      {"no name begins with it", [](FakeBox& b) { b.Type(u"zq"); }, {u"zq", {2, 0}, 2}},
      {"backspace removes the tail", [](FakeBox& b) { b.Type(u"cal"); b.Backspace(); }, {u"cal", {3, 0}, 3}},
      {"second backspace does not complete", [](FakeBox& b) { b.Type(u"cal"); b.Backspace(); b.Backspace(); },
       {u"ca", {2, 0}, 2}},
      {"delete removes the tail", [](FakeBox& b) { b.Type(u"cale"); b.Delete(); }, {u"cale", {4, 0}, 4}},
      {"paste completes", [](FakeBox& b) { b.Paste(u"cale"); }, {u"calendar", {4, 4}, 4}},
      {"argument text after /", [](FakeBox& b) { b.Type(u"calc/x"); }, {u"calc/x", {6, 0}, 6}},
      {"after a clear the first letter completes", [](FakeBox& b) { b.Type(u"web"); b.ClearByProgram(); b.Type(u"w"); },
       {u"web", {1, 2}, 1}},
      {"clear records 0", [](FakeBox& b) { b.Type(u"we"); b.ClearByProgram(); }, {u"", {0, 0}, 0}},
      // Caret moved left: no completion until it passes the recorded position; then the
      // selection starts at the caret and is (item length - text length) long.
      {"insertion in the middle",
       [](FakeBox& b) { b.Type(u"xy"); b.MoveCaret(0); b.Type(u"a"); b.Type(u"b"); }, {u"abxyz", {2, 1}, 2}},
      {"moved caret, not yet past", [](FakeBox& b) { b.Type(u"xy"); b.MoveCaret(0); b.Type(u"a"); },
       {u"axy", {1, 0}, 1}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    ExpectOutcome(1, cases[i].actions, cases[i].expected, "case " + std::to_string(i) + " " + cases[i].label);
}

// Japanese names from any keyboard state: where no name begins with the typed text as typed, its
// reading (kana of either script and width, romaji) finds the first name whose reading begins with
// it; the box shows the name, the part the typed text covers unselected. Tab and Shift+Tab step
// through every match in list order. The README's table is this one.
TEST(Completion, ReadingsAndTab) {
  CommandList list;
  BuildList(list, {u"mex.txt", u"メモ帳.txt", u"しごと.txt", u"ロッカー.txt", u"ガイド.txt", u"ツール.txt", u"ホンヤク.txt",
              u"とまと.txt", u"トアル.txt", u"トイレ.txt"},
             testing::AsciiCollation());
  struct Case {
    const char16_t* keys;  // typed one by one; \t is Tab, \b is Shift+Tab
    Outcome expected;
  } cases[] = {
      {u"めも", {u"メモ帳", {2, 1}, 2}},   {u"ﾒﾓ", {u"メモ帳", {2, 1}, 2}},   {u"memo", {u"メモ帳", {2, 1}, 2}},
      {u"MEMO", {u"メモ帳", {2, 1}, 2}},   {u"ｍｅｍｏ", {u"メモ帳", {2, 1}, 2}},
      {u"me", {u"mex", {2, 1}, 2}},        // a name that begins with it as typed wins
      {u"mem", {u"mem", {3, 0}, 3}},       // a syllable not yet complete
      {u"sigo", {u"しごと", {2, 1}, 2}},   {u"shigo", {u"しごと", {2, 1}, 2}},
      {u"rokka", {u"ロッカー", {3, 1}, 3}}, {u"ｶﾞｲ", {u"ガイド", {2, 1}, 2}},  {u"gaido", {u"ガイド", {3, 0}, 3}},
      {u"tsu-", {u"ツール", {2, 1}, 2}},   {u"tu-", {u"ツール", {2, 1}, 2}},  {u"memq", {u"memq", {4, 0}, 4}},
      {u"me\t", {u"メモ帳", {1, 2}, 1}},  {u"me\t\t", {u"mex", {2, 1}, 2}},  {u"me\b", {u"メモ帳", {1, 2}, 1}},
      {u"zz\t", {u"zz", {2, 0}, 2}},      // no completion shown: Tab does nothing
      {u"honnya", {u"ホンヤク", {3, 1}, 3}}, {u"hon'ya", {u"ホンヤク", {3, 1}, 3}}, {u"honya", {u"ホnya", {4, 0}, 4}},
      // The first match in list order, not in reading order; Shift+Tab goes to the last.
      {u"to", {u"とまと", {1, 2}, 1}},     {u"to\b", {u"トイレ", {1, 2}, 1}},
      // \x01 \x02: an input method's composition starts, ends; completion waits for its end.
      {u"\x01めも", {u"めも", {2, 0}, 0}},  {u"\x01めも\x02", {u"メモ帳", {2, 1}, 2}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    auto type = [&](FakeBox& b) {
      for (const char16_t* k = cases[i].keys; *k; ++k) {
        if (*k == u'\t' || *k == u'\b')
          b.Tab(*k == u'\b');
        else if (*k == u'\x01' || *k == u'\x02')
          b.Compose(*k == u'\x01');
        else
          b.Type(std::u16string(1, *k));
      }
    };
    ExpectOutcome(1, type, cases[i].expected, "case " + std::to_string(i), list);
  }
}

TEST(Completion, OnlyTheValueOneSwitchesItOn) {
  for (int value : {0, 2, -1}) {
    ExpectOutcome(value, [](FakeBox& b) { b.Type(u"cal"); b.Paste(u"e"); b.Backspace(); }, {u"cal", {3, 0}, 0},
                  "AutoComplete=" + std::to_string(value));
  }
}

TEST(Completion, RightArrowCollapsesOrMovesOne) {
  struct Case {
    std::u16string text;
    int start, end, caret;
  } cases[] = {
      {u"calc", 3, 4, 4}, {u"calc", 1, 1, 2}, {u"calc", 4, 4, 4}, {u"", 0, 0, 0},
      {u"calendar", 4, 8, 8}, {u"a\U0001F600b", 1, 1, 3}, {u"ab", 9, 9, 2},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(CaretAfterRight(cases[i].text, cases[i].start, cases[i].end), cases[i].caret) << "case " << i;
}

}  // namespace
}  // namespace tav
