#include "hotkey_capture.h"

namespace tav::settings {

std::optional<Hotkey> HotkeyCapture::Released(int key, int held) {
  if (IsModifierKey(key)) {
    if (combinationTaken_) return std::nullopt;
  } else if (held & (kModControl | kModShift | kModWin)) {
    combinationTaken_ = true;
    return Hotkey{held & kModAll, key};
  }
  return Hotkey{kModAlt, key};
}

std::optional<std::u16string_view> ReservedNote(Hotkey hotkey) {
  switch (ReservedCombination(hotkey.modifiers, hotkey.key)) {
    case ReservedBy::system: return kSystemCombinationNote;
    case ReservedBy::inputMethod: return kInputMethodCombinationNote;
    case ReservedBy::none: break;
  }
  return std::nullopt;
}

}  // namespace tav::settings
