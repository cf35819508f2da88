#include "scroll_host_win32.h"

#include <commctrl.h>

#include <algorithm>

#include "handles_win32.h"
#include "window_win32.h"

namespace tav::settings {

namespace {

constexpr UINT kScrollToFocusMessage = WM_APP + 1;

// The windows served on this thread, and the one hook that tells them of focus changes.
thread_local std::vector<HWND> hosts;
thread_local UniqueHook focusHook;

}  // namespace

void ScrollHost::Attach(HWND window) {
  Detach();
  hwnd_ = window;
  hosts.push_back(window);
  if (!focusHook) focusHook.reset(SetWindowsHookExW(WH_CBT, FocusHook, nullptr, GetCurrentThreadId()));
}

void ScrollHost::Detach() {
  if (!hwnd_) return;
  hosts.erase(std::remove(hosts.begin(), hosts.end(), hwnd_), hosts.end());
  hwnd_ = nullptr;
  if (hosts.empty()) focusHook.reset();
}

LRESULT CALLBACK ScrollHost::FocusHook(int code, WPARAM wp, LPARAM lp) {
  return AnswerOrDefault(
      [&] {
        if (code != HCBT_SETFOCUS || !wp) return;
        HWND root = GetAncestor(reinterpret_cast<HWND>(wp), GA_ROOT);
        if (root && std::find(hosts.begin(), hosts.end(), root) != hosts.end())
          PostMessageW(root, kScrollToFocusMessage, 0, 0);  // once the focus has arrived
      },
      [&] { return CallNextHookEx(nullptr, code, wp, lp); });
}

void ScrollHost::SetContent(std::vector<PlacedControl> places, SIZE content, UINT dpi) {
  if (dpi_ && dpi != dpi_) scrollY_ = MulDiv(scrollY_, static_cast<int>(dpi), static_cast<int>(dpi_));
  dpi_ = dpi;
  places_ = std::move(places);
  content_ = content;
  int footTop = content_.cy, above = 0;
  for (const PlacedControl& p : places_)
    if (IsFoot(p.control)) footTop = std::min<int>(footTop, p.place.top);
  for (const PlacedControl& p : places_)
    if (!IsFoot(p.control) && p.place.bottom <= footTop) above = std::max<int>(above, p.place.bottom);
  footTop_ = foot_.empty() ? content_.cy : above;
}

bool ScrollHost::IsFoot(HWND control) const {
  return std::find(foot_.begin(), foot_.end(), control) != foot_.end();
}

int ScrollHost::FootHeight() const {
  return content_.cy > ClientHeight() ? content_.cy - footTop_ : 0;
}

int ScrollHost::ClientHeight() const {
  RECT c;
  GetClientRect(hwnd_, &c);
  return c.bottom;
}

void ScrollHost::Place(const RECT* target) {
  const RECT work = WorkAreaOf(hwnd_, target);
  const int workH = work.bottom - work.top;
  SIZE frame = WindowSizeForClient(hwnd_, content_, dpi_);
  const bool scrolls = frame.cy > workH;
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_RANGE | SIF_PAGE;
  si.nMax = scrolls ? content_.cy - 1 : 0;
  si.nPage = scrolls ? static_cast<UINT>(workH / 2) : 1;  // the page is set below, once the client is known
  SetScrollInfo(hwnd_, SB_VERT, &si, FALSE);
  if (scrolls) frame.cx += GetSystemMetricsForDpi(SM_CXVSCROLL, dpi_);
  PlaceInWorkArea(hwnd_, work, frame, content_, target, !scrolls);
  // What scrolls is the content above the foot strip, in the client above it.
  si.fMask = SIF_RANGE | SIF_PAGE;
  si.nPage = static_cast<UINT>(ClientHeight() - FootHeight());
  si.nMax = content_.cy - FootHeight() - 1;
  SetScrollInfo(hwnd_, SB_VERT, &si, TRUE);
  ScrollTo(scrollY_, true);
}

void ScrollHost::ScrollTo(int y, bool force) {
  const int limit = std::max<int>(0, content_.cy - ClientHeight());
  y = std::max(0, std::min(y, limit));
  if (y == scrollY_ && !force) return;
  scrollY_ = y;
  SetScrollPos(hwnd_, SB_VERT, y, TRUE);
  std::vector<PlacedControl> scrolled, foot;
  for (const PlacedControl& p : places_) (IsFoot(p.control) ? foot : scrolled).push_back(p);
  const int footHeight = FootHeight();
  ApplyPlaces(scrolled, scrollY_, footHeight ? ClientHeight() - footHeight : -1);
  // The foot keeps to the bottom edge; where nothing scrolls it stands at its own place.
  ApplyPlaces(foot, footHeight ? content_.cy - ClientHeight() : 0);
  RedrawWindow(hwnd_, nullptr, nullptr, RDW_ERASE | RDW_INVALIDATE | RDW_ALLCHILDREN);
}

void ScrollHost::ScrollFocusIntoView() {
  HWND focus = GetFocus();
  while (focus && GetParent(focus) != hwnd_) focus = GetParent(focus);
  if (!focus) return;
  if (IsFoot(focus)) return;  // always in view
  for (const PlacedControl& p : places_) {
    if (p.control != focus) continue;
    const int margin = Px(4), height = ClientHeight() - FootHeight();
    if (p.place.top - scrollY_ < 0)
      ScrollTo(p.place.top - margin);
    else if (p.place.bottom - scrollY_ > height && p.place.bottom - p.place.top <= height)
      ScrollTo(p.place.bottom - height + margin);
    return;
  }
}

void ScrollHost::OnVScroll(WPARAM wp) {
  SCROLLINFO si{};
  si.cbSize = sizeof si;
  si.fMask = SIF_ALL;
  GetScrollInfo(hwnd_, SB_VERT, &si);
  const int line = Px(20), page = std::max(line, static_cast<int>(si.nPage) - line);
  switch (LOWORD(wp)) {
    case SB_LINEUP: ScrollTo(scrollY_ - line); break;
    case SB_LINEDOWN: ScrollTo(scrollY_ + line); break;
    case SB_PAGEUP: ScrollTo(scrollY_ - page); break;
    case SB_PAGEDOWN: ScrollTo(scrollY_ + page); break;
    case SB_TOP: ScrollTo(0); break;
    case SB_BOTTOM: ScrollTo(content_.cy); break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: ScrollTo(si.nTrackPos); break;
    default: break;
  }
}

void ScrollHost::OnMouseWheel(WPARAM wp) {
  UINT lines = 3;
  SystemParametersInfoW(SPI_GETWHEELSCROLLLINES, 0, &lines, 0);
  if (lines == WHEEL_PAGESCROLL) lines = static_cast<UINT>(std::max(1, ClientHeight() / Px(20)));
  wheelRest_ += GET_WHEEL_DELTA_WPARAM(wp);
  const int notches = wheelRest_ / WHEEL_DELTA;
  wheelRest_ -= notches * WHEEL_DELTA;
  if (notches) ScrollTo(scrollY_ - notches * static_cast<int>(lines) * Px(20));
}

bool ScrollHost::PageKey(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || (msg.wParam != VK_PRIOR && msg.wParam != VK_NEXT) ||
      content_.cy <= ClientHeight())
    return false;
  // Scroll bars and the font list (and the box inside it) use these keys themselves.
  if (GetParent(msg.hwnd) != hwnd_ || IsClass(msg.hwnd, L"ScrollBar") || IsClass(msg.hwnd, WC_COMBOBOXW))
    return false;
  OnVScroll(msg.wParam == VK_PRIOR ? SB_PAGEUP : SB_PAGEDOWN);
  return true;
}

