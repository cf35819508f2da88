// The command list and completion: random file names, collations, texts, carets and edits.
// The list's order is that of a sorted list control filled one name at a time, its search is a
// linear scan's, and the input box after every edit is what the completion rules give with
// that scan, with or without the nested change notification.
#include <algorithm>
#include <vector>

#include "collation_for_tests.h"
#include "command_list.h"
#include "command_list_names.h"
#include "completion.h"
#include "kana_reading.h"
#include "fuzz_target.h"

namespace tav::fuzz {
namespace {

using testing::AsciiFold;
using testing::UnitBytes;

constexpr std::u16string_view kAlphabet = u"abcAB-./ \u00FC\u00DC\uFF21\uFF41\xD83D\xDE00";

Collation PickCollation(int which) {
  switch (which) {
    case 1:  // reversed text: names with a common beginning lie all over the list
      return {[](std::u16string_view s) {
                std::u16string r(s.rbegin(), s.rend());
                return UnitBytes(AsciiFold(r));
              },
              AsciiFold};
    case 2:  // hyphens ignored, as word sorting does
      return {[](std::u16string_view s) {
                std::u16string r;
                for (char16_t c : s)
                  if (c != u'-') r.push_back(c);
                return UnitBytes(AsciiFold(r));
              },
              AsciiFold};
    default:
      return testing::AsciiCollation();
  }
}

// A sorted list control: each name goes in before the first item not below it.
std::vector<std::u16string> ListControlOrder(const std::vector<std::u16string>& files, const Collation& c) {
  std::vector<std::pair<std::string, std::u16string>> items;
  for (const auto& f : files) {
    if (f.size() < 4) continue;
    std::string key = c.sortKey(f);
    auto at = std::find_if(items.begin(), items.end(), [&](const auto& it) { return it.first >= key; });
    items.insert(at, {key, f});
  }
  std::vector<std::u16string> names;
  for (auto& it : items) names.push_back(it.second.substr(0, it.second.size() - 4));
  return names;
}

int LinearFind(const CommandList& list, std::u16string_view text) {
  if (text.empty()) return -1;
  const std::u16string f = AsciiFold(text);
  for (std::size_t i = 0; i < list.Size(); ++i)
    if (AsciiFold(list.Item(i)).compare(0, f.size(), f) == 0 && list.Item(i).size() >= f.size())
      return static_cast<int>(i);
  return -1;
}

struct State {
  std::u16string text;
  int selStart = 0, selEnd = 0;
  int last = 0;
  bool operator==(const State&) const = default;
};

// The platform's input box: typing replaces the selection; a text set by the program puts the
// caret at 0 and, when nested, notifies the change before returning.
class Box final : public EditBox {
 public:
  Box(Completion& c, const CommandList& list, bool nested) : completion_(c), list_(list), nested_(nested) {}
  std::u16string Text() const override { return s_.text; }
  int SelStart() const override { return s_.selStart; }
  void SetText(const std::u16string& text) override {
    s_.text = text;
    s_.selStart = s_.selEnd = 0;
    if (nested_) Change();
  }
  void SetSelection(int start, int length) override {
    TAV_CHECK(start >= 0 && length >= 0 && start + length <= Len());
    s_.selStart = start;
    s_.selEnd = start + length;
  }
  void Replace(const std::u16string& with) {
    s_.text = s_.text.substr(0, s_.selStart) + with + s_.text.substr(s_.selEnd);
    s_.selStart = s_.selEnd = s_.selStart + static_cast<int>(with.size());
    Change();
  }
  void Select(int a, int b) {  // arrows, Home, End, mouse: no change notification
    s_.selStart = std::min(a, b);
    s_.selEnd = std::max(a, b);
  }
  void ClearByProgram() {
    SetText(u"");
    if (!nested_) Change();
  }
  int Len() const { return static_cast<int>(s_.text.size()); }
  State Now() const {
    State s = s_;
    s.last = completion_.LastSelStart();
    return s;
  }

