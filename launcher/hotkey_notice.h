// What the launcher says when a hotkey could not be registered because another program holds it.
#pragma once
#include <optional>
#include <string>

#include "hotkey.h"

namespace tav {

struct HotkeyRegistration {
  int key = 0;                   // the virtual-key code
  bool registered = false;
  bool alreadyRegistered = false;  // refused because the combination is held (ERROR_HOTKEY_ALREADY_REGISTERED)
  int modifiers = kModAlt;         // as registered
};

// The notice for the two registrations, or nothing when no hotkey is held by another program;
// each combination by its HotkeyName. A combination refused as held while the launcher's other
// hotkey is the same combination and got it is the launcher's own (both set alike), not another
// program's.
std::optional<std::u16string> HotkeyNotice(const HotkeyRegistration& first, const HotkeyRegistration& second);

}  // namespace tav
