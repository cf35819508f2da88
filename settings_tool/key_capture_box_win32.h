// A hotkey capture box: an edit box whose text never changes and whose every key but Tab is a
// key to capture, told by its release.
#pragma once
#include <windows.h>

#include <bitset>
#include <functional>

namespace tav::settings {

class KeyCaptureBox {
 public:
  using Released = std::function<void(WPARAM key)>;

  KeyCaptureBox() = default;
  KeyCaptureBox(const KeyCaptureBox&) = delete;
  KeyCaptureBox& operator=(const KeyCaptureBox&) = delete;

  // Takes box over; released is called for each key released in it.
  void Attach(HWND box, Released released);
  HWND Box() const { return box_; }

 private:
  static LRESULT CALLBACK BoxProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref);
  LRESULT BoxMessage(HWND w, UINT msg, WPARAM wp, LPARAM lp);

  HWND box_ = nullptr;
  Released released_;
  std::bitset<256> heldIn_;  // keys down when the box got the focus and not pressed since
};

}  // namespace tav::settings
