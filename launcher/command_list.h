// The command names: every file of texts\, in the list's case-insensitive order of the full
// file names, each less its last four characters.
#pragma once
#include <cstddef>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

namespace tav {

// How names are ordered and matched. The platform supplies its collation; tests inject their own.
struct Collation {
  // A byte string whose ordinal order is the list's order of the names.
  std::function<std::string(std::u16string_view)> sortKey;
  // Case folding unit by unit (same length): two names match ignoring case when their folds are equal.
  std::function<std::u16string(std::u16string_view)> fold;
};

class CommandList {
 public:
  // Rebuilds from scratch from the file names of texts (in whatever order the folder lists them).
  // Names of fewer than four characters cannot be cut and are left out.
  void Build(std::vector<std::u16string> fileNames, const Collation& collation);
  void Clear();

  std::size_t Size() const { return items_.size(); }
  const std::u16string& Item(std::size_t index) const { return items_[index]; }
  const std::vector<std::u16string>& Items() const { return items_; }

  // The first item, in list order, that begins with text ignoring case; -1 when none does or
  // text is empty. Logarithmic in the list's size.
  int FindFirst(std::u16string_view text) const;

 private:
  std::vector<std::u16string> items_;
  std::vector<std::u16string> folded_;  // fold of each item, by list position
  std::vector<int> byFolded_;           // list positions ordered by folded text (ordinal)
  std::vector<int> minTree_;            // smallest list position over ranges of byFolded_
  std::function<std::u16string(std::u16string_view)> fold_;
};

}  // namespace tav
