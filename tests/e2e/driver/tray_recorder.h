// A notification area of the driver's own, recording what a program asks of it.
#pragma once
#include <windows.h>

#include <atomic>
#include <string>
#include <vector>

namespace tav::e2e {

// What a program asked of the notification area, as the shell receives it.
struct TrayCall {
  DWORD message = 0;  // NIM_ADD, NIM_MODIFY, NIM_DELETE...
  HWND window = nullptr;
  UINT id = 0, flags = 0, callbackMessage = 0;
  bool icon = false;  // an icon came with it
  std::wstring tip;
  std::wstring info, infoTitle;  // a balloon's text and title (with NIF_INFO)
  bool refused = false;          // answered as a shell that is not up yet
};

// A window of the shell tray's class that records every Shell_NotifyIcon call (they reach it as
// WM_COPYDATA) and keeps the icons added and not deleted, so NIM_MODIFY answers for them as the
// shell does. Made before the program under test starts, it is the first such window the program
// finds (the topmost, newest one).
class RecordingTray {
 public:
  RecordingTray();
  ~RecordingTray();
  RecordingTray(const RecordingTray&) = delete;
  RecordingTray& operator=(const RecordingTray&) = delete;
  HWND Hwnd() const { return hwnd_; }
  std::vector<TrayCall> Calls() const;
  // Refuses every call from now on (as before the taskbar is up), or no longer.
  void Refuse(bool refuse) { refusing_ = refuse; }

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  static DWORD WINAPI Thread(void*);
  HANDLE thread_ = nullptr, ready_ = nullptr;
  HWND hwnd_ = nullptr;
  mutable CRITICAL_SECTION lock_;
  std::vector<TrayCall> calls_;
  std::atomic<bool> refusing_{false};
};

}  // namespace tav::e2e
