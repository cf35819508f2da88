#include "colour_components.h"

#include "colour.h"
#include "settings_form.h"

namespace tav::settings {

ColourComponents::ColourComponents() {
  box_.fill(u"0");
  string_.fill(u"00");
}

void ColourComponents::ResetStrings() { string_.fill(u"00"); }

void ColourComponents::AssignStored(std::u16string_view back, std::u16string_view text) {
  static const int kBoxOfPair[] = {kBackBlue, kBackGreen, kBackRed};
  for (int pair = 0; pair < 3; ++pair) AssignBox(kBoxOfPair[pair], ColourPair(back, pair));
  for (int pair = 0; pair < 3; ++pair) AssignBox(kBoxOfPair[pair] + kTextRed, ColourPair(text, pair));
}

void ColourComponents::AssignBox(int c, std::u16string text) {
  if (text.size() > kMaxComponentChars) text.resize(kMaxComponentChars);
  if (text == box_[c]) return;
  box_[c] = std::move(text);
  BoxChange(c);
}

void ColourComponents::BoxChanged(int c, std::u16string text) {
  if (text.size() > kMaxComponentChars) text.resize(kMaxComponentChars);
  box_[c] = std::move(text);
  BoxChange(c);
}

void ColourComponents::BoxLeft(int c) {
  if (box_[c].empty()) AssignBox(c, u"0");
}

void ColourComponents::ScrollTo(int c, int value) {
  if (value < 0) value = 0;
  if (value > 255) value = 255;
  if (value == scroll_[c]) return;
  scroll_[c] = value;
  ScrollChange(c);
}

void ColourComponents::ScrollChange(int c) {
  number_[c] = scroll_[c];
  AssignBox(c, HexNoPad(number_[c]));  // "0F" typed becomes "F", which reacts once more
}

void ColourComponents::BoxChange(int c) {
  if (box_[c].empty()) return;
  number_[c] = LeadingHexValue(box_[c]) & 0xFF;
  ScrollTo(c, number_[c]);
  string_[c] = ComponentString(number_[c]);
  const int first = c < kTextRed ? kBackRed : kTextRed;
  const bool text = first == kTextRed;
  colour_[text] = string_[first + 2] + string_[first + 1] + string_[first];
  if (preview_) preview_(text, ColourOrDefault(colour_[text], 0));
}

}  // namespace tav::settings
