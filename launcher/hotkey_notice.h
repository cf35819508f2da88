// What the launcher says when a hotkey could not be registered because another program holds it.
#pragma once
#include <optional>
#include <string>

namespace tav {

struct HotkeyRegistration {
  int key = 0;                   // the virtual-key code, with Alt
  bool registered = false;
  bool alreadyRegistered = false;  // refused because the combination is held (ERROR_HOTKEY_ALREADY_REGISTERED)
};

// "Alt+O": letters, digits and F1 to F24 by their key caps, any other key by its code.
std::u16string HotkeyDisplayName(int key);

// The notice for the two registrations, or nothing when no hotkey is held by another program. A
// key refused as held while the launcher's other hotkey has the same key and got it is the
// launcher's own (Key1 equal to Key2), not another program's.
std::optional<std::u16string> HotkeyNotice(const HotkeyRegistration& first, const HotkeyRegistration& second);

}  // namespace tav
