#include "command_list.h"

#include <algorithm>
#include <string_view>

namespace tav {

namespace {
constexpr std::size_t kCutLength = 4;  // ".txt", or whatever the last four characters are
}

void CommandList::Clear() {
  items_ = NameTable();
  folded_ = NameTable();
  byFolded_ = {};
  minTree_ = {};
}

void CommandList::Build(const std::vector<std::u16string>& fileNames, const Collation& collation) {
  NameTable table;
  for (const auto& n : fileNames) table.Add(n);
  Build(table, collation);
}

namespace {

// The first eight bytes of a key, big-endian and padded with zeros: when two of them differ, they
// order as the whole keys do, so most comparisons of a sort never touch the keys themselves.
std::uint64_t BytePrefix(std::string_view key) {
  std::uint64_t p = 0;
  for (std::size_t i = 0; i < 8; ++i) p = (p << 8) | (i < key.size() ? static_cast<unsigned char>(key[i]) : 0u);
  return p;
}

// The same for the first four units of a text (ordinal order of the units).
std::uint64_t UnitPrefix(std::u16string_view text) {
  std::uint64_t p = 0;
  for (std::size_t i = 0; i < 4; ++i) p = (p << 16) | (i < text.size() ? static_cast<std::uint64_t>(text[i]) : 0u);
  return p;
}

}  // namespace

void CommandList::Build(const NameTable& fileNames, const Collation& collation) {
  Clear();
  fold_ = collation.fold;

  // One key per name, all in one buffer, then one sort of positions: the platform's comparison
  // runs n times, not n log n, and the keys cost no heap block each.
  struct Keyed {
    std::uint64_t prefix;
    std::uint32_t begin, end;  // of the key in keys
    std::int32_t file;
  };
  std::vector<Keyed> order;
  order.reserve(fileNames.Size());
  std::string keys;
  std::size_t itemChars = 0;
  for (std::size_t i = 0; i < fileNames.Size(); ++i) {
    const std::u16string_view name = fileNames[i];
    if (name.size() < kCutLength) continue;
    const std::size_t begin = keys.size();
    if (collation.appendSortKey)
      collation.appendSortKey(name, keys);
    else
      keys += collation.sortKey(name);
    order.push_back({0, static_cast<std::uint32_t>(begin), static_cast<std::uint32_t>(keys.size()),
                     static_cast<std::int32_t>(i)});
    itemChars += name.size() - kCutLength;
  }
  auto key = [&](const Keyed& k) { return std::string_view(keys).substr(k.begin, k.end - k.begin); };
  for (Keyed& k : order) k.prefix = BytePrefix(key(k));  // keys no longer moves
  std::sort(order.begin(), order.end(), [&](const Keyed& a, const Keyed& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    const int c = key(a).compare(key(b));
    if (c != 0) return c < 0;
    // Names the list holds equal: the one listed later first, as a sorted list control inserts them.
    return a.file > b.file;
  });
  keys = std::string();

  items_.Reserve(order.size(), itemChars);
  for (const Keyed& k : order) {
    const std::u16string_view name = fileNames[static_cast<std::size_t>(k.file)];
    items_.Add(name.substr(0, name.size() - kCutLength));  // the list keeps its places after the cut
  }
  order = {};

  // Names beginning with a given text (ignoring case) are neighbours in the folded order, whatever
  // the list's collation does; the first of them in list order is the smallest position among them.
  const int n = static_cast<int>(items_.Size());
  folded_.Reserve(items_.Size(), items_.Chars());
  for (std::size_t i = 0; i < items_.Size(); ++i) {
    if (collation.foldUnit)
      folded_.AddMapped(items_[i], collation.foldUnit);
    else
      folded_.Add(fold_(items_[i]));
  }
  struct Folded {
    std::uint64_t prefix;
    std::int32_t pos;
  };
  std::vector<Folded> byFolded(items_.Size());
  for (std::size_t i = 0; i < byFolded.size(); ++i)
    byFolded[i] = {UnitPrefix(folded_[i]), static_cast<std::int32_t>(i)};
  std::sort(byFolded.begin(), byFolded.end(), [&](const Folded& a, const Folded& b) {
    if (a.prefix != b.prefix) return a.prefix < b.prefix;
    const int c = folded_[static_cast<std::size_t>(a.pos)].compare(folded_[static_cast<std::size_t>(b.pos)]);
    if (c != 0) return c < 0;
    return a.pos < b.pos;
  });
  byFolded_.resize(byFolded.size());
  for (std::size_t i = 0; i < byFolded.size(); ++i) byFolded_[i] = byFolded[i].pos;
  byFolded = {};
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

int CommandList::FindFirst(std::u16string_view text) const {
  if (text.empty() || items_.Size() == 0) return -1;
  const std::u16string key = fold_(text);
  const std::u16string_view k(key);
  auto folded = [&](std::int32_t pos) { return folded_[static_cast<std::size_t>(pos)]; };
  auto lo = std::lower_bound(byFolded_.begin(), byFolded_.end(), k,
                             [&](std::int32_t pos, std::u16string_view t) { return folded(pos) < t; });
  auto hi = std::partition_point(lo, byFolded_.end(), [&](std::int32_t pos) { return folded(pos).substr(0, k.size()) == k; });
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

}  // namespace tav
