// Handing the foreground to the desktop's shell window before the launcher hides, so that the
// program Enter starts, or after Esc the window the user worked in, comes to the front.
#pragma once
#include <windows.h>

namespace tav {

class DesktopHandOver {
 public:
  // Activates the desktop's shell window; false when there is none (another desktop shell).
  bool Activate();
  // Waits, briefly, until the desktop window has the foreground.
  void Await() const;
  // The desktop window last activated; nullptr when there was none.
  HWND HandedTo() const { return desktop_; }

 private:
  HWND desktop_ = nullptr;
  bool activated_ = false;  // whether the system let it come to the front
};

// Alt+Esc to the active window: the system passes the foreground on from the desktop window to
// the next window in the stacking order.
void SendAltEsc();

}  // namespace tav
