#include "driver/input.h"

#include <iterator>
#include <vector>

#include "driver/top_windows.h"
#include "driver/wait.h"

namespace tav::e2e {

INPUT KeyInput(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}

void AppendChar(std::vector<INPUT>& v, wchar_t c) {
  SHORT scan = c < 0x80 ? VkKeyScanW(c) : -1;
  if (scan != -1 && !(scan & 0x0600)) {
    const bool shift = (scan & 0x0100) != 0;
    const WORD vk = static_cast<WORD>(scan & 0xFF);
    if (shift) v.push_back(KeyInput(VK_SHIFT, false));
    v.push_back(KeyInput(vk, false));
    v.push_back(KeyInput(vk, true));
    if (shift) v.push_back(KeyInput(VK_SHIFT, true));
    return;
  }
  INPUT down{}, up{};
  down.type = up.type = INPUT_KEYBOARD;
  down.ki.wScan = up.ki.wScan = c;
  down.ki.dwFlags = KEYEVENTF_UNICODE;
  up.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
  v.push_back(down);
  v.push_back(up);
}

namespace {
const auto Key = KeyInput;
void Send(std::vector<INPUT> v) {
  SendInput(static_cast<UINT>(v.size()), v.data(), sizeof(INPUT));
  Sleep(30);
}
}  // namespace

void SendAltKey(WORD vk) { SendChord({VK_MENU}, vk); }

void SendChord(const std::vector<WORD>& modifiers, WORD vk) {
  std::vector<INPUT> v;
  for (WORD m : modifiers) v.push_back(Key(m, false));
  v.push_back(Key(vk, false));
  v.push_back(Key(vk, true));
  for (auto m = std::rbegin(modifiers); m != std::rend(modifiers); ++m) v.push_back(Key(*m, true));
  Send(std::move(v));
}

void SendKey(WORD vk, bool shift) {
  if (shift)
    Send({Key(VK_SHIFT, false), Key(vk, false), Key(vk, true), Key(VK_SHIFT, true)});
  else
    Send({Key(vk, false), Key(vk, true)});
}

void SendKeyAlone(WORD vk, bool up) { Send({Key(vk, up)}); }

void SendMouse(DWORD flags, int wheelNotches) {
  INPUT in{};
  in.type = INPUT_MOUSE;
  in.mi.dwFlags = flags;
  in.mi.mouseData = static_cast<DWORD>(wheelNotches * WHEEL_DELTA);
  SendInput(1, &in, sizeof in);
}

void TypeText(const std::wstring& text) {
  for (wchar_t c : text) {
    std::vector<INPUT> inputs;
    AppendChar(inputs, c);
    Send(inputs);
  }
}

void PointerTo(HWND w) {
  RECT r;
  GetWindowRect(w, &r);
  const POINT target{(r.left + r.right) / 2, (r.top + r.bottom) / 2};
  WaitUntil([&] {
    POINT now;
    if (GetCursorPos(&now) && now.x == target.x && now.y == target.y) return true;
    SetCursorPos(target.x, target.y);
    return false;
  }, std::chrono::seconds(3));
}

void PointerClick(HWND w) {
  PointerTo(w);
  INPUT click[2]{};
  click[0].type = click[1].type = INPUT_MOUSE;
  click[0].mi.dwFlags = MOUSEEVENTF_LEFTDOWN;
  click[1].mi.dwFlags = MOUSEEVENTF_LEFTUP;
  SendInput(2, click, sizeof(INPUT));
}

void ClickInto(HWND form, HWND box) {
  for (int i = 0; i < 3 && FocusOf(form) != box; ++i) {
    PointerClick(box);
    WaitUntil([&] { return FocusOf(form) == box; }, std::chrono::seconds(1));
  }
}

bool PostedMessagesHandled(HWND edit, std::chrono::milliseconds timeout) {
  const LRESULT limit = SendMessageW(edit, EM_GETLIMITTEXT, 0, 0);
  const LRESULT marker = limit > 1 ? limit - 1 : limit + 1;
  if (!PostMessageW(edit, EM_SETLIMITTEXT, static_cast<WPARAM>(marker), 0)) return false;
  const bool seen = WaitUntil([&] { return SendMessageW(edit, EM_GETLIMITTEXT, 0, 0) == marker; }, timeout);
  SendMessageW(edit, EM_SETLIMITTEXT, static_cast<WPARAM>(limit), 0);
  return seen;
}

}  // namespace tav::e2e
