// The application the user works in before calling a program up.
#pragma once
#include <windows.h>

#include <string>

namespace tav::e2e {

// A visible top-level window of the driver's own, with an edit box, on its own thread.
class ForegroundWindow {
 public:
  // A desktop stand-in answers Alt+Esc as Windows does: it goes to the bottom of the stacking
  // order and the next window there is activated. (Wine's default window procedure ignores
  // Alt+Esc.)
  explicit ForegroundWindow(const std::wstring& title = L"e2e other application", bool desktopStandIn = false);
  ~ForegroundWindow();
  ForegroundWindow(const ForegroundWindow&) = delete;
  ForegroundWindow& operator=(const ForegroundWindow&) = delete;
  HWND Hwnd() const { return hwnd_; }
  HWND Edit() const { return FindWindowExW(hwnd_, nullptr, L"EDIT", nullptr); }
  // Brings it to the foreground with the focus in its edit box; true when it got there.
  bool Activate();

 private:
  HANDLE thread_ = nullptr;
  HWND hwnd_ = nullptr;
};

}  // namespace tav::e2e
