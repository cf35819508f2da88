// Micro-benchmarks of the portable code on the launcher's hot paths: one keystroke through the
// change handler, one search, and the list build. Native; the platform's collation is replaced by
// an ASCII-folding one of the same shape (a byte key per name, a fold per unit).
#include <benchmark/benchmark.h>

#include <random>
#include <string>
#include <vector>

#include "command_list.h"
#include "completion.h"

namespace {

std::u16string Fold(std::u16string_view s) {
  std::u16string f(s);
  for (auto& c : f)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return f;
}

char16_t FoldUnit(char16_t c) { return c >= u'A' && c <= u'Z' ? static_cast<char16_t>(c - u'A' + u'a') : c; }

// Shaped like the platform's: keys appended to one buffer, the fold made unit by unit.
tav::Collation Ascii() {
  tav::Collation c;
  c.appendSortKey = [](std::u16string_view s, std::string& k) {
    for (char16_t u : s) {
      u = FoldUnit(u);
      k.push_back(static_cast<char>(u >> 8));
      k.push_back(static_cast<char>(u & 0xFF));
    }
  };
  c.sortKey = [append = c.appendSortKey](std::u16string_view s) {
    std::string k;
    append(s, k);
    return k;
  };
  c.fold = Fold;
  c.foldUnit = FoldUnit;
  return c;
}

// File names like the benchmark folders' (bench/make_texts.py).
tav::NameTable Files(std::size_t count) {
  const std::vector<std::u16string> parts = {u"calc", u"Calendar", u"memo", u"Mail", u"web", u"Search", u"note",
                                             u"メモ", u"計算", u"ブラウザ", u"drive", u"Photo", u"ｆｕｌｌ", u"x"};
  std::mt19937 rng(12345);
  tav::NameTable names;
  for (std::size_t i = 0; i < count; ++i) {
    std::u16string n = parts[rng() % parts.size()];
    if (rng() % 2) n += (rng() % 3 ? u"-" : u" ") + parts[rng() % parts.size()];
    for (char c : std::to_string(i)) n.push_back(static_cast<char16_t>(c));
    names.Add(n + u".txt");
  }
  return names;
}

// The box as the change handler sees it, without a window.
class Box final : public tav::EditBox {
 public:
  std::u16string Text() const override { return text; }
  int SelStart() const override { return selStart; }
  void SetText(const std::u16string& t) override {
    text = t;
    selStart = 0;
  }
  void SetSelection(int start, int) override { selStart = start; }
  std::u16string text;
  int selStart = 0;
};

void BM_ListBuild(benchmark::State& state) {
  const auto files = Files(static_cast<std::size_t>(state.range(0)));
  const tav::Collation c = Ascii();
  std::size_t bytes = 0;
  for (auto _ : state) {
    tav::CommandList list;
    list.Build(files, c);
    benchmark::DoNotOptimize(list.Size());
    bytes = list.MemoryUse();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  state.counters["list_bytes_per_name"] = static_cast<double>(bytes) / static_cast<double>(state.range(0));
}
BENCHMARK(BM_ListBuild)->Arg(1000)->Arg(10000)->Arg(100000)->Unit(benchmark::kMillisecond);

void BM_FindFirst(benchmark::State& state) {
  tav::CommandList list;
  list.Build(Files(static_cast<std::size_t>(state.range(0))), Ascii());
  const std::u16string queries[] = {u"c", u"cal", u"Calendar-", u"メモ", u"ｆｕ", u"zzz"};
  std::size_t i = 0;
  for (auto _ : state) benchmark::DoNotOptimize(list.FindFirst(queries[i++ % std::size(queries)]));
}
BENCHMARK(BM_FindFirst)->Arg(1000)->Arg(100000);

// One typed character through the change handler: the box's text read, searched, completed.
void BM_Keystroke(benchmark::State& state) {
  tav::CommandList list;
  list.Build(Files(static_cast<std::size_t>(state.range(0))), Ascii());
  const std::u16string typed = u"calendar-mai";
  std::size_t k = 0;
  tav::Completion completion(1);
  Box box;
  for (auto _ : state) {
    if (k == typed.size()) {
      k = 0;
      box.SetText(u"");
      completion.Text1_Change(box, list);
    }
    box.text = box.text.substr(0, static_cast<std::size_t>(box.selStart)) + typed[k++];
    box.selStart = static_cast<int>(k);
    completion.Text1_Change(box, list);
    benchmark::DoNotOptimize(box.text.data());
  }
}
BENCHMARK(BM_Keystroke)->Arg(100000);

}  // namespace

BENCHMARK_MAIN();
