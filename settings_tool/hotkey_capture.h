// What a key released in a hotkey capture box makes of the hotkey, and the note a combination
// that cannot work gets.
#pragma once
#include <optional>
#include <string_view>

#include "hotkey.h"

namespace tav::settings {

// A key released while Ctrl, Shift or Win is held becomes that key with every modifier held
// (Alt too), and the releases of the modifiers that follow keep it until a key is pressed again.
// Any other release is the key with Alt, the last key up counting (Alt, O: O, then Menu).
class HotkeyCapture {
 public:
  void Pressed() { combinationTaken_ = false; }
  // held: the modifier bits down at the release; nothing when the hotkey stays as it is.
  std::optional<Hotkey> Released(int key, int held);

 private:
  bool combinationTaken_ = false;
};

// The note for a combination the system or the input method keeps; nothing for any other. As
// short as the note that another program holds the key: they share its one line.
inline constexpr std::u16string_view kSystemCombinationNote = u"Windows が使う組み合わせです";
inline constexpr std::u16string_view kInputMethodCombinationNote = u"日本語入力の切り替えキーです";
std::optional<std::u16string_view> ReservedNote(Hotkey hotkey);

}  // namespace tav::settings
