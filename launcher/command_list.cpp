#include "command_list.h"

#include <algorithm>
#include <string_view>

#include "kana_reading.h"

namespace tav {

namespace {
constexpr std::size_t kCutLength = 4;  // ".txt", or whatever the last four characters are
}

void MinTree::Build(const std::vector<std::int32_t>& values) {
  const std::size_t n = values.size();
  tree_.assign(2 * n, 0);
  std::copy(values.begin(), values.end(), tree_.begin() + static_cast<std::ptrdiff_t>(n));
  for (std::size_t i = n; i-- > 1;) tree_[i] = std::min(tree_[2 * i], tree_[2 * i + 1]);
}

std::int32_t MinTree::Min(std::size_t first, std::size_t last, std::int32_t fallback) const {
  const std::size_t n = tree_.size() / 2;
  std::int32_t best = fallback;
  for (std::size_t l = first + n, r = last + n; l < r; l >>= 1, r >>= 1) {
    if (l & 1) best = std::min(best, tree_[l++]);
    if (r & 1) best = std::min(best, tree_[--r]);
  }
  return best;
}

void CommandList::Clear() {
  items_ = NameTable();
  byFolded_ = {};
  foldedMin_.Clear();
  readings_ = NameTable();
  byReading_ = {};
  readingMin_.Clear();
}

namespace {

// Eight bytes of a key from offset on, big-endian, padded with zeros.
std::uint64_t ByteChunk(std::string_view key, std::size_t offset) {
  std::uint64_t p = 0;
  for (std::size_t i = offset; i < offset + 8; ++i) p = (p << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
  return p;
}

struct Entry {
  std::uint64_t chunk;
  std::int32_t id;
};

// Sorts strings by their elements' order, chunk by chunk from the first: entries are compared
// by one machine word, and only those tied on a chunk look at the next one. chunk(id, offset)
// gives the string's elements from offset, perChunk of them; length(id) its length; tie(a, b)
// orders equal strings.
template <class ChunkOf, class LengthOf, class Tie>
void ChunkSort(Entry* begin, Entry* end, std::size_t offset, std::size_t perChunk, const ChunkOf& chunk,
               const LengthOf& length, const Tie& tie) {
  for (Entry* e = begin; e != end; ++e) e->chunk = chunk(e->id, offset);
  std::sort(begin, end, [](const Entry& a, const Entry& b) { return a.chunk < b.chunk; });
  for (Entry* run = begin; run != end;) {
    Entry* runEnd = run + 1;
    while (runEnd != end && runEnd->chunk == run->chunk) ++runEnd;
    if (runEnd - run > 1) {
      // Tied so far: a string that ends within this chunk is a beginning of the others (their
      // elements there equal its padding), so it goes first, shorter ones before longer.
      const std::size_t next = offset + perChunk;
      Entry* longer = std::partition(run, runEnd, [&](const Entry& e) { return length(e.id) <= next; });
      std::sort(run, longer, [&](const Entry& a, const Entry& b) {
        const std::size_t la = length(a.id), lb = length(b.id);
        return la != lb ? la < lb : tie(a.id, b.id);
      });
      if (runEnd - longer > 1) ChunkSort(longer, runEnd, next, perChunk, chunk, length, tie);
    }
    run = runEnd;
  }
}

}  // namespace

void CommandList::Build(const NameTable& fileNames, const Collation& collation) {
  Clear();
  fold_ = collation.fold;
  foldUnit_ = collation.foldUnit;
  SortItems(fileNames, collation);
  BuildFoldedIndex();
  BuildReadings();
}

void CommandList::SortItems(const NameTable& fileNames, const Collation& collation) {
  // One key per name, all in one buffer, then one sort of positions: the platform's comparison
  // runs n times, not n log n, and the keys cost no heap block each.
  std::vector<Entry> order;
  order.reserve(fileNames.Size());
  std::string keys;
  keys.reserve(fileNames.Chars() * 3);  // about what the platform's keys take: no regrowth, no copies
  std::vector<std::uint32_t> keyEnds(fileNames.Size() + 1, 0);  // key of file i: [keyEnds[i], keyEnds[i + 1])
  std::size_t itemChars = 0;
  for (std::size_t i = 0; i < fileNames.Size(); ++i) {
    const std::u16string_view name = fileNames[i];
    if (name.size() >= kCutLength) {
      if (collation.appendSortKey)
        collation.appendSortKey(name, keys);
      else
        keys += collation.sortKey(name);
      order.push_back({0, static_cast<std::int32_t>(i)});
      itemChars += name.size() - kCutLength;
    }
    keyEnds[i + 1] = static_cast<std::uint32_t>(keys.size());
  }
  auto key = [&](std::int32_t i) {
    const auto u = static_cast<std::size_t>(i);
    return std::string_view(keys).substr(keyEnds[u], keyEnds[u + 1] - keyEnds[u]);
  };
  ChunkSort(
      order.data(), order.data() + order.size(), 0, 8, [&](std::int32_t i, std::size_t at) { return ByteChunk(key(i), at); },
      [&](std::int32_t i) { return key(i).size(); },
      // Names the list holds equal: the one listed later first, as a sorted list control inserts them.
      [](std::int32_t a, std::int32_t b) { return a > b; });
  keys = std::string();
  keyEnds = {};

  items_.Reserve(order.size(), itemChars);
  for (const Entry& e : order) {
    const std::u16string_view name = fileNames[static_cast<std::size_t>(e.id)];
    items_.Add(name.substr(0, name.size() - kCutLength));  // the list keeps its places after the cut
  }
}

void CommandList::BuildFoldedIndex() {
  // Names beginning with a given text (ignoring case) are neighbours in the folded order, whatever
  // the list's collation does; the first of them in list order is the smallest position among them.
  std::vector<Entry> order(items_.Size());
  for (std::size_t i = 0; i < order.size(); ++i) order[i].id = static_cast<std::int32_t>(i);
  ChunkSort(
      order.data(), order.data() + order.size(), 0, 4,
      [&](std::int32_t pos, std::size_t at) {
        const std::u16string_view item = items_[static_cast<std::size_t>(pos)];
        std::uint64_t p = 0;
        for (std::size_t i = at; i < at + 4; ++i) p = (p << 16) | (i < item.size() ? Fold(item[i]) : 0u);
        return p;
      },
      [&](std::int32_t pos) { return items_[static_cast<std::size_t>(pos)].size(); },
      [](std::int32_t a, std::int32_t b) { return a < b; });
  byFolded_.resize(order.size());
  for (std::size_t i = 0; i < order.size(); ++i) byFolded_[i] = order[i].id;
  foldedMin_.Build(byFolded_);
}

void CommandList::BuildReadings() {
  std::vector<std::pair<std::u16string, std::int32_t>> kana;
  for (std::size_t i = 0; i < items_.Size(); ++i)
    if (HasKana(items_[i])) kana.emplace_back(NameReading(items_[i]), static_cast<std::int32_t>(i));
  if (kana.empty()) return;
  std::sort(kana.begin(), kana.end());
  std::size_t chars = 0;
  for (const auto& k : kana) chars += k.first.size();
  readings_.Reserve(kana.size(), chars);
  byReading_.reserve(kana.size());
  for (const auto& k : kana) {
    readings_.Add(k.first);
    byReading_.push_back(k.second);
  }
  readingMin_.Build(byReading_);
}

int CommandList::CompareFolded(std::u16string_view item, std::u16string_view key, std::size_t limit) const {
  const std::size_t n = std::min(item.size(), limit);
  for (std::size_t i = 0; i < n && i < key.size(); ++i) {
    const char16_t a = Fold(item[i]), b = key[i];
    if (a != b) return a < b ? -1 : 1;
  }
  const std::size_t common = std::min(n, key.size());
  return n == key.size() ? 0 : (common == n ? -1 : 1);
}

std::pair<std::size_t, std::size_t> CommandList::FoldedRange(std::u16string_view text) const {
  if (text.empty() || items_.Size() == 0) return {0, 0};
  std::u16string key(text);
  for (char16_t& c : key) c = Fold(c);
  auto item = [&](std::int32_t pos) { return items_[static_cast<std::size_t>(pos)]; };
  auto lo = std::lower_bound(byFolded_.begin(), byFolded_.end(), 0, [&](std::int32_t pos, int) {
    return CompareFolded(item(pos), key, item(pos).size()) < 0;
  });
  auto hi = std::partition_point(lo, byFolded_.end(),
                                 [&](std::int32_t pos) { return CompareFolded(item(pos), key, key.size()) == 0; });
  return {static_cast<std::size_t>(lo - byFolded_.begin()), static_cast<std::size_t>(hi - byFolded_.begin())};
}

std::pair<std::size_t, std::size_t> CommandList::ReadingRange(std::u16string_view reading) const {
  if (reading.empty()) return {0, 0};
  std::size_t lo = 0, hi = readings_.Size();
  while (lo < hi) {  // the first reading not less than reading
    const std::size_t mid = (lo + hi) / 2;
    if (readings_[mid] < reading) lo = mid + 1; else hi = mid;
  }
  std::size_t end = lo;
  hi = readings_.Size();
  while (end < hi) {  // past the last reading that begins with it
    const std::size_t mid = (end + hi) / 2;
    if (readings_[mid].substr(0, reading.size()) == reading) end = mid + 1; else hi = mid;
  }
  return {lo, end};
}

int CommandList::FindFirst(std::u16string_view text) const {
  const auto [lo, hi] = FoldedRange(text);
  const int n = static_cast<int>(items_.Size());
  const int best = foldedMin_.Min(lo, hi, n);
  return best == n ? -1 : best;
}

int CommandList::FindFirstByReading(std::u16string_view reading) const {
  const auto [lo, hi] = ReadingRange(reading);
  const int n = static_cast<int>(items_.Size());
  const int best = readingMin_.Min(lo, hi, n);
  return best == n ? -1 : best;
}

std::vector<int> CommandList::Matches(std::u16string_view text, std::u16string_view reading) const {
  std::vector<int> found;
  const auto [lo, hi] = FoldedRange(text);
  found.insert(found.end(), byFolded_.begin() + static_cast<std::ptrdiff_t>(lo),
               byFolded_.begin() + static_cast<std::ptrdiff_t>(hi));
  const auto [rlo, rhi] = ReadingRange(reading);
  found.insert(found.end(), byReading_.begin() + static_cast<std::ptrdiff_t>(rlo),
               byReading_.begin() + static_cast<std::ptrdiff_t>(rhi));
  std::sort(found.begin(), found.end());
  found.erase(std::unique(found.begin(), found.end()), found.end());
  return found;
}

bool CommandList::Contains(std::u16string_view name) const {
  std::u16string key(name);
  for (char16_t& c : key) c = Fold(c);
  auto item = [&](std::int32_t pos) { return items_[static_cast<std::size_t>(pos)]; };
  auto at = std::lower_bound(byFolded_.begin(), byFolded_.end(), 0, [&](std::int32_t pos, int) {
    return CompareFolded(item(pos), key, item(pos).size()) < 0;
  });
  return at != byFolded_.end() && item(*at).size() == key.size() && CompareFolded(item(*at), key, key.size()) == 0;
}

}  // namespace tav
