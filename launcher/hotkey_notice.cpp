#include "hotkey_notice.h"

#include <vector>

namespace tav {

namespace {

std::u16string Decimal(int n) {
  const std::string s = std::to_string(n);
  return std::u16string(s.begin(), s.end());
}

bool HeldElsewhere(const HotkeyRegistration& r, const HotkeyRegistration& other) {
  return !r.registered && r.alreadyRegistered && !(other.registered && other.key == r.key);
}

void AddOnce(std::vector<int>& keys, int key) {
  for (int k : keys)
    if (k == key) return;
  keys.push_back(key);
}

std::u16string Names(const std::vector<int>& keys) {
  std::u16string text;
  for (int k : keys) {
    if (!text.empty()) text += u" と ";
    text += HotkeyDisplayName(k);
  }
  return text;
}

}  // namespace

std::u16string HotkeyDisplayName(int key) {
  std::u16string name = u"Alt+";
  if ((key >= 'A' && key <= 'Z') || (key >= '0' && key <= '9')) {
    name += static_cast<char16_t>(key);
  } else if (key >= 0x70 && key <= 0x87) {  // VK_F1 .. VK_F24
    name += u'F';
    name += Decimal(key - 0x6F);
  } else {
    name += u"キーコード ";
    name += Decimal(key);
  }
  return name;
}

std::optional<std::u16string> HotkeyNotice(const HotkeyRegistration& first, const HotkeyRegistration& second) {
  std::vector<int> held, working;
  for (const auto* r : {&first, &second}) {
    const HotkeyRegistration& other = r == &first ? second : first;
    if (HeldElsewhere(*r, other)) AddOnce(held, r->key);
    if (r->registered) AddOnce(working, r->key);
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
