// A hotkey capture box: an edit box whose text never changes and whose every key but Tab is a
// key to capture, told by its release with the modifiers it makes a hotkey with (HotkeyCapture).
#pragma once
#include <windows.h>

#include <bitset>
#include <functional>

#include "hotkey_capture.h"

namespace tav::settings {

class KeyCaptureBox {
 public:
  using Released = std::function<void(WPARAM key, int modifiers)>;

  KeyCaptureBox() = default;
  KeyCaptureBox(const KeyCaptureBox&) = delete;
  KeyCaptureBox& operator=(const KeyCaptureBox&) = delete;

  // Takes box over; released is called for each release in it that sets the hotkey.
  void Attach(HWND box, Released released);
  HWND Box() const { return box_; }

 private:
  static LRESULT CALLBACK BoxProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
  LRESULT BoxMessage(HWND w, UINT msg, WPARAM wp, LPARAM lp);

  HWND box_ = nullptr;
  Released released_;
  std::bitset<256> heldIn_;  // keys down when the box got the focus and not pressed since
  HotkeyCapture capture_;
};

}  // namespace tav::settings
