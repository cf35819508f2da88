// When changes seen in texts\ rebuild the command list: a burst of changes (a folder copied in, a
// synchronisation, a program saving through temporary names) gathers into one rebuild once the
// folder has been quiet for a moment; a stream of changes that never quiets still rebuilds now and
// then; and never while the window is shown, so typing never waits for a rebuild.
#pragma once
#include <cstdint>

namespace tav {

class RebuildSchedule {
 public:
  static constexpr std::int64_t kForever = -1;
  static constexpr std::int64_t kQuietMs = 200;     // the folder quiet this long: rebuild
  static constexpr std::int64_t kLongestMs = 2000;  // changes never wait longer than this (while hidden)

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

 private:
  std::int64_t quietMs_ = kQuietMs, longestMs_ = kLongestMs;
  bool pending_ = false;
  std::int64_t first_ = 0, last_ = 0;  // the first and the latest change not yet in the list
};

}  // namespace tav
