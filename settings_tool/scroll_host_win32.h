// A window whose controls may stand taller than its screen: sized for them inside the work area
// and, where they do not fit, scrolled by its bar, the wheel, PageUp/PageDown and the focus.
#pragma once
#include <windows.h>

#include <vector>

#include "caption_fit_win32.h"
#include "window_win32.h"

namespace tav::settings {

class ScrollHost {
 public:
  ScrollHost() = default;
  ScrollHost(const ScrollHost&) = delete;
  ScrollHost& operator=(const ScrollHost&) = delete;
  ~ScrollHost() { Detach(); }

  // Serves window from now on: a control of it taking the focus is scrolled into view.
  void Attach(HWND window);
  void Detach();  // at the latest when the window is destroyed

  // Controls at the foot of the content (the window's own buttons): when the window scrolls they
  // stay in a strip along its bottom edge, in view, and the rest scrolls above the strip.
  void SetFoot(std::vector<HWND> foot) { foot_ = std::move(foot); }

  // The controls' places at dpi, unscrolled, and the client area they need. At a new dpi the
  // content keeps its scrolled position.
  void SetContent(std::vector<PlacedControl> places, SIZE content, UINT dpi);

  // Sizes the window for its content on the monitor of target (else its own), inside the work
  // area: centred, or at target's top-left when given; taller than the work area, it scrolls.
  void Place(const RECT* target);

  // The host's messages (the bar, the wheel, the focus, the size at a new scale); true when handled.
  bool HandleMessage(UINT msg, WPARAM wp, LPARAM lp, LRESULT& result);

  // PageUp or PageDown pressed in a control that does not use them itself: a page scrolled.
  bool PageKey(const MSG& msg);

 private:
  // Scrolls the content to y (kept in range); force: place the controls even when y is unchanged.
  void ScrollTo(int y, bool force = false);
  void ScrollFocusIntoView();
  void OnVScroll(WPARAM wp);
  void OnMouseWheel(WPARAM wp);
  bool DpiScaledSize(UINT dpi, SIZE& size) const;
  int ClientHeight() const;
  bool IsFoot(HWND control) const;
  // The height of the foot strip while the window scrolls; 0 when it does not.
  int FootHeight() const;
  int Px(int dip) const { return tav::Px(dip, dpi_); }
  static LRESULT CALLBACK FocusHook(int code, WPARAM wp, LPARAM lp);

  HWND hwnd_ = nullptr;
  UINT dpi_ = 0;
  std::vector<PlacedControl> places_;
  std::vector<HWND> foot_;
  int footTop_ = 0;  // where the foot strip starts in the content: below everything that scrolls
  SIZE content_{};
  int scrollY_ = 0;
  int wheelRest_ = 0;  // wheel movement below one line, kept for the next notch
};

}  // namespace tav::settings
