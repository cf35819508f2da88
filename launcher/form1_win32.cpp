#include "form1_win32.h"

#include <commctrl.h>
#include <imm.h>
#include <objbase.h>
#include <windowsx.h>

#include "enter_keys_win32.h"
#include "monitor_placement_win32.h"
#include "tray_icon_win32.h"

namespace tav {

bool Form1::Create(HINSTANCE instance) {
  if (!Window::Create(instance, {kLauncherClass}, WS_EX_TOOLWINDOW, L"", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 240, 64))
    return false;
  text1_ = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_TABSTOP | ES_AUTOHSCROLL, 16, 27, 209, 18,
                           hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(Text1)), instance, nullptr);
  // Subclassed through the window's own slots, not SetWindowSubclass: that looks its data up as
  // a window property on every message, which Wine answers from its server process each time
  // (a round trip per message the box gets, several per keystroke).
  SetWindowLongPtrW(text1_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  text1Proc_ = reinterpret_cast<WNDPROC>(
      SetWindowLongPtrW(text1_, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(&Form1::Text1Proc)));

  // A screen reader announces the box by name, not as a bare "edit"; nothing visible changes.
  if (SUCCEEDED(CoCreateInstance(CLSID_AccPropServices, nullptr, CLSCTX_INPROC_SERVER, IID_IAccPropServices,
                                 reinterpret_cast<void**>(accProps_.ReleaseAndGetAddressOf()))))
    accProps_->SetHwndPropStr(text1_, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, PROPID_ACC_NAME, kLauncherCaption);

  HMENU bar = CreateMenu();
  HMENU menu = CreatePopupMenu();
  AppendMenuW(menu, MF_STRING, m_Close, L"閉じる");
  AppendMenuW(menu, MF_STRING, m_Reflesh, L"オートコンプリートリスト更新");
  AppendMenuW(bar, MF_POPUP, reinterpret_cast<UINT_PTR>(menu), L"メニュー(&M)");
  menuBar_.reset(bar);

  // Centred on the screen at the monitor's scale.
  dpi_ = WindowDpi(hwnd_);
  SIZE size = FormClientSize(dpi_);
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY), &mi);
  SetWindowPos(hwnd_, nullptr, (mi.rcMonitor.left + mi.rcMonitor.right - size.cx) / 2,
               (mi.rcMonitor.top + mi.rcMonitor.bottom - size.cy) / 2, size.cx, size.cy,
               SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyDpi(dpi_);
  return true;
}

void Form1::ApplySetup(const LauncherSetup& setup) {
  setup_ = setup;
  completion_ = Completion(setup.autoComplete);
  colours_.Set(setup.backColour, setup.textColour);
  ApplyDpi(dpi_);
}

void Form1::Destroy() {
  KillTimer(hwnd_, kTimer1);
  if (accProps_) accProps_->ClearHwndProps(text1_, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &PROPID_ACC_NAME, 1);
  DestroyWindow(hwnd_);  // then the program ends
}

// ---- the window ----

bool Form1::OnCommand(int id, int code, HWND control) {
  if (id == Text1 && code == EN_CHANGE && control == text1_) {
    if (!showingCompletion_) Text1_Change();
    return true;
  }
  if (code == 0 && id == m_Close) {
    m_Close_Click();
    return true;
  }
  if (code == 0 && id == m_Reflesh) {
    m_Reflesh_Click();
    return true;
  }
  return false;
}

LRESULT Form1::HandleMessage(UINT m, WPARAM w, LPARAM l) {
  if (events_.AppMessage(m, w, l)) return 0;
  switch (m) {
    case WM_CTLCOLOREDIT:
      if (reinterpret_cast<HWND>(l) == text1_) return reinterpret_cast<LRESULT>(colours_.Apply(reinterpret_cast<HDC>(w)));
      break;
    case WM_ACTIVATE:
      // Activated while shown (back from the icon's menu, a message box, a click on the window):
      // the keys go to the box, not to the form DefWindowProc would focus.
      if (LOWORD(w) != WA_INACTIVE && !HIWORD(w) && IsWindowVisible(hwnd_)) {
        SetFocus(text1_);
        return 0;
      }
      break;
    case WM_ERASEBKGND:
      return 1;  // all drawing in WM_PAINT, from one off-screen picture: no flicker
    case WM_PAINT:
      Paint();
      return 0;
    case WM_TIMER:
      if (w == kTimer1) {
        Timer1_Timer();
        return 0;
      }
      break;
    case WM_MOUSEMOVE:
      Form_MouseMove(w, l);
      return 0;
    case WM_RBUTTONUP:
      Form_MouseUp(2);
      return 0;
    case WM_CLOSE:
      events_.CloseRequested();
      return 0;
    case WM_QUERYENDSESSION:
      return TRUE;  // never refuses; the session may still be cancelled by another program
    case WM_ENDSESSION:
      if (w) events_.CloseRequested();
      return 0;
    case WM_DESTROY:
      PostQuitMessage(0);
      return 0;
    case WM_DPICHANGED:
      return OnDpiChanged(w, l);
    default:
      break;
  }
  return DefWindowProcW(hwnd_, m, w, l);
}

