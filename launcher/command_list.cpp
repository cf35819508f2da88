#include "command_list.h"

#include <algorithm>
#include <string_view>

namespace tav {

namespace {
constexpr std::size_t kCutLength = 4;  // ".txt", or whatever the last four characters are
}

void CommandList::Clear() {
  items_ = NameTable();
  byFolded_ = {};
  minTree_ = {};
}

void CommandList::Build(const std::vector<std::u16string>& fileNames, const Collation& collation) {
  NameTable table;
  for (const auto& n : fileNames) table.Add(n);
  Build(table, collation);
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

  // Names beginning with a given text (ignoring case) are neighbours in the folded order, whatever
  // the list's collation does; the first of them in list order is the smallest position among them.
  const int n = static_cast<int>(items_.Size());
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
  order = {};
  minTree_.assign(static_cast<std::size_t>(2 * n), 0);
  for (int i = 0; i < n; ++i) minTree_[static_cast<std::size_t>(n + i)] = byFolded_[static_cast<std::size_t>(i)];
  for (int i = n - 1; i > 0; --i)
    minTree_[static_cast<std::size_t>(i)] =
        std::min(minTree_[static_cast<std::size_t>(2 * i)], minTree_[static_cast<std::size_t>(2 * i + 1)]);
}

std::vector<std::u16string> CommandList::Items() const {
  std::vector<std::u16string> out;
  out.reserve(items_.Size());
  for (std::size_t i = 0; i < items_.Size(); ++i) out.emplace_back(items_[i]);
  return out;
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

int CommandList::FindFirst(std::u16string_view text) const {
  if (text.empty() || items_.Size() == 0) return -1;
  std::u16string key(text);
  for (char16_t& c : key) c = Fold(c);
  auto item = [&](std::int32_t pos) { return items_[static_cast<std::size_t>(pos)]; };
  auto lo = std::lower_bound(byFolded_.begin(), byFolded_.end(), 0, [&](std::int32_t pos, int) {
    return CompareFolded(item(pos), key, item(pos).size()) < 0;
  });
  auto hi = std::partition_point(lo, byFolded_.end(),
                                 [&](std::int32_t pos) { return CompareFolded(item(pos), key, key.size()) == 0; });
  if (lo == hi) return -1;
  const int n = static_cast<int>(items_.Size());
  int l = static_cast<int>(lo - byFolded_.begin()) + n, r = static_cast<int>(hi - byFolded_.begin()) + n;
  int best = n;
  for (; l < r; l >>= 1, r >>= 1) {
    if (l & 1) best = std::min(best, minTree_[static_cast<std::size_t>(l++)]);
    if (r & 1) best = std::min(best, minTree_[static_cast<std::size_t>(--r)]);
  }
  return best;
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
