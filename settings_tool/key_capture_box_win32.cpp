#include "key_capture_box_win32.h"

#include <commctrl.h>
#include <imm.h>

#include "window_win32.h"

namespace tav::settings {

namespace {
// The modifiers down as of the message being handled.
int HeldModifiers() {
  auto down = [](int vk) { return (GetKeyState(vk) & 0x8000) != 0; };
  return (down(VK_CONTROL) ? kModControl : 0) | (down(VK_MENU) ? kModAlt : 0) | (down(VK_SHIFT) ? kModShift : 0) |
         (down(VK_LWIN) || down(VK_RWIN) ? kModWin : 0);
}
}  // namespace

void KeyCaptureBox::Attach(HWND box, Released released) {
  box_ = box;
  released_ = std::move(released);
  // Keys only: no composition window may take them.
  DisableInputMethod(box);
  SetWindowSubclass(box, BoxProc, 1, reinterpret_cast<DWORD_PTR>(this));
}

LRESULT CALLBACK KeyCaptureBox::BoxProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR, DWORD_PTR ref) {
  return AnswerOrDefault([&] { return reinterpret_cast<KeyCaptureBox*>(ref)->BoxMessage(w, msg, wp, lp); },
                         [&] { return DefSubclassProc(w, msg, wp, lp); });
}

LRESULT KeyCaptureBox::BoxMessage(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_GETDLGCODE:
      // Every key but Tab belongs to the box, so Enter, Esc and the arrows can be captured.
      if (lp && reinterpret_cast<MSG*>(lp)->message == WM_KEYDOWN && reinterpret_cast<MSG*>(lp)->wParam == VK_TAB)
        return DefSubclassProc(w, msg, wp, lp);
      return DLGC_WANTALLKEYS | DefSubclassProc(w, msg, wp, lp);
    case WM_SETFOCUS: {
      // The Tab (or Shift+Tab) that brings the focus in is released here, and must not become
      // the hotkey. Only such keys are passed over: a key whose press never reaches the window
      // (PrintScreen, which Windows keeps for itself; Wine lets it through) is known by its
      // release alone.
      BYTE state[256] = {};
      heldIn_.reset();
      if (GetKeyboardState(state))
        for (int vk = 0; vk < 256; ++vk)
          if (state[vk] & 0x80) heldIn_.set(static_cast<std::size_t>(vk));
      break;
    }
    case WM_KEYDOWN:
    case WM_SYSKEYDOWN:
      // Pressed again here: its release counts. A key held since the focus came repeats
      // (bit 30 set: it was already down) and stays passed over.
      if (!(lp & (LPARAM{1} << 30))) {
        heldIn_.reset(wp & 0xFF);
        capture_.Pressed();
      }
      break;
    case WM_KEYUP:
    case WM_SYSKEYUP:
      if (heldIn_.test(wp & 0xFF)) {
        heldIn_.reset(wp & 0xFF);
      } else if (const std::optional<Hotkey> hotkey = capture_.Released(static_cast<int>(wp), HeldModifiers())) {
        released_(static_cast<WPARAM>(hotkey->key), hotkey->modifiers);
      }
      if (msg == WM_SYSKEYUP) return 0;  // a released Alt must not open the window menu
      break;
    case WM_CHAR:
    case WM_SYSCHAR:
    case WM_PASTE:
    case WM_CUT:
    case WM_CLEAR:
    case WM_UNDO:
    case EM_UNDO:
      return 0;  // the text never changes; only key codes count here
    case WM_NCDESTROY:
      RemoveWindowSubclass(w, BoxProc, 1);
      break;
  }
  return DefSubclassProc(w, msg, wp, lp);
}

}  // namespace tav::settings
