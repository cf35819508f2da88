// The six colour components of the visual settings: edit box text, scroll bar value,
// component number and two-digit string for each, and the two colour strings (BBGGRR).
// The model mirrors the controls and runs their reactions, nested the way the controls
// trigger each other; the window only copies the result back into the controls.
#pragma once
#include <array>
#include <cstdint>
#include <functional>
#include <string>
#include <string_view>

namespace tav::settings {

// Index of a component: the number of its edit box and scroll bar minus one.
enum Component : int { kBackRed, kBackGreen, kBackBlue, kTextRed, kTextGreen, kTextBlue, kComponentCount };

inline constexpr int kMaxComponentChars = 2;

class ColourComponents {
 public:
  // Called each time a reaction assigns a colour to the preview's box.
  using PreviewColour = std::function<void(bool textColour, std::uint32_t bgr)>;

  ColourComponents();
  void OnPreviewColour(PreviewColour f) { preview_ = std::move(f); }

  // All six component strings back to "00" (start of loading).
  void ResetStrings();
  // The stored Back and Text values put into the boxes by position: characters 1-2 into the
  // blue box, 3-4 green, 5-6 red, background first.
  void AssignStored(std::u16string_view back, std::u16string_view text);

  // The box's text is assigned (by the program): reacts only when it differs.
  void AssignBox(int c, std::u16string text);
  // The box's text has already changed (the user typed): reacts to it.
  void BoxChanged(int c, std::u16string text);
  // The box loses the focus: an empty box becomes "0".
  void BoxLeft(int c);
  // The scroll bar is moved to value (0-255): reacts only when it differs.
  void ScrollTo(int c, int value);

  const std::u16string& BoxText(int c) const { return box_[c]; }
  int ScrollValue(int c) const { return scroll_[c]; }
  int Number(int c) const { return number_[c]; }
  const std::u16string& ComponentText(int c) const { return string_[c]; }
  // Blue, green, red strings joined; empty until a component of the colour was set.
  const std::u16string& BackColour() const { return colour_[0]; }
  const std::u16string& TextColour() const { return colour_[1]; }

 private:
  void BoxChange(int c);
  void ScrollChange(int c);

  std::array<std::u16string, kComponentCount> box_;
  std::array<int, kComponentCount> scroll_{};
  std::array<int, kComponentCount> number_{};
  std::array<std::u16string, kComponentCount> string_;
  std::array<std::u16string, 2> colour_;
  PreviewColour preview_;
};

}  // namespace tav::settings
