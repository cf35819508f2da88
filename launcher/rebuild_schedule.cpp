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

void RebuildSchedule::WatchLost(std::int64_t nowMs) {
  if (lost_) return;
  lost_ = true;
  lastTry_ = nowMs;
}

void RebuildSchedule::WatchBack(std::int64_t nowMs) {
  if (!lost_) return;
  lost_ = false;
  Changed(nowMs);
}

bool RebuildSchedule::RetryDue(std::int64_t nowMs, bool windowShown) {
  const bool hidden = wasShown_ && !windowShown;
  wasShown_ = windowShown;
  if (!lost_ || !(hidden || nowMs >= lastTry_ + kRetryMs)) return false;
  lastTry_ = nowMs;
  return true;
}

std::int64_t RebuildSchedule::MsUntilRetry(std::int64_t nowMs) const {
  return lost_ ? std::max<std::int64_t>(0, lastTry_ + kRetryMs - nowMs) : kForever;
}

}  // namespace tav