bool ScrollHost::DpiScaledSize(UINT dpi, SIZE& size) const {
  // The size this window will take at that scale, so the rectangle Windows then suggests
  // (and the monitor it picks by it) is the one the window ends up with.
  if (!dpi || !dpi_) return false;
  SIZE content{MulDiv(content_.cx, static_cast<int>(dpi), static_cast<int>(dpi_)),
               MulDiv(content_.cy, static_cast<int>(dpi), static_cast<int>(dpi_))};
  SIZE frame = WindowSizeForClient(hwnd_, content, dpi);
  // The scale changes because the window now stands mostly on the other monitor.
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(MonitorFromWindow(hwnd_, MONITOR_DEFAULTTONEAREST), &mi);
  if (frame.cy > mi.rcWork.bottom - mi.rcWork.top) {
    frame.cy = mi.rcWork.bottom - mi.rcWork.top;
    frame.cx += GetSystemMetricsForDpi(SM_CXVSCROLL, dpi);
  }
  size = frame;
  return true;
}

bool ScrollHost::HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result) {
  switch (msg) {
    case WM_VSCROLL:
      OnVScroll(wp);
      result = 0;
      return true;
    case WM_MOUSEWHEEL:
      OnMouseWheel(wp);
      result = 0;
      return true;
    case kScrollToFocusMessage:
      ScrollFocusIntoView();
      result = 0;
      return true;
    case WM_GETDPISCALEDSIZE:
      result = DpiScaledSize(static_cast<UINT>(wp), *reinterpret_cast<SIZE*>(lp)) ? TRUE : FALSE;
      return true;
    default:
      return false;
  }
}

}  // namespace tav::settings
