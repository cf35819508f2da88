#include "driver/tray_recorder.h"

#include <shellapi.h>

#include <cstring>

namespace tav::e2e {

RecordingTray::RecordingTray() {
  InitializeCriticalSection(&lock_);
  ready_ = CreateEventW(nullptr, TRUE, FALSE, nullptr);
  thread_ = CreateThread(nullptr, 0, &RecordingTray::Thread, this, 0, nullptr);
  WaitForSingleObject(ready_, 5000);
}

RecordingTray::~RecordingTray() {
  if (hwnd_) PostMessageW(hwnd_, WM_CLOSE, 0, 0);
  if (thread_) {
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
  }
  CloseHandle(ready_);
  DeleteCriticalSection(&lock_);
}

std::vector<TrayCall> RecordingTray::Calls() const {
  EnterCriticalSection(&lock_);
  std::vector<TrayCall> copy = calls_;
  LeaveCriticalSection(&lock_);
  return copy;
}

DWORD WINAPI RecordingTray::Thread(void* p) {
  auto* self = static_cast<RecordingTray*>(p);
  WNDCLASSW wc{};
  wc.lpfnWndProc = &RecordingTray::Proc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"Shell_TrayWnd";
  RegisterClassW(&wc);
  self->hwnd_ = CreateWindowExW(WS_EX_TOPMOST | WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP, 0, 0, 0, 0, nullptr,
                                nullptr, wc.hInstance, self);
  SetEvent(self->ready_);
  MSG msg;
  while (GetMessageW(&msg, nullptr, 0, 0) > 0) DispatchMessageW(&msg);
  UnregisterClassW(wc.lpszClassName, wc.hInstance);
  return 0;
}

LRESULT CALLBACK RecordingTray::Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  if (m == WM_NCCREATE)
    SetWindowLongPtrW(h, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(reinterpret_cast<CREATESTRUCTW*>(l)->lpCreateParams));
  auto* self = reinterpret_cast<RecordingTray*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  if (m == WM_DESTROY) PostQuitMessage(0);
  if (m != WM_COPYDATA || !self) return DefWindowProcW(h, m, w, l);
  const auto* cds = reinterpret_cast<const COPYDATASTRUCT*>(l);
  const auto* bytes = static_cast<const BYTE*>(cds->lpData);
  auto dword = [&](std::size_t at) {
    DWORD v = 0;
    if (at + 4 <= cds->cbData) memcpy(&v, bytes + at, 4);
    return v;
  };
  auto text = [&](std::size_t at, std::size_t chars) {
    std::wstring t;
    for (std::size_t i = 0; i < chars && at + 2 * i + 2 <= cds->cbData; ++i) {
      wchar_t c;
      memcpy(&c, bytes + at + 2 * i, 2);
      if (!c) break;
      t += c;
    }
    return t;
  };
  TrayCall call;
  if (cds->dwData == 1 && dword(0) == 0x34753423) {
    // Windows: signature, message, then the 32-bit form of NOTIFYICONDATAW (cbSize, hWnd, uID,
    // uFlags, uCallbackMessage, hIcon, szTip[128]).
    call.message = dword(4);
    call.window = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(dword(12)));
    call.id = dword(16);
    call.flags = dword(20);
    call.callbackMessage = dword(24);
    call.icon = dword(28) != 0;
    call.tip = text(32, 128);
    // ... dwState, dwStateMask, szInfo[256], uTimeout, szInfoTitle[64].
    call.info = text(296, 256);
    call.infoTitle = text(812, 64);
  } else {
    // Wine: the message in dwData, then hWnd, uID, uFlags, uCallbackMessage, szTip[128], ...;
    // the icon's bits follow its 960-byte record.
    call.message = static_cast<DWORD>(cds->dwData);
    call.window = reinterpret_cast<HWND>(static_cast<ULONG_PTR>(dword(0)));
    call.id = dword(4);
    call.flags = dword(8);
    call.callbackMessage = dword(12);
    call.icon = cds->cbData > 960;
    call.tip = text(16, 128);
    // ... dwState, dwStateMask, szInfo[256], uTimeout, szInfoTitle[64].
    call.info = text(280, 256);
    call.infoTitle = text(796, 64);
  }
  call.refused = self->refusing_;
  EnterCriticalSection(&self->lock_);
  bool known = false;
  for (const TrayCall& c : self->calls_)
    if (c.window == call.window && c.id == call.id && !c.refused)
      known = c.message == NIM_ADD ? true : c.message == NIM_DELETE ? false : known;
  self->calls_.push_back(call);
  LeaveCriticalSection(&self->lock_);
  if (call.refused) return FALSE;
  switch (call.message) {
    case NIM_ADD: return !known;
    case NIM_MODIFY:
    case NIM_DELETE: return known;
    default: return TRUE;
  }
}

}  // namespace tav::e2e
