#include "command_list.h"

#include <algorithm>
#include <numeric>

namespace tav {

namespace {
constexpr std::size_t kCutLength = 4;  // ".txt", or whatever the last four characters are
}

void CommandList::Clear() {
  items_.clear();
  folded_.clear();
  byFolded_.clear();
  minTree_.clear();
}

void CommandList::Build(std::vector<std::u16string> fileNames, const Collation& collation) {
  Clear();
  fold_ = collation.fold;
  fileNames.erase(std::remove_if(fileNames.begin(), fileNames.end(),
                                 [](const std::u16string& n) { return n.size() < kCutLength; }),
                  fileNames.end());

  // One key per name, then one sort: the platform's comparison runs n times, not n log n.
  struct Entry {
    std::string key;
    std::u16string name;
    std::size_t listed;
  };
  std::vector<Entry> entries;
  entries.reserve(fileNames.size());
  for (auto& n : fileNames) entries.push_back({collation.sortKey(n), std::move(n), entries.size()});
  std::sort(entries.begin(), entries.end(), [](const Entry& a, const Entry& b) {
    if (a.key != b.key) return a.key < b.key;
    // Names the list holds equal: the one listed later first, as a sorted list control inserts them.
    return a.listed > b.listed;
  });

  items_.reserve(entries.size());
  for (auto& e : entries) {
    e.name.resize(e.name.size() - kCutLength);  // the list keeps its places after the cut
    items_.push_back(std::move(e.name));
  }

  // Names beginning with a given text (ignoring case) are neighbours in the folded order, whatever
  // the list's collation does; the first of them in list order is the smallest position among them.
  const int n = static_cast<int>(items_.size());
  folded_.reserve(items_.size());
  for (const auto& item : items_) folded_.push_back(fold_(item));
  byFolded_.resize(items_.size());
  std::iota(byFolded_.begin(), byFolded_.end(), 0);
  std::sort(byFolded_.begin(), byFolded_.end(), [&](int a, int b) {
    if (folded_[a] != folded_[b]) return folded_[a] < folded_[b];
    return a < b;
  });
  minTree_.assign(static_cast<std::size_t>(2 * n), 0);
  for (int i = 0; i < n; ++i) minTree_[n + i] = byFolded_[i];
  for (int i = n - 1; i > 0; --i) minTree_[i] = std::min(minTree_[2 * i], minTree_[2 * i + 1]);
}

int CommandList::FindFirst(std::u16string_view text) const {
  if (text.empty() || items_.empty()) return -1;
  const std::u16string key = fold_(text);
  auto lo = std::lower_bound(byFolded_.begin(), byFolded_.end(), key,
                             [&](int pos, const std::u16string& k) { return folded_[pos] < k; });
  auto hi = std::partition_point(lo, byFolded_.end(), [&](int pos) {
    return std::u16string_view(folded_[pos]).substr(0, key.size()) == key;
  });
  if (lo == hi) return -1;
  const int n = static_cast<int>(items_.size());
  int l = static_cast<int>(lo - byFolded_.begin()) + n, r = static_cast<int>(hi - byFolded_.begin()) + n;
  int best = n;
  for (; l < r; l >>= 1, r >>= 1) {
    if (l & 1) best = std::min(best, minTree_[l++]);
    if (r & 1) best = std::min(best, minTree_[--r]);
  }
  return best;
}

}  // namespace tav
