#include <gtest/gtest.h>

#include <vector>

#include "colour_components.h"
#include "text_encoding.h"

namespace tav::settings {
namespace {

struct Preview {
  std::vector<std::pair<bool, std::uint32_t>> colours;
};

struct Model {
  ColourComponents m;
  Preview p;
  Model() {
    m.OnPreviewColour([this](bool text, std::uint32_t c) { p.colours.emplace_back(text, c); });
  }
};

std::string S(const std::u16string& s) { return ToUtf8(s); }

TEST(ColourComponents, ScrollBarWritesTheBoxWithoutLeadingZeroAndTheStringPadded) {
  struct Case {
    int component, value;
    const char* box;
    const char* string;
    const char* back;
    const char* text;
  };
  const Case cases[] = {
      {kBackBlue, 10, "A", "0A", "0A0000", ""},  {kBackBlue, 15, "F", "0F", "0F0000", ""},
      {kBackRed, 255, "FF", "FF", "0000FF", ""}, {kBackGreen, 16, "10", "10", "001000", ""},
      {kTextGreen, 1, "1", "01", "", "000100"},  {kTextRed, 171, "AB", "AB", "", "0000AB"},
      {kBackBlue, 300, "FF", "FF", "FF0000", ""}, {kBackBlue, -5, "0", "00", "", ""}};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Model t;
    const Case& k = cases[i];
    t.m.ScrollTo(k.component, k.value);
    EXPECT_EQ(S(t.m.BoxText(k.component)), k.box) << "case " << i;
    EXPECT_EQ(S(t.m.ComponentText(k.component)), k.string) << "case " << i;
    EXPECT_EQ(S(t.m.BackColour()), k.back) << "case " << i;
    EXPECT_EQ(S(t.m.TextColour()), k.text) << "case " << i;
  }
}

TEST(ColourComponents, TypedTextMovesTheBarWhichRewritesTheBoxOnce) {
  struct Case {
    const char* before;  // assigned first (the bar follows)
    const char* typed;
    const char* box;
    int bar;
    const char* string;
  };
  const Case cases[] = {
      {"0", "ff", "FF", 255, "FF"},  // bar moves, box rewritten upper-case
      {"0", "0F", "F", 15, "0F"},    // the nested rewrite drops the leading zero
      {"0", "0f", "F", 15, "0F"},
      {"F", "0F", "0F", 15, "0F"},   // bar already there: typed text stays
      {"0", "00", "00", 0, "00"},
      {"FF", "zz", "0", 0, "00"},    // no digits: 0, and the box is rewritten since the bar moved
      {"0", "zz", "zz", 0, "00"},    // no digits, bar already 0: text stays
      {"0", "1z", "1", 1, "01"},     // leading digits only
      {"FF", "", "", 255, "FF"},     // empty: nothing happens
      {"0", "abc", "AB", 171, "AB"}, // never more than two characters
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Model t;
    const Case& k = cases[i];
    t.m.AssignBox(kBackGreen, FromUtf8(k.before));
    t.m.BoxChanged(kBackGreen, FromUtf8(k.typed));
    EXPECT_EQ(S(t.m.BoxText(kBackGreen)), k.box) << "case " << i;
    EXPECT_EQ(t.m.ScrollValue(kBackGreen), k.bar) << "case " << i;
    EXPECT_EQ(t.m.Number(kBackGreen), k.bar) << "case " << i;
    EXPECT_EQ(S(t.m.ComponentText(kBackGreen)), k.string) << "case " << i;
  }
}

TEST(ColourComponents, ClearedBoxBecomesZeroWhenLeft) {
  Model t;
  t.m.AssignBox(kBackGreen, u"C0");
  t.m.BoxChanged(kBackGreen, u"");
  EXPECT_EQ(S(t.m.ComponentText(kBackGreen)), "C0") << "clearing alone changes nothing";
  t.m.BoxLeft(kBackGreen);
  EXPECT_EQ(S(t.m.BoxText(kBackGreen)), "0");
  EXPECT_EQ(t.m.ScrollValue(kBackGreen), 0);
  EXPECT_EQ(S(t.m.ComponentText(kBackGreen)), "00");
  EXPECT_EQ(S(t.m.BackColour()), "000000");
  // A box that is not empty is left alone.
  t.m.BoxChanged(kBackRed, u"7");
  t.m.BoxLeft(kBackRed);
  EXPECT_EQ(S(t.m.BoxText(kBackRed)), "7");
}

TEST(ColourComponents, ColourStringsJoinBlueGreenRedAndReachThePreview) {
  Model t;
  t.m.ScrollTo(kBackRed, 255);
  t.m.ScrollTo(kBackGreen, 0);  // no change: no reaction
  t.m.ScrollTo(kBackBlue, 15);
  EXPECT_EQ(S(t.m.BackColour()), "0F00FF");
  ASSERT_FALSE(t.p.colours.empty());
  EXPECT_EQ(t.p.colours.back(), std::make_pair(false, std::uint32_t{0x0F00FF}));
  t.m.BoxChanged(kTextBlue, u"80");
  EXPECT_EQ(S(t.m.TextColour()), "800000");
  EXPECT_EQ(t.p.colours.back(), std::make_pair(true, std::uint32_t{0x800000}));
  EXPECT_EQ(S(t.m.BackColour()), "0F00FF") << "the other colour is untouched";
}

// Loading assigns the stored pairs by position; only changed boxes react.
TEST(ColourComponents, LoadingStoredValues) {
  struct Case {
    const char* stored;
    const char* red;
    const char* green;
    const char* blue;
    const char* colour;
  };
  const Case cases[] = {
      {"FFFFFF", "FF", "FF", "FF", "FFFFFF"},
      {"000000", "00", "00", "00", "000000"},
      {"0F00FF", "FF", "00", "F", "0F00FF"},  // blue "0F" rewritten to "F", still stored "0F"
      {"", "", "", "", ""},       // empty: the boxes are emptied, no reaction, the colour stays empty
      {"0", "", "", "0", ""},     // "0" equals the blue box's text: no change there
      {"ABCDEF12", "EF", "CD", "AB", "ABCDEF"}, // only the first six characters count
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Model t;
    t.m.ResetStrings();
    t.m.AssignStored(FromUtf8(cases[i].stored), u"");
    EXPECT_EQ(S(t.m.BoxText(kBackRed)), cases[i].red) << "case " << i;
    EXPECT_EQ(S(t.m.BoxText(kBackGreen)), cases[i].green) << "case " << i;
    EXPECT_EQ(S(t.m.BoxText(kBackBlue)), cases[i].blue) << "case " << i;
    EXPECT_EQ(S(t.m.BackColour()), cases[i].colour) << "case " << i;
    EXPECT_EQ(S(t.m.TextColour()), "") << "case " << i;
    // The same value as text colour fills the text boxes the same way and leaves the background.
    Model u;
    u.m.ResetStrings();
    u.m.AssignStored(u"FFFFFF", FromUtf8(cases[i].stored));
    EXPECT_EQ(S(u.m.BoxText(kTextRed)), cases[i].red) << "case " << i;
    EXPECT_EQ(S(u.m.BoxText(kTextGreen)), cases[i].green) << "case " << i;
    EXPECT_EQ(S(u.m.BoxText(kTextBlue)), cases[i].blue) << "case " << i;
    EXPECT_EQ(S(u.m.TextColour()), cases[i].colour) << "case " << i;
    EXPECT_EQ(S(u.m.BackColour()), "FFFFFF") << "case " << i;
  }
}

}  // namespace
}  // namespace tav::settings
