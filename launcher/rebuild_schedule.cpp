#include "rebuild_schedule.h"

#include <algorithm>

namespace tav {

void RebuildSchedule::Changed(std::int64_t nowMs) {
  if (!pending_) first_ = nowMs;
  pending_ = true;
  last_ = nowMs;
}

std::int64_t RebuildSchedule::MsUntilRebuild(std::int64_t nowMs, bool windowShown) const {
  // Shown: the hide happens in a message, after which the caller asks again.
  if (!pending_ || windowShown) return kForever;
  const std::int64_t due = std::min(last_ + quietMs_, first_ + longestMs_);
  return std::max<std::int64_t>(0, due - nowMs);
}

}  // namespace tav
