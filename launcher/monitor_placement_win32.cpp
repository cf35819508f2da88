#include "monitor_placement_win32.h"
#include "window_win32.h"

#include <shellscalingapi.h>

#include <vector>

namespace tav {

namespace {

ScreenRect FromRect(const RECT& r) { return {r.left, r.top, r.right, r.bottom}; }

BOOL CALLBACK AddMonitor(HMONITOR monitor, HDC, LPRECT, LPARAM p) {
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  if (!GetMonitorInfoW(monitor, &mi)) return TRUE;
  UINT dpiX = 96, dpiY = 96;
  if (FAILED(GetDpiForMonitor(monitor, MDT_EFFECTIVE_DPI, &dpiX, &dpiY))) dpiY = 96;
  auto* monitors = reinterpret_cast<std::vector<MonitorArea>*>(p);
  // The primary first: it takes ties.
  const MonitorArea area{FromRect(mi.rcMonitor), FromRect(mi.rcWork), dpiY};
  if (mi.dwFlags & MONITORINFOF_PRIMARY)
    monitors->insert(monitors->begin(), area);
  else
    monitors->push_back(area);
  return TRUE;
}

// The desktop itself spans every monitor and says nothing about where the user works; a
// minimised window stands off screen. For these the pointer decides.
bool SaysWhereTheUserWorks(HWND w) {
  if (!w || w == GetDesktopWindow() || w == GetShellWindow() || IsIconic(w)) return false;
  return !IsClass(w, L"Progman") && !IsClass(w, L"WorkerW");
}

}  // namespace

std::optional<SummonPlace> SummonPlaceNow() {
  std::vector<MonitorArea> monitors;
  EnumDisplayMonitors(nullptr, nullptr, &AddMonitor, reinterpret_cast<LPARAM>(&monitors));
  std::optional<ScreenRect> foreground;
  HWND w = GetForegroundWindow();
  RECT r;
  if (SaysWhereTheUserWorks(w) && GetWindowRect(w, &r)) foreground = FromRect(r);
  POINT pointer{};
  GetCursorPos(&pointer);
  return ChooseSummonPlace(monitors, foreground, {pointer.x, pointer.y});
}

void MoveToSummonPlace(HWND w, UINT dpi, const std::function<void(UINT)>& applyDpi) {
  const std::optional<SummonPlace> place = SummonPlaceNow();
  if (!place) return;
  const ScreenRect& to = place->window;
  RECT now;
  GetWindowRect(w, &now);
  if (place->dpi == dpi && ScreenRect{now.left, now.top, now.right, now.bottom} == to) return;
  if (place->dpi != dpi) applyDpi(place->dpi);
  SetWindowPos(w, nullptr, to.left, to.top, to.right - to.left, to.bottom - to.top, SWP_NOZORDER | SWP_NOACTIVATE);
}

}  // namespace tav
