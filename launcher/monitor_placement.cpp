#include "monitor_placement.h"

#include <algorithm>
#include <cstdint>

namespace tav {

namespace {

std::int64_t Overlap(const ScreenRect& a, const ScreenRect& b) {
  const std::int64_t w = std::min(a.right, b.right) - std::max(a.left, b.left);
  const std::int64_t h = std::min(a.bottom, b.bottom) - std::max(a.top, b.top);
  return w > 0 && h > 0 ? w * h : 0;
}

// Squared distance from a rectangle to a point (0 inside).
std::int64_t DistanceSquared(const ScreenRect& r, ScreenPoint p) {
  const std::int64_t dx = p.x < r.left ? r.left - p.x : p.x >= r.right ? p.x - r.right + 1 : 0;
  const std::int64_t dy = p.y < r.top ? r.top - p.y : p.y >= r.bottom ? p.y - r.bottom + 1 : 0;
  return dx * dx + dy * dy;
}

// The first of the best: ties go to the monitor listed first.
template <class Score>
std::size_t Best(const std::vector<MonitorArea>& monitors, Score score) {
  std::size_t best = 0;
  for (std::size_t i = 1; i < monitors.size(); ++i)
    if (score(monitors[i]) > score(monitors[best])) best = i;
  return best;
}

std::size_t ChooseMonitor(const std::vector<MonitorArea>& monitors, const std::optional<ScreenRect>& foreground,
                          ScreenPoint pointer) {
  if (foreground) {
    const std::size_t most = Best(monitors, [&](const MonitorArea& m) { return Overlap(m.monitor, *foreground); });
    if (Overlap(monitors[most].monitor, *foreground) > 0) return most;
  }
  return Best(monitors, [&](const MonitorArea& m) { return -DistanceSquared(m.monitor, pointer); });
}

// Centred on [low, high) of the monitor, then kept inside [workLow, workHigh).
int Place(int low, int high, int workLow, int workHigh, int size) {
  const int centred = static_cast<int>((std::int64_t{low} + high - size) / 2);
  return std::max(workLow, std::min(centred, workHigh - size));
}

}  // namespace

int FormPixels(int twips, unsigned dpi) {
  const std::int64_t product = std::int64_t{twips} * dpi;
  return static_cast<int>((product + 720) / 1440);
}

std::optional<SummonPlace> ChooseSummonPlace(const std::vector<MonitorArea>& monitors,
                                             const std::optional<ScreenRect>& foreground, ScreenPoint pointer) {
  if (monitors.empty()) return std::nullopt;
  SummonPlace place;
  place.monitor = ChooseMonitor(monitors, foreground, pointer);
  const MonitorArea& m = monitors[place.monitor];
  place.dpi = m.dpi ? m.dpi : 96;
  const int width = FormPixels(3600, place.dpi), height = FormPixels(960, place.dpi);
  place.window.left = Place(m.monitor.left, m.monitor.right, m.work.left, m.work.right, width);
  place.window.top = Place(m.monitor.top, m.monitor.bottom, m.work.top, m.work.bottom, height);
  place.window.right = place.window.left + width;
  place.window.bottom = place.window.top + height;
  return place;
}

}  // namespace tav
