#include "session_history.h"

namespace tav {

void SessionHistory::Add(const std::u16string& line) {
  if (!line.empty() && (lines_.empty() || lines_.back() != line)) {
    if (lines_.size() == kMaxLines) lines_.erase(lines_.begin());
    lines_.push_back(line);
  }
  Rewind();
}

std::optional<std::u16string> SessionHistory::Older() {
  if (shown_ == 0) return std::nullopt;
  return lines_[--shown_];
}

std::optional<std::u16string> SessionHistory::Newer() {
  if (shown_ >= lines_.size()) return std::nullopt;
  return ++shown_ == lines_.size() ? std::u16string() : lines_[shown_];
}

}  // namespace tav
