// Where the launcher's window goes when it is called up: centred on the monitor the user works
// on, at that monitor's scale, inside its work area.
#pragma once
#include <cstddef>
#include <optional>
#include <vector>

namespace tav {

struct ScreenRect {
  int left = 0, top = 0, right = 0, bottom = 0;
  friend bool operator==(const ScreenRect&, const ScreenRect&) = default;
};

struct ScreenPoint {
  int x = 0, y = 0;
};

struct MonitorArea {
  ScreenRect monitor;  // the whole monitor, in virtual-screen pixels (may be negative)
  ScreenRect work;     // without the taskbar and docked bars
  unsigned dpi = 96;
};

struct SummonPlace {
  std::size_t monitor = 0;  // index into the monitors given
  unsigned dpi = 96;
  ScreenRect window;
};

// The window's size at a scale: 3600 x 960 twips, rounded as the platform's MulDiv rounds.
int FormPixels(int twips, unsigned dpi);

// The monitor of the foreground window (the one it overlaps most), or, with no foreground window
// or one on no monitor (left where a removed monitor was), the one under the pointer, else the
// one nearest to it. The window is centred on that monitor and then
// moved inside its work area (its top-left corner kept inside when the area is smaller than the
// window). Nothing when there is no monitor.
std::optional<SummonPlace> ChooseSummonPlace(const std::vector<MonitorArea>& monitors,
                                             const std::optional<ScreenRect>& foreground, ScreenPoint pointer);

}  // namespace tav
