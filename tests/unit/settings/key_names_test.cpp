#include <gtest/gtest.h>

#include <optional>
#include <tuple>
#include <utility>
#include <vector>

#include "hotkey_capture.h"
#include "key_names.h"
#include "text_encoding.h"

namespace tav::settings {
namespace {

TEST(KeyCodeName, WholeTable) {
  struct Case {
    int code;
    std::u16string name;
  };
  const std::u16string no = u"推奨しません";
  const Case cases[] = {
      {8, u"BackSpace"}, {9, u"Tab"},        {12, u"Clear"},      {13, u"Enter"},      {16, u"Shift"},
      {17, u"Ctrl"},     {18, u"Menu"},      {19, u"Pause"},      {20, u"CapsLock"},   {27, u"Esc"},
      {32, u"Space"},    {33, u"PageUp"},    {34, u"PageDown"},   {35, u"End"},        {36, u"Home"},
      {37, u"\u2190"},   {38, u"\u2191"},    {39, u"\u2192"},     {40, u"\u2193"},     {41, u"Select"},
      {42, u"PrintScreen"}, {43, u"Execute"}, {44, u"Snapshot"}, {45, u"Ins"},         {46, u"Del"},
      {47, u"Help"},     {48, u"0 キー"},    {57, u"9 キー"},     {65, u"A キー"},     {79, u"O キー"},
      {87, u"W キー"},   {90, u"Z キー"},    {144, u"NumLock"},   {186, u":"},         {187, u";"},
      {188, u","},       {189, u"-"},        {190, u"."},         {191, u"/"},         {192, u"@"},
      {219, u"["},       {220, u"\\"},       {221, u"]"},         {222, u"^"},         {226, u"\\"},
      // Neighbours of named codes and everything else: not recommended.
      {0, no},  {1, no},   {7, no},   {10, no},  {11, no},  {14, no},  {15, no},  {21, no},  {26, no},
      {28, no}, {31, no},  {49 + 9, no}, {64, no}, {91, no}, {97, no}, {112, no}, {143, no}, {145, no},
      {185, no}, {193, no}, {218, no}, {223, no}, {225, no}, {227, no}, {255, no}, {256, no}, {-1, no},
      {-32768, no}, {32767, no}, {'a', no}};
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(ToUtf8(KeyCodeName(static_cast<std::int16_t>(cases[i].code))), ToUtf8(cases[i].name))
        << "case " << i << " code " << cases[i].code;
}

TEST(KeyNameOfCaption, CaptionIsReadAsSixteenBitSignedNumber) {
  struct Case {
    std::u16string caption, name;
  };
  const Case cases[] = {
      {u"79", u"O キー"},     {u"18", u"Menu"},        {u"0", u"推奨しません"},   {u"112", u"推奨しません"},
      {u"-1", u"推奨しません"}, {u"32767", u"推奨しません"}, {u"-32768", u"推奨しません"},
      // Past the 16-bit range: no wrap-around onto a named key (65601 would wrap to 65, "A").
      {u"65601", u"推奨しません"}, {u"32768", u"推奨しません"}, {u"-32769", u"推奨しません"},
      {u"99999999999999999999", u"推奨しません"},
      {u"", u"推奨しません"},  {u"abc", u"推奨しません"}, {u"6 5", u"推奨しません"}, {u"065", u"A キー"},
      {u"+65", u"A キー"}};
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(ToUtf8(KeyNameOfCaption(cases[i].caption)), ToUtf8(cases[i].name)) << "case " << i;
}

// The stored modifiers show in front of the name unless they register as plain Alt.
TEST(HotkeyLabelName, ModifiersInFrontUnlessPlainAlt) {
  const std::tuple<int, std::u16string, std::u16string> cases[] = {
      {1, u"79", u"O キー"}, {1, u"112", u"推奨しません"}, {0, u"79", u"O キー"}, {16, u"79", u"O キー"},
      {17, u"79", u"O キー"}, {0, u"136", u"推奨しません"}, {6, u"32", u"Ctrl+Shift+Space"}, {2, u"65", u"Ctrl+A キー"},
      {3, u"186", u"Ctrl+Alt+:"}, {2, u"112", u"Ctrl+F1"}, {0, u"112", u"F1"}, {0, u"29", u"無変換"},
      {8, u"500", u"Win+キーコード 500"}, {2, u"abc", u"Ctrl+推奨しません"}};
  for (const auto& [stored, caption, name] : cases)
    EXPECT_EQ(ToUtf8(HotkeyLabelName(stored, caption)), ToUtf8(name)) << stored << " " << ToUtf8(caption);
}

// Presses ({key}) and releases ({key, modifiers held then}) in a capture box, and the hotkeys
// they make, in order.
TEST(HotkeyCapture, ReleasesWithCtrlShiftOrWinHeldMakeACombination) {
  constexpr int A = kModAlt, C = kModControl, S = kModShift, W = kModWin, press = -1;
  constexpr int alt = 0x12, ctrl = 0x11, shift = 0x10, lwin = 0x5B, space = 0x20;
  const std::pair<std::vector<std::pair<int, int>>, std::vector<Hotkey>> cases[] = {
      // Plain keys and Alt as ever: the last key up counts.
      {{{alt, press}, {'O', press}, {'O', A}, {alt, 0}}, {{A, 'O'}, {A, alt}}},
      {{{ctrl, press}, {shift, press}, {shift, C}}, {{A, shift}}},
      {{{ctrl, press}, {shift, press}, {space, press}, {space, C | S}, {shift, C}, {ctrl, 0}}, {{C | S, space}}},
      {{{ctrl, press}, {alt, press}, {space, press}, {space, C | A}, {alt, C}, {ctrl, 0}}, {{C | A, space}}},
      {{{lwin, press}, {'L', press}, {'L', W}, {lwin, 0}}, {{W, 'L'}}},
      // A key pressed again ends the hold on the combination.
      {{{ctrl, press}, {space, press}, {space, C}, {'A', press}, {'A', C}, {ctrl, 0}}, {{C, space}, {C, 'A'}}},
      {{{ctrl, press}, {space, press}, {space, C}, {shift, press}, {shift, C}, {ctrl, 0}},
       {{C, space}, {A, shift}, {A, ctrl}}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    HotkeyCapture capture;
    std::vector<Hotkey> made;
    for (const auto& [key, held] : cases[i].first) {
      if (held == press)
        capture.Pressed();
      else if (std::optional<Hotkey> h = capture.Released(key, held))
        made.push_back(*h);
    }
    EXPECT_EQ(made, cases[i].second) << "case " << i;
  }
}

}  // namespace
}  // namespace tav::settings