 private:
  void Change() { completion_.Text1_Change(*this, list_); }
  Completion& completion_;
  const CommandList& list_;
  bool nested_;
  State s_;
};

// The completion rules on the model state, searching by linear scan.
void ModelChange(State& m, bool enabled, const CommandList& list) {
  if (!enabled) return;
  if (m.selStart > m.last) {
    const int s = m.selStart, n = static_cast<int>(m.text.size());
    int idx = LinearFind(list, m.text);
    if (idx != -1) {
      const std::u16string item(list.Item(static_cast<std::size_t>(idx)));
      TAV_CHECK(AsciiFold(item).compare(0, m.text.size(), AsciiFold(m.text)) == 0);
      m.text = item;
      m.selStart = s;
      m.selEnd = s + static_cast<int>(item.size()) - n;
    } else if (const auto reading = TypedReading(m.text); reading && !reading->empty()) {
      // No name begins with it as typed: the first in list order whose reading begins with its reading.
      for (std::size_t i = 0; i < list.Size(); ++i) {
        const std::u16string item(list.Item(i));
        std::vector<int> ends;
        if (!HasKana(item) || NameReading(item, &ends).compare(0, reading->size(), *reading) != 0) continue;
        m.text = item;
        m.selStart = ends[reading->size() - 1];
        m.selEnd = static_cast<int>(item.size());
        break;
      }
    }
  }
  m.last = m.selStart;
}

}  // namespace

TAV_FUZZ_TARGET(completion) {
  Input in(data, size);
  const Collation collation = PickCollation(static_cast<int>(in.Below(3)));
  const int autoComplete = static_cast<int>(in.Below(4));
  std::vector<std::u16string> files(in.Below(40));
  for (auto& f : files) {
    f = in.Text(kAlphabet, 8);
    if (in.Bool()) f += u".txt";
  }

  CommandList list;
  BuildList(list, files, collation);
  TAV_CHECK(ListItems(list) == ListControlOrder(files, collation));
  for (std::size_t i = 0; i < list.Size(); ++i)
    for (std::size_t k = 0; k <= list.Item(i).size() + 1; ++k) {
      std::u16string q = std::u16string(list.Item(i).substr(0, k)) + (k > list.Item(i).size() ? u"a" : u"");
      TAV_CHECK(list.FindFirst(q) == LinearFind(list, q));
    }

  Completion nestedC(autoComplete), flatC(autoComplete);
  Box nested(nestedC, list, true), flat(flatC, list, false);
  State model;
  const bool enabled = autoComplete == 1;
  TAV_CHECK(nestedC.Enabled() == enabled);
  while (!in.Empty()) {
    const std::size_t op = in.Below(7);
    const int len = nested.Len();
    auto edit = [&](const std::u16string& with) {
      nested.Replace(with);
      flat.Replace(with);
      model.text = model.text.substr(0, model.selStart) + with + model.text.substr(model.selEnd);
      model.selStart = model.selEnd = model.selStart + static_cast<int>(with.size());
      ModelChange(model, enabled, list);
    };
    auto select = [&](int a, int b) {
      nested.Select(a, b);
      flat.Select(a, b);
      model.selStart = std::min(a, b);
      model.selEnd = std::max(a, b);
    };
    switch (op) {
      case 0:  // typing one character
      case 1: {
        std::u16string t = in.Text(kAlphabet, 1);
        if (!t.empty()) edit(t);
        break;
      }
      case 2:  // paste
        edit(in.Text(kAlphabet, 6));
        break;
      case 3:  // Backspace
        if (model.selStart == model.selEnd && model.selStart > 0) select(model.selStart - 1, model.selEnd);
        if (model.selStart != model.selEnd) edit(u"");
        break;
      case 4:  // Delete
        if (model.selStart == model.selEnd && model.selEnd < len) select(model.selStart, model.selEnd + 1);
        if (model.selStart != model.selEnd) edit(u"");
        break;
      case 5: {  // caret or selection moved without a change
        int a = static_cast<int>(in.Below(static_cast<std::size_t>(len) + 1));
        int b = in.Bool() ? a : static_cast<int>(in.Below(static_cast<std::size_t>(len) + 1));
        select(a, b);
        const int right = CaretAfterRight(model.text, model.selStart, model.selEnd);
        TAV_CHECK(right >= model.selStart && right <= len);
        TAV_CHECK(right == len || right == 0 || !(model.text[right] >= 0xDC00 && model.text[right] <= 0xDFFF &&
                                                 model.text[right - 1] >= 0xD800 && model.text[right - 1] <= 0xDBFF) ||
                  right == model.selEnd);
        break;
      }
      case 6:  // the program clears the box (Enter, Esc)
        nested.ClearByProgram();
        flat.ClearByProgram();
        model.text.clear();
        model.selStart = model.selEnd = 0;
        ModelChange(model, enabled, list);
        break;
    }
    State a = nested.Now(), b = flat.Now();
    if (!enabled) model.last = 0;
    TAV_CHECK(a == b);
    TAV_CHECK(a == model);
    TAV_CHECK(0 <= a.selStart && a.selStart <= a.selEnd && a.selEnd <= nested.Len());
    if (!enabled) TAV_CHECK(a.last == 0);
  }
  return 0;
}

}  // namespace tav::fuzz
