#include "monitor_placement.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

namespace tav {
namespace {

constexpr ScreenRect kPrimary{0, 0, 1920, 1080};
constexpr ScreenRect kPrimaryWork{0, 0, 1920, 1040};  // taskbar at the bottom

TEST(MonitorPlacement, CentresOnTheMonitorInUseAtItsScaleInsideItsWorkArea) {
  struct Case {
    const char* what;
    std::vector<MonitorArea> monitors;
    std::optional<ScreenRect> foreground;
    ScreenPoint pointer;
    std::size_t monitor;
    unsigned dpi;
    ScreenRect window;
  } cases[] = {
      {"one monitor, pointer decides", {{kPrimary, kPrimaryWork, 96}}, std::nullopt, {100, 100}, 0, 96,
       {840, 508, 1080, 572}},
      {"side by side, foreground on the second at 150 %",
       {{kPrimary, kPrimaryWork, 96}, {{1920, 0, 4480, 1440}, {1920, 0, 4480, 1400}, 144}},
       ScreenRect{2000, 100, 2600, 700}, {10, 10}, 1, 144, {3020, 672, 3380, 768}},
      {"side by side, foreground across both but mostly on the first",
       {{kPrimary, kPrimaryWork, 96}, {{1920, 0, 4480, 1440}, {1920, 0, 4480, 1400}, 144}},
       ScreenRect{1000, 100, 2000, 700}, {3000, 10}, 0, 96, {840, 508, 1080, 572}},
      {"equal share of two: the first listed (the primary)",
       {{kPrimary, kPrimaryWork, 96}, {{1920, 0, 3840, 1080}, {1920, 0, 3840, 1080}, 96}},
       ScreenRect{1820, 0, 2020, 100}, {3000, 10}, 0, 96, {840, 508, 1080, 572}},
      {"stacked, the pointer on the upper one at 125 %",
       {{kPrimary, kPrimaryWork, 96}, {{0, -1200, 1920, 0}, {0, -1200, 1920, 0}, 120}}, std::nullopt, {500, -600},
       1, 120, {810, -640, 1110, -560}},
      {"left of the primary, negative coordinates, taskbar at its bottom",
       {{kPrimary, kPrimaryWork, 96}, {{-1280, 0, 0, 1024}, {-1280, 0, 0, 984}, 96}},
       ScreenRect{-1200, 50, -300, 600}, {500, 500}, 1, 96, {-760, 480, -520, 544}},
      {"mixed scale: 200 % primary, foreground there",
       {{{0, 0, 3840, 2160}, {0, 0, 3840, 2100}, 192}, {{3840, 0, 5760, 1080}, {3840, 0, 5760, 1080}, 96}},
       ScreenRect{100, 100, 900, 900}, {4000, 500}, 0, 192, {1680, 1016, 2160, 1144}},
      {"mixed scale: pointer on the 100 % one, no foreground",
       {{{0, 0, 3840, 2160}, {0, 0, 3840, 2100}, 192}, {{3840, 0, 5760, 1080}, {3840, 0, 5760, 1080}, 96}},
       std::nullopt, {4000, 500}, 1, 96, {4680, 508, 4920, 572}},
      {"monitor removed: the foreground window stands where it was, the pointer decides",
       {{kPrimary, kPrimaryWork, 96}}, ScreenRect{2000, 100, 2600, 700}, {100, 100}, 0, 96, {840, 508, 1080, 572}},
      {"monitor removed: the pointer off every monitor, the nearest",
       {{kPrimary, kPrimaryWork, 96}, {{-1280, 0, 0, 1024}, {-1280, 0, 0, 984}, 96}}, std::nullopt, {-3000, 500}, 1,
       96, {-760, 480, -520, 544}},
      {"wide bar on the left: pushed right into the work area",
       {{{0, 0, 1024, 768}, {600, 0, 1024, 768}, 96}}, std::nullopt, {10, 10}, 0, 96, {600, 352, 840, 416}},
      {"an application bar docked along the top: pushed down into the work area",
       {{{0, 0, 1024, 768}, {0, 400, 1024, 768}, 96}}, std::nullopt, {10, 10}, 0, 96, {392, 400, 632, 464}},
      {"work area smaller than the window: its top-left corner stays inside",
       {{{0, 0, 200, 60}, {0, 0, 200, 60}, 96}}, std::nullopt, {10, 10}, 0, 96, {0, 0, 240, 64}},
      {"a monitor without a scale counts as 100 %", {{kPrimary, kPrimaryWork, 0}}, std::nullopt, {1, 1}, 0, 96,
       {840, 508, 1080, 572}},
  };
  for (const Case& c : cases) {
    const std::optional<SummonPlace> got = ChooseSummonPlace(c.monitors, c.foreground, c.pointer);
    ASSERT_TRUE(got) << c.what;
    EXPECT_EQ(got->monitor, c.monitor) << c.what;
    EXPECT_EQ(got->dpi, c.dpi) << c.what;
    EXPECT_EQ(got->window, c.window) << c.what << ": " << got->window.left << "," << got->window.top << ","
                                     << got->window.right << "," << got->window.bottom;
  }
  EXPECT_FALSE(ChooseSummonPlace({}, ScreenRect{0, 0, 10, 10}, {0, 0})) << "no monitor";
}

TEST(MonitorPlacement, SizeRoundsAsThePlatformDoes) {
  struct Case {
    int twips;
    unsigned dpi;
    int pixels;
  } cases[] = {{3600, 96, 240}, {960, 96, 64}, {3600, 144, 360}, {960, 120, 80},
               {960, 100, 67},  {3600, 101, 253}, {960, 97, 65}, {3600, 0, 0}};
  for (const Case& c : cases) EXPECT_EQ(FormPixels(c.twips, c.dpi), c.pixels) << c.twips << " at " << c.dpi;
}

}  // namespace
}  // namespace tav
