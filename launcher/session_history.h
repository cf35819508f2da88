// The lines run in this launcher's life, for Up and Down in the box. Kept in memory only: nothing
// is written anywhere, and a restart begins with none.
#pragma once
#include <cstddef>
#include <optional>
#include <string>
#include <vector>

namespace tav {

class SessionHistory {
 public:
  static constexpr std::size_t kMaxLines = 100;

  // A line just run (name and argument as the box held them); browsing starts again from the newest.
  void Add(const std::u16string& line);
  // Browsing starts again from the newest (a new summon).
  void Rewind() { shown_ = lines_.size(); }
  // Up: the line before the one shown, the newest first; nothing past the oldest.
  std::optional<std::u16string> Older();
  // Down: the next newer line; past the newest an empty box; nothing when not browsing.
  std::optional<std::u16string> Newer();

 private:
  std::vector<std::u16string> lines_;  // oldest first
  std::size_t shown_ = 0;              // lines_.size(): none shown
};

}  // namespace tav
