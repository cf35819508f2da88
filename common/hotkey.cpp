#include "hotkey.h"

#include <string>

namespace tav {

namespace {
constexpr int kF1 = 0x70, kF24 = 0x87;
// The Japanese keyboard's keys: the layout reports カタカナ/ひらがな as VK_DBE_HIRAGANA (as
// VK_DBE_KATAKANA with Shift), some input methods as VK_KANA; 半角/全角 as VK_DBE_SBCSCHAR or
// VK_DBE_DBCSCHAR in turn, and as VK_KANJI while Alt is held.
constexpr int kKana = 0x15, kKanji = 0x19, kConvert = 0x1C, kNonConvert = 0x1D, kKatakana = 0xF1,
              kHiragana = 0xF2, kHalfWidth = 0xF3, kFullWidth = 0xF4;
constexpr int kPause = 0x13, kScrollLock = 0x91, kSpace = 0x20, kEscape = 0x1B, kDelete = 0x2E;

std::u16string Decimal(int n) {
  const std::string s = std::to_string(n);
  return std::u16string(s.begin(), s.end());
}
}  // namespace

bool KeyTypesNothing(int vk) {
  switch (vk) {
    case kNonConvert: case kConvert: case kKana: case kKatakana: case kHiragana: case kPause: case kScrollLock:
      return true;
    default:
      return vk >= kF1 && vk <= kF24;
  }
}

int UsableModifiers(int stored, int key) {
  if (stored != 0 && (stored & ~kModAll) == 0) return stored;
  if (stored == 0 && KeyTypesNothing(key)) return 0;
  return kModAlt;
}

bool IsModifierKey(int vk) {
  return (vk >= 0x10 && vk <= 0x12) || vk == 0x5B || vk == 0x5C || (vk >= 0xA0 && vk <= 0xA5);
}

std::u16string ModifierNames(int modifiers) {
  std::u16string names;
  if (modifiers & kModControl) names += u"Ctrl+";
  if (modifiers & kModAlt) names += u"Alt+";
  if (modifiers & kModShift) names += u"Shift+";
  if (modifiers & kModWin) names += u"Win+";
  return names;
}

std::u16string KeyCapName(int key) {
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) return std::u16string(1, static_cast<char16_t>(key));
  if (key >= kF1 && key <= kF24) return u"F" + Decimal(key - kF1 + 1);
  switch (key) {
    case kSpace: return u"Space";
    case kNonConvert: return u"無変換";
    case kConvert: return u"変換";
    case kKana: case kKatakana: case kHiragana: return u"カタカナ/ひらがな";
    case kPause: return u"Pause";
    case kScrollLock: return u"ScrollLock";
    default: return u"キーコード " + Decimal(key);
  }
}

ReservedBy ReservedCombination(int modifiers, int key) {
  struct Combination {
    int modifiers, key;
    ReservedBy by;
  };
  static constexpr Combination kReserved[] = {
      {kModWin, 'L', ReservedBy::system},                        // locks the computer
      {kModControl | kModAlt, kDelete, ReservedBy::system},      // the secure attention sequence
      {kModControl | kModShift, kEscape, ReservedBy::system},    // Task Manager
      {kModControl, kEscape, ReservedBy::system},                // Start
      {kModControl, kSpace, ReservedBy::inputMethod},
      {kModAlt, kKanji, ReservedBy::inputMethod},
      {kModAlt, kHalfWidth, ReservedBy::inputMethod},
      {kModAlt, kFullWidth, ReservedBy::inputMethod},
  };
  for (const Combination& c : kReserved)
    if (c.modifiers == modifiers && c.key == key) return c.by;
  return ReservedBy::none;
}

}  // namespace tav
