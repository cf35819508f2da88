#include "rebuild_schedule.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace tav {
namespace {

constexpr std::int64_t kForever = RebuildSchedule::kForever;

// One step of a run: a change seen at a moment, or the question what to do at a moment (with the
// window shown or hidden) and its expected answer; a rebuild follows every answer of 0.
struct Step {
  enum { change, ask } what;
  std::int64_t at;
  bool shown = false;
  std::int64_t expect = 0;
};

struct Case {
  const char* name;
  std::vector<Step> steps;
  int rebuilds;  // rebuilds over the whole run
};

TEST(RebuildSchedule, GathersChangesAndWaitsWhileShown) {
  using S = Step;
  const Case cases[] = {
      {"nothing seen: nothing to do, hidden or shown",
       {{S::ask, 0, false, kForever}, {S::ask, 5000, true, kForever}}, 0},
      {"one change: rebuilt once the folder has been quiet",
       {{S::change, 1000}, {S::ask, 1000, false, 200}, {S::ask, 1150, false, 50}, {S::ask, 1200, false, 0},
        {S::ask, 1300, false, kForever}},
       1},
      {"a burst: each change restarts the quiet period, one rebuild at the end",
       {{S::change, 0}, {S::change, 50}, {S::change, 120}, {S::ask, 120, false, 200}, {S::change, 300},
        {S::ask, 310, false, 190}, {S::ask, 500, false, 0}},
       1},
      {"changes keep coming: due at the longest wait after the first, however recent the last",
       {{S::change, 0}, {S::change, 150}, {S::change, 300}, {S::change, 1850}, {S::ask, 1850, false, 150},
        {S::change, 1990}, {S::ask, 1990, false, 10}, {S::ask, 2000, false, 0}, {S::change, 2100},
        {S::ask, 2100, false, 200}},
       1},
      {"shown: no rebuild however long ago the change; right after hiding",
       {{S::change, 0}, {S::ask, 100, true, kForever}, {S::ask, 60000, true, kForever}, {S::ask, 60001, false, 0}},
       1},
      {"hidden again before the quiet period ended: the rest of it",
       {{S::change, 0}, {S::ask, 50, true, kForever}, {S::ask, 120, false, 80}},
       0},
      {"a change after a rebuild starts a new gathering",
       {{S::change, 0}, {S::ask, 200, false, 0}, {S::change, 5000}, {S::ask, 5000, false, 200}, {S::ask, 5200, false, 0}},
       2},
      {"a late question: due at once, never negative",
       {{S::change, 0}, {S::ask, 90000, false, 0}}, 1},
  };
  for (const Case& c : cases) {
    RebuildSchedule s;
    int rebuilds = 0;
    for (std::size_t i = 0; i < c.steps.size(); ++i) {
      const Step& st = c.steps[i];
      if (st.what == Step::change) {
        s.Changed(st.at);
        EXPECT_TRUE(s.Pending()) << c.name << ", step " << i;
        continue;
      }
      const std::int64_t got = s.MsUntilRebuild(st.at, st.shown);
      EXPECT_EQ(got, st.expect) << c.name << ", step " << i;
      if (got == 0) {
        s.Rebuilt();
        ++rebuilds;
        EXPECT_FALSE(s.Pending()) << c.name << ", step " << i;
      }
    }
    EXPECT_EQ(rebuilds, c.rebuilds) << c.name;
  }
}

}  // namespace
}  // namespace tav
