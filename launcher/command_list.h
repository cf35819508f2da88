// The command names: every file of texts\, in the list's case-insensitive order of the full
// file names, each less its last four characters.
#pragma once
#include <cstddef>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

namespace tav {

// How names are ordered and matched. The platform supplies its collation; tests inject their own.
struct Collation {
  // A byte string whose ordinal order is the list's order of the names.
  std::function<std::string(std::u16string_view)> sortKey;
  // Case folding unit by unit (same length): two names match ignoring case when their folds are equal.
  std::function<std::u16string(std::u16string_view)> fold;
  // Optional, faster: appends the sort key of a name to out, for a key per name without an
  // allocation each. When empty, sortKey is used.
  std::function<void(std::u16string_view, std::string& out)> appendSortKey = {};
  // Optional, faster: the fold of one unit (fold must agree with it). The list folds its names
  // as it compares them, so it keeps no folded copy.
  char16_t (*foldUnit)(char16_t) = nullptr;
};

// Names back to back in one buffer: a resident list of many names costs its characters and an
// offset each, not a string object and a heap block each.
class NameTable {
 public:
  void Clear() {
    chars_.clear();
    ends_.clear();
  }
  void Reserve(std::size_t names, std::size_t chars) {
    ends_.reserve(names);
    chars_.reserve(chars);
  }
  void Add(std::u16string_view name) {
    chars_.append(name);
    ends_.push_back(static_cast<std::uint32_t>(chars_.size()));
  }
  std::size_t Size() const { return ends_.size(); }
  std::size_t Chars() const { return chars_.size(); }
  std::u16string_view operator[](std::size_t i) const {
    const std::uint32_t begin = i ? ends_[i - 1] : 0;
    return std::u16string_view(chars_).substr(begin, ends_[i] - begin);
  }
  std::size_t MemoryUse() const { return chars_.capacity() * sizeof(char16_t) + ends_.capacity() * sizeof(std::uint32_t); }

 private:
  std::u16string chars_;
  std::vector<std::uint32_t> ends_;
};

// The smallest value over ranges of a fixed sequence, in logarithmic time.
class MinTree {
 public:
  void Build(const std::vector<std::int32_t>& values);
  void Clear() { tree_ = {}; }
  // The smallest of values[first, last); fallback when the range is empty.
  std::int32_t Min(std::size_t first, std::size_t last, std::int32_t fallback) const;
  std::size_t MemoryUse() const { return tree_.capacity() * sizeof(std::int32_t); }

 private:
  std::vector<std::int32_t> tree_;
};

class CommandList {
 public:
  // Rebuilds from scratch from the file names of texts (in whatever order the folder lists them).
  // Names of fewer than four characters cannot be cut and are left out.
  void Build(const NameTable& fileNames, const Collation& collation);
  void Clear();

  std::size_t Size() const { return items_.Size(); }
  std::u16string_view Item(std::size_t index) const { return items_[index]; }
  // Bytes the list holds on to (its buffers' capacity).
  std::size_t MemoryUse() const {
    return items_.MemoryUse() + readings_.MemoryUse() +
           (byFolded_.capacity() + byReading_.capacity()) * sizeof(std::int32_t) + foldedMin_.MemoryUse() +
           readingMin_.MemoryUse();
  }

  // The first item, in list order, that begins with text ignoring case; -1 when none does or
  // text is empty. Logarithmic in the list's size.
  int FindFirst(std::u16string_view text) const;
  // The first item, in list order, whose reading (kana_reading.h) begins with reading; -1 when none.
  int FindFirstByReading(std::u16string_view reading) const;
  // Every item that begins with text or whose reading begins with reading (when given), in list order.
  std::vector<int> Matches(std::u16string_view text, std::u16string_view reading) const;
  // Whether name is an item, ignoring case as file names do.
  bool Contains(std::u16string_view name) const;

 private:
  NameTable items_;                     // in list order
  std::vector<std::int32_t> byFolded_;  // list positions ordered by folded text (ordinal)
  MinTree foldedMin_;                   // over byFolded_
  // Only names holding kana have a reading: a list without kana costs nothing more.
  NameTable readings_;                   // in byReading_'s order
  std::vector<std::int32_t> byReading_;  // list positions of those names, ordered by reading
  MinTree readingMin_;                   // over byReading_
  void SortItems(const NameTable& fileNames, const Collation& collation);  // items_ in list order
  void BuildFoldedIndex();
  void BuildReadings();
  // byFolded_'s range of the items beginning with text ignoring case.
  std::pair<std::size_t, std::size_t> FoldedRange(std::u16string_view text) const;
  std::pair<std::size_t, std::size_t> ReadingRange(std::u16string_view reading) const;
  char16_t Fold(char16_t c) const { return foldUnit_ ? foldUnit_(c) : fold_(std::u16string_view(&c, 1))[0]; }
  // Compares the fold of item, at most its first limit units, with key (already folded).
  int CompareFolded(std::u16string_view item, std::u16string_view key, std::size_t limit) const;

  std::function<std::u16string(std::u16string_view)> fold_;
  char16_t (*foldUnit_)(char16_t) = nullptr;
};

}  // namespace tav
