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

// A lost watch: tried again at the next hide and every kRetryMs, and only while it is lost.
TEST(RebuildSchedule, ALostWatchIsTriedAgainAtTheHideAndNowAndThen) {
  struct Turn {
    enum { lost, back, ask } what;
    std::int64_t at;
    bool shown = false, due = false;
    std::int64_t next = kForever;  // milliseconds until the next try, after the turn
  };
  using T = Turn;
  const struct {
    const char* name;
    std::vector<Turn> turns;
  } cases[] = {
      {"nothing lost: no try and no timer, even at a hide",
       {{T::ask, 0}, {T::ask, 5000, true}, {T::ask, 60000, false}}},
      {"lost while hidden: a try every 10 s",
       {{T::lost, 1000}, {T::ask, 1000, false, false, 10000}, {T::ask, 6000, false, false, 5000},
        {T::ask, 11000, false, true, 10000}, {T::ask, 12000, false, false, 9000}}},
      {"lost while shown: a try at the hide, however soon",
       {{T::lost, 0}, {T::ask, 100, true, false, 9900}, {T::ask, 3000, false, true, 10000},
        {T::ask, 3100, false, false, 9900}}},
      {"back: no more tries; lost again, timed from then",
       {{T::lost, 0}, {T::ask, 10000, false, true, 10000}, {T::back, 10000}, {T::ask, 30000, false, false, kForever},
        {T::lost, 40000}, {T::lost, 45000}, {T::ask, 45000, false, false, 5000}}},
  };
  for (const auto& c : cases) {
    RebuildSchedule s;
    for (std::size_t i = 0; i < c.turns.size(); ++i) {
      const Turn& t = c.turns[i];
      if (t.what == Turn::lost) {
        s.WatchLost(t.at);
      } else if (t.what == Turn::back) {
        s.WatchBack(t.at);
        EXPECT_TRUE(s.Pending()) << c.name << ", turn " << i << ": a change may have gone unseen";
      } else {
        EXPECT_EQ(s.RetryDue(t.at, t.shown), t.due) << c.name << ", turn " << i;
        EXPECT_EQ(s.MsUntilRetry(t.at), t.next) << c.name << ", turn " << i;
      }
    }
  }
}

}  // namespace
}  // namespace tav
