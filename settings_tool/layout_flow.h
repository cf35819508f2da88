// Making room for captions in a hand-placed window: controls keep their places and order, and
// where a caption needs more room than its place gives, the window opens up below (or wider)
// just enough, so a taller or wider UI font never cuts text off.
#pragma once
#include <vector>

namespace tav::settings {

struct Box {
  int left = 0, top = 0, right = 0, bottom = 0;
  int Width() const { return right - left; }
  int Height() const { return bottom - top; }
  friend bool operator==(const Box&, const Box&) = default;
};

struct FlowItem {
  Box place;            // the designed place, in the window's pixels
  int needWidth = 0;    // width its one-line caption needs (0: none, or the caption wraps)
  int needHeight = 0;   // height its caption needs from its top (0: none)
  bool group = false;   // a group box: holds the items inside its place
  int captionBand = 0;  // group box: room its caption needs above the first item it holds
  bool keepHeight = false;  // no caption (scroll bar): keeps its height, centred where its row grows
  int inset = 0;        // the caption stands this far inside the left and right edges
};

struct FlowResult {
  std::vector<Box> places;  // in the order of the items
  int width = 0, height = 0;
};

// Lays the items out again in a client area of the given designed size. An item's text may
// reach down to the first item below it that it shares columns with (or its group's bottom less
// margin); more than that opens the window there. A caption wider than its place takes room to
// its right where there is some, else every horizontal measure grows by one factor.
FlowResult FlowLayout(const std::vector<FlowItem>& items, int width, int height, int margin);

}  // namespace tav::settings
