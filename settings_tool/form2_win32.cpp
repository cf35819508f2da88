#include "form2_win32.h"

#include <windowsx.h>

#include "settings.h"
#include "text_encoding.h"

namespace tav::settings {

namespace {
enum Form2Id : int { Text1 = 100, m_Close = 110 };
}  // namespace

bool Form2::Create(HINSTANCE instance, HWND owner) {
  owner_ = owner;
  if (!Window::Create(instance, {kForm2Class}, 0, L"プレビュー", WS_POPUP | WS_CLIPCHILDREN, 0, 0, 0, 0, owner))
    return false;
  // Its own monitor's scale, which need not be the settings window's.
  dpi_ = WindowDpi(hwnd_);
  SIZE client = FormClientSize(dpi_);
  SetWindowPos(hwnd_, nullptr, 0, 0, client.cx, client.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT box = InputBoxRect(dpi_);
  text1_ = CreateWindowExW(0, L"EDIT", kPreviewSample, WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, box.left, box.top,
                           box.right - box.left, box.bottom - box.top, hwnd_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(Text1)), instance, nullptr);
  HMENU popup = CreatePopupMenu();
  AppendMenuW(popup, MF_STRING, m_Close, L"閉じる(&X)");
  menu_.reset(CreateMenu());
  AppendMenuW(menu_.get(), MF_POPUP, reinterpret_cast<UINT_PTR>(popup), L"メニュー(&M)");
  ApplyFont();  // the default font until the settings are read
  return text1_ != nullptr;
}

LRESULT Form2::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  switch (msg) {
    case WM_ERASEBKGND: {
      RECT client;
      GetClientRect(hwnd_, &client);
      HDC dc = reinterpret_cast<HDC>(wp);
      skin_.Paint(dc, client, dpi_);
      return 1;
    }
    case WM_CTLCOLOREDIT:
      return reinterpret_cast<LRESULT>(colours_.Apply(reinterpret_cast<HDC>(wp)));
    case WM_NCHITTEST: {
      // No caption: the background drags the window so it can be moved off what it covers.
      LRESULT hit = DefWindowProcW(hwnd_, msg, wp, lp);
      return hit == HTCLIENT ? HTCAPTION : hit;
    }
    case WM_CONTEXTMENU:
      if (reinterpret_cast<HWND>(wp) == hwnd_) {
        POINT at{GET_X_LPARAM(lp), GET_Y_LPARAM(lp)};
        TrackPopupMenu(GetSubMenu(menu_.get(), 0), TPM_RIGHTBUTTON, at.x, at.y, 0, hwnd_, nullptr);
        return 0;
      }
      break;
    case WM_NCRBUTTONUP:
      SendMessageW(hwnd_, WM_CONTEXTMENU, reinterpret_cast<WPARAM>(hwnd_), lp);
      return 0;
    case WM_DPICHANGED: {
      // Moved to a monitor of another scale: the suggested place, the size of that scale.
      SetDpi(DpiChangedTo(wp));
      const RECT* suggested = reinterpret_cast<const RECT*>(lp);
      if (suggested)
        SetWindowPos(hwnd_, nullptr, suggested->left, suggested->top, 0, 0, SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
      return 0;
    }
    case WM_CLOSE:
      Hide();  // the program never closes the preview
      return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

void Form2::SetBackColour(std::uint32_t bgr) {
  colours_.Set(bgr, colours_.Text());
  if (text1_) InvalidateRect(text1_, nullptr, TRUE);
}

void Form2::SetTextColour(std::uint32_t bgr) {
  colours_.Set(colours_.Back(), bgr);
  if (text1_) InvalidateRect(text1_, nullptr, TRUE);
}

void Form2::SetFont(const InputBoxFontChoice& font) {
  font_ = font;
  ApplyFont();
}

void Form2::ApplyFont() {
  UniqueFont f = CreateInputBoxFont(font_, dpi_);
  if (!f) return;  // keep the previous font
  SendMessageW(text1_, WM_SETFONT, reinterpret_cast<WPARAM>(f.get()), TRUE);
  boxFont_ = std::move(f);
}

void Form2::SetDpi(UINT dpi) {
  if (dpi == dpi_ || !dpi) return;
  dpi_ = dpi;
  SIZE client = FormClientSize(dpi_);
  SetWindowPos(hwnd_, nullptr, 0, 0, client.cx, client.cy, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  RECT box = InputBoxRect(dpi_);
  SetWindowPos(text1_, nullptr, box.left, box.top, box.right - box.left, box.bottom - box.top,
               SWP_NOZORDER | SWP_NOACTIVATE);
  ApplyFont();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form2::LoadSkin(const std::u16string& path) {
  skin_.Load(path);  // a missing picture leaves the plain background
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form2::ClearSkin() {
  skin_.Clear();
  InvalidateRect(hwnd_, nullptr, TRUE);
}

void Form2::PlaceBesideOwner() {
  RECT owner{}, self{};
  GetWindowRect(owner_, &owner);
  GetWindowRect(hwnd_, &self);
  int w = self.right - self.left, h = self.bottom - self.top;
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(MonitorFromWindow(owner_, MONITOR_DEFAULTTONEAREST), &mi);
  const RECT& work = mi.rcWork;
  int gap = MulDiv(8, static_cast<int>(dpi_), 96);
  int top = owner.top + MulDiv(60, static_cast<int>(dpi_), 96);
  // Beside the settings window on the side with more room; pushed inside the screen, it covers
  // at most the edge of the window (it can be dragged away by its background).
  int roomRight = work.right - owner.right, roomLeft = owner.left - work.left;
  int x = roomRight >= roomLeft ? owner.right + gap : owner.left - gap - w;
  const RECT beside{x, top, x + w, top + h};
  PlaceInWorkArea(hwnd_, work, {w, h}, {w, h}, &beside);  // no frame: the client is the window
  // Moved while hidden: take the scale of the monitor it now stands on.
  SetDpi(WindowDpi(hwnd_));
}

void Form2::Show() {
  if (!placed_) {
    PlaceBesideOwner();
    placed_ = true;
  }
  ShowWindow(hwnd_, SW_SHOWNA);
}

void Form2::Hide() { ShowWindow(hwnd_, SW_HIDE); }

}  // namespace tav::settings
