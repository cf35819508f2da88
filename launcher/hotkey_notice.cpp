#include "hotkey_notice.h"

#include <vector>

namespace tav {

namespace {

Hotkey Combination(const HotkeyRegistration& r) { return {r.modifiers, r.key}; }

bool HeldElsewhere(const HotkeyRegistration& r, const HotkeyRegistration& other) {
  return !r.registered && r.alreadyRegistered && !(other.registered && Combination(other) == Combination(r));
}

void AddOnce(std::vector<Hotkey>& hotkeys, Hotkey hotkey) {
  for (const Hotkey& h : hotkeys)
    if (h == hotkey) return;
  hotkeys.push_back(hotkey);
}

std::u16string Names(const std::vector<Hotkey>& hotkeys) {
  std::u16string text;
  for (const Hotkey& h : hotkeys) {
    if (!text.empty()) text += u" と ";
    text += HotkeyName(h.modifiers, h.key);
  }
  return text;
}

}  // namespace

std::optional<std::u16string> HotkeyNotice(const HotkeyRegistration& first, const HotkeyRegistration& second) {
  std::vector<Hotkey> held, working;
  for (const auto* r : {&first, &second}) {
    const HotkeyRegistration& other = r == &first ? second : first;
    if (HeldElsewhere(*r, other)) AddOnce(held, Combination(*r));
    if (r->registered) AddOnce(working, Combination(*r));
  }
  if (held.empty()) return std::nullopt;
  std::u16string text = Names(held) + u" は他のプログラムが使用しています。";
  if (!working.empty())
    text += Names(working) + u" で呼び出せます。";
  else
    text += u"どちらのホットキーでも呼び出せません。このアイコンをクリックすると呼び出せます。";
  return text;
}

}  // namespace tav
