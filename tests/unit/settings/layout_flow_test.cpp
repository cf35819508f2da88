#include <gtest/gtest.h>

#include "layout_flow.h"

namespace tav::settings {
namespace {

FlowItem Text(Box b, int needHeight, int needWidth = 0) {
  FlowItem f;
  f.place = b;
  f.needHeight = needHeight;
  f.needWidth = needWidth;
  return f;
}
FlowItem Group(Box b, int band) {
  FlowItem f;
  f.place = b;
  f.group = true;
  f.captionBand = band;
  return f;
}
FlowItem Bar(Box b) {
  FlowItem f;
  f.place = b;
  f.keepHeight = true;
  return f;
}

TEST(FlowLayout, OpensOnlyWhereACaptionReachesWhatLiesBelowIt) {
  struct Case {
    const char* what;
    std::vector<FlowItem> items;
    std::vector<Box> expected;
    int height;
  };
  const Case cases[] = {
      {"captions that fit: nothing moves",
       {Text({0, 0, 50, 16}, 16), Text({0, 20, 50, 36}, 10)},
       {{0, 0, 50, 16}, {0, 20, 50, 36}},
       100},
      {"a label grows into the free room below it",
       {Text({0, 0, 50, 16}, 19), Text({0, 20, 50, 36}, 0)},
       {{0, 0, 50, 19}, {0, 20, 50, 36}},
       100},
      {"a label covered by the box below it pushes that box and all below down",
       {Text({0, 0, 50, 30}, 24), Text({0, 20, 50, 40}, 0), Text({60, 50, 90, 60}, 0)},
       {{0, 0, 50, 34}, {0, 24, 50, 44}, {60, 54, 90, 64}},
       100},
      {"a neighbour in another column that ends where the window opens keeps its size",
       {Text({0, 0, 50, 20}, 26), Text({0, 20, 50, 30}, 0), Text({60, 0, 90, 20}, 0), Text({60, 20, 90, 30}, 0)},
       {{0, 0, 50, 26}, {0, 26, 50, 36}, {60, 0, 90, 20}, {60, 26, 90, 36}},
       100},
      {"two captions opening at one point take the larger need, not the sum",
       {Text({0, 0, 40, 20}, 23), Text({50, 0, 90, 20}, 25), Text({0, 20, 90, 30}, 0)},
       {{0, 0, 40, 23}, {50, 0, 90, 25}, {0, 25, 90, 35}},
       100},
      {"a group's caption band pushes what it holds, the group's top stays and its bottom grows",
       {Group({0, 0, 100, 50}, 22), Text({10, 16, 90, 30}, 0), Text({0, 60, 100, 70}, 0)},
       {{0, 0, 100, 56}, {10, 22, 90, 36}, {0, 66, 100, 76}},
       100},
      {"a caption may not cross its group's bottom less the margin: the group grows",
       {Group({0, 0, 100, 40}, 10), Text({10, 20, 90, 36}, 30)},
       {{0, 0, 100, 54}, {10, 20, 90, 50}},
       100},
      {"a bar across the point where the window opens keeps its height, centred",
       {Text({0, 0, 40, 20}, 30), Bar({50, 10, 90, 26}), Text({0, 20, 40, 30}, 0)},
       {{0, 0, 40, 30}, {50, 15, 90, 31}, {0, 30, 40, 40}},
       100},
  };
  for (const Case& c : cases) {
    FlowResult r = FlowLayout(c.items, 100, c.height, 4);
    ASSERT_EQ(r.places.size(), c.expected.size()) << c.what;
    for (std::size_t i = 0; i < c.expected.size(); ++i) {
      EXPECT_EQ(r.places[i].left, c.expected[i].left) << c.what << ", item " << i;
      EXPECT_EQ(r.places[i].top, c.expected[i].top) << c.what << ", item " << i;
      EXPECT_EQ(r.places[i].right, c.expected[i].right) << c.what << ", item " << i;
      EXPECT_EQ(r.places[i].bottom, c.expected[i].bottom) << c.what << ", item " << i;
    }
  }
}

TEST(FlowLayout, TheWindowGrowsByWhatOpenedInsideIt) {
  FlowResult r = FlowLayout({Text({0, 0, 50, 20}, 28), Text({0, 20, 50, 40}, 0)}, 100, 60, 4);
  EXPECT_EQ(r.height, 68);
  EXPECT_EQ(r.width, 100);
  r = FlowLayout({Text({0, 50, 50, 60}, 20)}, 100, 60, 4);
  EXPECT_EQ(r.height, 74) << "a caption near the bottom keeps the margin below it";
}

TEST(FlowLayout, AWideCaptionTakesRoomToItsRightElseEverythingWidens) {
  // Room to the right: only that item widens.
  FlowResult r = FlowLayout({Text({0, 0, 40, 16}, 0, 55), Text({70, 0, 90, 16}, 0)}, 100, 50, 4);
  EXPECT_EQ(r.places[0].right, 55);
  EXPECT_EQ(r.places[1].left, 70);
  EXPECT_EQ(r.width, 100);
  // No room: every horizontal measure grows by one factor, enough for the caption.
  r = FlowLayout({Text({0, 0, 40, 16}, 0, 60), Text({40, 0, 90, 16}, 0)}, 100, 50, 4);
  EXPECT_GE(r.places[1].left - r.places[0].left, 60);
  EXPECT_GE(r.places[0].Width(), 60);
  EXPECT_LE(r.places[0].right, r.places[1].left) << "still side by side";
  EXPECT_GT(r.width, 100);
  EXPECT_EQ(r.places[0].top, 0) << "across only";
  // A label reaching under the box below its text: that box is no neighbour across.
  r = FlowLayout({Text({0, 0, 40, 30}, 16, 60), Text({10, 20, 90, 30}, 0)}, 100, 50, 4);
  EXPECT_EQ(r.width, 100);
  EXPECT_EQ(r.places[0].right, 60);
}

}  // namespace
}  // namespace tav::settings