LRESULT Form1::OnDpiChanged(WPARAM w, LPARAM l) {
  // The system suggests where the window goes at the new scale (moved to another monitor,
  // or the scale changed); without a frame its size is the scaled client area.
  ApplyDpi(DpiChangedTo(w));
  // The summon's own move to a monitor of another scale: its place and size are set already.
  // (Windows sends this during that move; Wine sends none for a move.)
  if (placing_) return 0;
  RECT r;
  GetWindowRect(hwnd_, &r);
  SIZE size = FormClientSize(dpi_);
  if (const RECT* suggested = reinterpret_cast<const RECT*>(l)) {
    r = *suggested;
    size = {r.right - r.left, r.bottom - r.top};
  }
  SetWindowPos(hwnd_, nullptr, r.left, r.top, size.cx, size.cy, SWP_NOZORDER | SWP_NOACTIVATE);
  InvalidateRect(hwnd_, nullptr, FALSE);
  return 0;
}

void Form1::ApplyDpi(UINT dpi) {
  dpi_ = dpi;
  RECT box = InputBoxRect(dpi);
  MoveWindow(text1_, box.left, box.top, box.right - box.left, box.bottom - box.top, TRUE);
  UniqueFont font = CreateInputBoxFont(FontChoiceOf(setup_), dpi);
  SendMessageW(text1_, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), TRUE);
  font_ = std::move(font);  // the old font is released only after the box has let go of it
}

void Form1::Paint() {
  PAINTSTRUCT ps;
  HDC dc = BeginPaint(hwnd_, &ps);
  RECT client;
  GetClientRect(hwnd_, &client);
  {
    UniqueDc mem(CreateCompatibleDC(dc));
    UniqueBitmap bmp(CreateCompatibleBitmap(dc, client.right, client.bottom));
    SelectedObject picture(mem.get(), bmp.get());  // let go of before the bitmap is deleted
    skin_.Paint(mem.get(), client, dpi_);
    BitBlt(dc, 0, 0, client.right, client.bottom, mem.get(), 0, 0, SRCCOPY);
  }
  EndPaint(hwnd_, &ps);
}

// ---- summon, icon, menu, timer ----

void Form1::Summon() {
  PlaceForSummon();
  // Shown, then foreground (the hotkey gave this thread the right to take it). Taking the
  // foreground first, while still hidden, moved it about 1 ms sooner under Wine but left more
  // summons without the focus in the box; on Windows the showing itself already activates.
  ShowWindow(hwnd_, SW_SHOW);
  SetForegroundWindow(hwnd_);
  SetFocus(hwnd_);
  SetFocus(text1_);
  // One Right-arrow, applied to the box itself: a synthesised key could reach another window or
  // land between keys the user is already typing.
  DWORD start = 0, end = 0;
  SendMessageW(text1_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  int caret = CaretAfterRight(Text(), static_cast<int>(start), static_cast<int>(end));
  SendMessageW(text1_, EM_SETSEL, static_cast<WPARAM>(caret), static_cast<LPARAM>(caret));
  SetTimer1(true);
  history_.Rewind();
  if (HIMC imc = ImmGetContext(text1_)) {
    ImmSetOpenStatus(imc, FALSE);
    ImmReleaseContext(text1_, imc);
  }
}

void Form1::SetTimer1(bool enabled) {
  // The tick only acts with focus keeping on, so the timer runs only then (and never while hidden).
  if (enabled && setup_.keepFocus)
    SetTimer(hwnd_, kTimer1, kTimer1Interval, nullptr);
  else
    KillTimer(hwnd_, kTimer1);
}

void Form1::Timer1_Timer() {
  if (setup_.keepFocus && IsWindowVisible(hwnd_) && GetFocus() != text1_) SetFocus(text1_);
}

void Form1::Form_MouseMove(WPARAM wParam, LPARAM lParam) {
  const DWORD pos = GetMessagePos();
  POINT pointer{GET_X_LPARAM(pos), GET_Y_LPARAM(pos)};
  ScreenToClient(hwnd_, &pointer);
  if (!Module1::IsIconCallback(wParam, lParam, pointer)) return;  // the pointer moving over the window
  switch (LOWORD(lParam)) {
    case Module1::kTrayLeftUp:
      PlaceForSummon();
      ShowWindow(hwnd_, SW_SHOWNORMAL);
      SetForegroundWindow(hwnd_);
      SetFocus(hwnd_);
      SetTimer1(true);
      break;
    case Module1::kTrayRightUp:
      ShowMenu(true);
      break;
    default:
      break;
  }
}

void Form1::ShowMenu(bool fromIcon) {
  POINT pt;
  GetCursorPos(&pt);
  // Foreground first, or the menu would not close when the user clicks elsewhere.
  SetForegroundWindow(hwnd_);
  TrackPopupMenu(GetSubMenu(menuBar_.get(), 0), TPM_RIGHTBUTTON, pt.x, pt.y, 0, hwnd_, nullptr);
  PostMessageW(hwnd_, WM_NULL, 0, 0);
  // Closed (an entry chosen, posted to run next, or Esc): a keyboard user who came through the
  // notification area goes back there, not into a hidden window. (Shown, the box keeps the focus.)
  // Closed by a click into another window, which Windows activates (that ends the menu): the
  // focus stays there. (Wine's menu takes such a click and activates nothing.)
  if (fromIcon && !IsWindowVisible(hwnd_) && GetForegroundWindow() == hwnd_) events_.IconMenuClosed();
}

void Form1::PlaceForSummon() {
  placing_ = true;
  MoveToSummonPlace(hwnd_, dpi_, [this](UINT dpi) { ApplyDpi(dpi); });
  placing_ = false;
}

}  // namespace tav
