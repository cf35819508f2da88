#include "drop_area_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "text_encoding.h"
#include "window_win32.h"

namespace tav::settings {
namespace {

// The DPI the area draws at; a property, so that any label can be one.
constexpr wchar_t kDropAreaProp[] = L"TavimsetDropAreaDpi";
constexpr UINT_PTR kDropPaintId = 0x7462;


void SetDropAreaDpi(HWND w, UINT dpi) {
  SetPropW(w, kDropAreaProp, reinterpret_cast<HANDLE>(static_cast<UINT_PTR>(dpi)));
}

UINT DropAreaDpi(HWND w) { return static_cast<UINT>(reinterpret_cast<UINT_PTR>(GetPropW(w, kDropAreaProp))); }
int DropAreaInset(UINT dpi) { return Px(4, dpi); }  // the edge and a little air inside it

LRESULT DropAreaMessage(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id);

LRESULT CALLBACK DropAreaProc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR) {
  return AnswerOrDefault([&] { return DropAreaMessage(w, msg, wp, lp, id); },
                         [&] { return DefSubclassProc(w, msg, wp, lp); });
}

LRESULT DropAreaMessage(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id) {
  switch (msg) {
    case WM_PAINT: {
      PAINTSTRUCT ps;
      HDC dc = BeginPaint(w, &ps);
      RECT client;
      GetClientRect(w, &client);
      FillRect(dc, &client, GetSysColorBrush(COLOR_WINDOW));
      const UINT dpi = DropAreaDpi(w);
      {
        UniquePen pen(CreatePen(PS_DOT, 1, GetSysColor(COLOR_HIGHLIGHT)));
        SelectedObject usePen(dc, pen.get());
        SelectedObject noFill(dc, GetStockObject(NULL_BRUSH));
        const int edge = std::max(1, Px(1, dpi));
        for (int i = 0; i < edge; ++i)
          Rectangle(dc, client.left + i, client.top + i, client.right - i, client.bottom - i);
      }
      const std::u16string text = WindowText(w);
      RECT area = DropAreaTextRect(w);
      SelectedObject font(dc, reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)));
      RECT calc{0, 0, area.right - area.left, 0};
      DrawTextW(dc, W(text), static_cast<int>(text.size()), &calc, DT_CALCRECT | DT_WORDBREAK | kDropAreaFormat);
      RECT out = area;
      out.top += std::max<LONG>(0, ((area.bottom - area.top) - (calc.bottom - calc.top)) / 2);
      SetBkMode(dc, TRANSPARENT);
      SetTextColor(dc, GetSysColor(IsWindowEnabled(w) ? COLOR_WINDOWTEXT : COLOR_GRAYTEXT));
      DrawTextW(dc, W(text), static_cast<int>(text.size()), &out, DT_WORDBREAK | kDropAreaFormat);
      EndPaint(w, &ps);
      return 0;
    }
    case WM_ERASEBKGND:
      return 1;
    case WM_NCDESTROY:
      RemovePropW(w, kDropAreaProp);
      RemoveWindowSubclass(w, DropAreaProc, id);
      break;
  }
  return DefSubclassProc(w, msg, wp, lp);
}

}  // namespace

void MakeDropArea(HWND label) {
  UINT dpi = GetDpiForWindow(label);
  SetDropAreaDpi(label, dpi ? dpi : 96);
  SetWindowSubclass(label, DropAreaProc, kDropPaintId, 0);
  InvalidateRect(label, nullptr, TRUE);
}

bool IsDropArea(HWND w) { return DropAreaDpi(w) != 0; }

RECT DropAreaTextRect(HWND label) {
  RECT r;
  GetClientRect(label, &r);
  int inset = DropAreaInset(DropAreaDpi(label));
  InflateRect(&r, -inset, -inset);
  return r;
}

int LayOutDropArea(HWND label, UINT dpi) {
  SetDropAreaDpi(label, dpi);
  return DropAreaInset(dpi);
}

}  // namespace tav::settings
