// When changes seen in texts\ rebuild the command list: a burst of changes (a folder copied in, a
// synchronisation, a program saving through temporary names) gathers into one rebuild once the
// folder has been quiet for a moment; a stream of changes that never quiets still rebuilds now and
// then; and never while the window is shown, so typing never waits for a rebuild. A watch that
// was lost (a network drive dropped, a removable drive re-plugged) is tried again at the next hide
// and now and then while it is missing; nothing is tried while nothing is missing.
#pragma once
#include <cstdint>

namespace tav {

class RebuildSchedule {
 public:
  static constexpr std::int64_t kForever = -1;
  static constexpr std::int64_t kQuietMs = 200;     // the folder quiet this long: rebuild
  static constexpr std::int64_t kLongestMs = 2000;  // changes never wait longer than this (while hidden)
  static constexpr std::int64_t kRetryMs = 10000;   // a lost watch is tried again this often

  RebuildSchedule() = default;
  RebuildSchedule(std::int64_t quietMs, std::int64_t longestMs) : quietMs_(quietMs), longestMs_(longestMs) {}

  // A change was seen at nowMs (milliseconds of a steady clock).
  void Changed(std::int64_t nowMs);
  // Milliseconds until the rebuild is due: 0 to rebuild now, kForever when nothing is to be done
  // until another change is seen or the window hides.
  std::int64_t MsUntilRebuild(std::int64_t nowMs, bool windowShown) const;
  // The list has been rebuilt from the folder as it stands: the changes seen so far are in it.
  void Rebuilt() { pending_ = false; }
  bool Pending() const { return pending_; }

  // The watch was lost at nowMs, or is whole again (then the list is rebuilt: a change may have
  // come and gone unseen meanwhile).
  void WatchLost(std::int64_t nowMs);
  void WatchBack(std::int64_t nowMs);
  // Asked on every turn of the loop: whether to try to open the lost watch now (the window has
  // just hidden, or kRetryMs have passed since the last try).
  bool RetryDue(std::int64_t nowMs, bool windowShown);
  // Milliseconds until the next try; kForever while nothing is lost.
  std::int64_t MsUntilRetry(std::int64_t nowMs) const;

 private:
  std::int64_t quietMs_ = kQuietMs, longestMs_ = kLongestMs;
  bool pending_ = false;
  std::int64_t first_ = 0, last_ = 0;  // the first and the latest change not yet in the list
  bool lost_ = false, wasShown_ = false;
  std::int64_t lastTry_ = 0;
};

}  // namespace tav
