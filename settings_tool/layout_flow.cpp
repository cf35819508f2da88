#include "layout_flow.h"

#include <algorithm>
#include <cmath>
#include <limits>
#include <map>

namespace tav::settings {
namespace {

bool Inside(const Box& inner, const Box& outer) {
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

// g holds item i (a group box around it).
bool Holds(const std::vector<FlowItem>& items, std::size_t g, std::size_t i) {
  return g != i && items[g].group && Inside(items[i].place, items[g].place);
}

bool RowsMeet(const Box& a, const Box& b) { return a.top < b.bottom && b.top < a.bottom; }
bool ColumnsMeet(const Box& a, const Box& b) { return a.left < b.right && b.left < a.right; }

// The part of an item its caption covers: a label may reach under the box beside or below it,
// and only what its text covers counts.
Box TextPart(const FlowItem& item) {
  Box b = item.place;
  if (item.needHeight > 0) b.bottom = b.top + std::min(item.needHeight, b.Height());
  if (item.needWidth > 0) b.right = b.left + std::min(item.needWidth, b.Width());
  if (b.Width() > 2 * item.inset) {
    b.left += item.inset;
    b.right -= item.inset;
  }
  return b;
}

// b starts below the middle of a's caption: it lies under a, else beside it (designs place
// neighbours a pixel or two apart in height).
bool Below(const Box& b, const Box& a) { return b.top > a.top && b.top >= a.top + a.Height() / 2; }

// Room to the right of item i's left edge before something else starts or its group ends.
int WidthRoom(const std::vector<FlowItem>& items, std::size_t i, int width, int margin) {
  const Box a = TextPart(items[i]);
  int room = width - margin - a.left;
  for (std::size_t j = 0; j < items.size(); ++j) {
    if (j == i || Holds(items, i, j)) continue;
    const Box b = Holds(items, j, i) ? items[j].place : TextPart(items[j]);
    if (Holds(items, j, i))
      room = std::min(room, b.right - margin - a.left);
    else if (RowsMeet(a, b) && b.left > a.left && !Below(b, a))
      room = std::min(room, b.left - a.left);
  }
  return room;
}

// Room below item i's top edge before something else starts or its group ends; where that
// room ends, and so where the window would open up.
int HeightRoom(const std::vector<FlowItem>& items, std::size_t i, int height, int margin) {
  const Box a = TextPart(items[i]);
  int room = height - margin - a.top;
  for (std::size_t j = 0; j < items.size(); ++j) {
    if (j == i || Holds(items, i, j)) continue;
    const Box b = Holds(items, j, i) ? items[j].place : TextPart(items[j]);
    if (Holds(items, j, i))
      room = std::min(room, b.bottom - margin - a.top);
    else if (ColumnsMeet(a, b) && Below(b, a))
      room = std::min(room, b.top - a.top);
  }
  return room;
}

// Across: one factor for everything when some caption has no room to its right; then each
// caption takes the room it needs up to its neighbour. The width scaled by the factor.
int FlowAcross(std::vector<FlowItem>& items, int width, int margin) {
  double factor = 1;
  for (std::size_t i = 0; i < items.size(); ++i) {
    int room = WidthRoom(items, i, width, margin);
    if (items[i].needWidth > room && room > 0)
      factor = std::max(factor, static_cast<double>(items[i].needWidth + 1) / room);
  }
  auto scaled = [factor](int x) { return static_cast<int>(std::lround(x * factor)); };
  if (factor > 1) {
    for (FlowItem& item : items) {
      item.place.left = scaled(item.place.left);
      item.place.right = scaled(item.place.right);
    }
    width = scaled(width);
  }
  for (std::size_t i = 0; i < items.size(); ++i)
    if (items[i].needWidth > items[i].place.Width())
      items[i].place.right = std::max(items[i].place.right,
                                      items[i].place.left + std::min(items[i].needWidth, WidthRoom(items, i, width, margin)));
  return width;
}

// Down: the window opens at the points where a caption reaches what lies below it (designed y
// -> pixels added there).
std::map<int, int> Openings(const std::vector<FlowItem>& items, int height, int margin) {
  std::map<int, int> opening;
  auto open = [&opening](int at, int amount) {
    if (amount > 0) opening[at] = std::max(opening[at], amount);
  };
  for (std::size_t i = 0; i < items.size(); ++i) {
    const FlowItem& item = items[i];
    if (item.group) {
      int first = std::numeric_limits<int>::max();
      for (std::size_t j = 0; j < items.size(); ++j)
        if (Holds(items, i, j)) first = std::min(first, items[j].place.top);
      if (first != std::numeric_limits<int>::max()) open(first, item.captionBand - (first - item.place.top));
      continue;
    }
    if (item.needHeight <= 0) continue;
    int room = HeightRoom(items, i, height, margin);
    if (item.needHeight > room) open(item.place.top + std::max(room, 0), item.needHeight - std::max(room, 0));
  }
  return opening;
}

}  // namespace

FlowResult FlowLayout(const std::vector<FlowItem>& input, int width, int height, int margin) {
  std::vector<FlowItem> items = input;
  width = FlowAcross(items, width, margin);
  const std::map<int, int> opening = Openings(items, height, margin);
  // Points at or above y move its top; its bottom moves with the points above it only, so
  // neighbours that end where the window opens keep their size.
  auto top = [&opening](int y) {
    int shift = 0;
    for (const auto& [at, amount] : opening)
      if (at <= y) shift += amount;
    return y + shift;
  };
  auto bottom = [&opening](int y) {
    int shift = 0;
    for (const auto& [at, amount] : opening)
      if (at < y) shift += amount;
    return y + shift;
  };

  FlowResult result;
  result.width = width;
  result.height = bottom(height);
  for (const FlowItem& item : items) {
    Box b = item.place;
    b.top = top(item.place.top);
    b.bottom = std::max(bottom(item.place.bottom), b.top + item.needHeight);
    if (item.keepHeight) {
      b.top += (b.Height() - item.place.Height()) / 2;
      b.bottom = b.top + item.place.Height();
    }
    result.places.push_back(b);
  }
  return result;
}

}  // namespace tav::settings
