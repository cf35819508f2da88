#include "caption_fit_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <string>

#include "drop_area_win32.h"
#include "window_win32.h"

namespace tav::settings {
namespace {


std::wstring CaptionOf(HWND w) {
  const std::u16string caption = WindowText(w);
  return std::wstring(caption.begin(), caption.end());
}

// The caption's extent in the control's font: one line, or wrapped at width when width > 0.
SIZE TextExtent(HWND w, const std::wstring& text, int width, UINT format, int* lineHeight) {
  WindowDc windowDc(w);
  const HDC dc = windowDc.get();
  SelectedObject font(dc, reinterpret_cast<HFONT>(SendMessageW(w, WM_GETFONT, 0, 0)));
  TEXTMETRICW tm{};
  GetTextMetricsW(dc, &tm);
  if (lineHeight) *lineHeight = tm.tmHeight;
  RECT r{0, 0, width > 0 ? width : 0, 0};
  UINT flags = DT_CALCRECT | DT_EXPANDTABS | format | (width > 0 ? DT_WORDBREAK : DT_SINGLELINE);
  if (!text.empty()) DrawTextW(dc, text.c_str(), static_cast<int>(text.size()), &r, flags);
  return {r.right - r.left, text.empty() ? 0 : std::max<LONG>(r.bottom - r.top, tm.tmHeight)};
}


// Pixels the control's border takes across and down.
SIZE BorderOf(HWND w, UINT dpi) {
  const LONG_PTR ex = GetWindowLongPtrW(w, GWL_EXSTYLE), style = GetWindowLongPtrW(w, GWL_STYLE);
  int x = 0, y = 0;
  if (ex & WS_EX_CLIENTEDGE) {
    x += 2 * GetSystemMetricsForDpi(SM_CXEDGE, dpi);
    y += 2 * GetSystemMetricsForDpi(SM_CYEDGE, dpi);
  }
  if (ex & WS_EX_STATICEDGE || style & WS_BORDER) {
    x += 2 * GetSystemMetricsForDpi(SM_CXBORDER, dpi);
    y += 2 * GetSystemMetricsForDpi(SM_CYBORDER, dpi);
  }
  return {x, y};
}

// A label's need: a drop area's caption inside its edge, a one-line label's width, a wrapping
// label's height at its width.
void StaticNeed(HWND w, const std::wstring& text, int width, UINT dpi, FlowItem& item) {
  int line = 0;
  if (IsDropArea(w)) {
    const int inset = LayOutDropArea(w, dpi);
    item.inset = inset;
    item.needHeight = TextExtent(w, text, width - 2 * inset, kDropAreaFormat, &line).cy + 2 * inset;
    return;
  }
  const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
  SIZE border = BorderOf(w, dpi);
  const UINT prefix = (style & SS_NOPREFIX) ? DT_NOPREFIX : 0;
  const LONG_PTR type = style & SS_TYPEMASK;
  if (type == SS_LEFTNOWORDWRAP || type == SS_SIMPLE) {
    SIZE s = TextExtent(w, text, 0, prefix, &line);
    item.needWidth = s.cx + border.cx;
    item.needHeight = s.cy + border.cy;
  } else {
    item.needHeight = TextExtent(w, text, width - border.cx, prefix, &line).cy + border.cy;
  }
}

// A button's need by its kind: a group's title, a check or radio box with its caption, a push button.
void ButtonNeed(HWND w, const std::wstring& text, UINT dpi, FlowItem& item) {
  int line = 0;
  SIZE s = TextExtent(w, text, 0, 0, &line);
  switch (GetWindowLongPtrW(w, GWL_STYLE) & BS_TYPEMASK) {
    case BS_GROUPBOX:
      item.group = true;
      item.needWidth = s.cx + Px(16, dpi);
      item.captionBand = line + Px(3, dpi);
      break;
    case BS_CHECKBOX:
    case BS_AUTOCHECKBOX:
    case BS_RADIOBUTTON:
    case BS_AUTORADIOBUTTON:
    case BS_3STATE:
    case BS_AUTO3STATE: {
      int box = GetSystemMetricsForDpi(SM_CXMENUCHECK, dpi);
      item.needWidth = box + Px(6, dpi) + s.cx;
      item.needHeight = std::max<int>(s.cy, box);
      break;
    }
    default: {
      int edge = GetSystemMetricsForDpi(SM_CXEDGE, dpi);
      item.needWidth = s.cx + 2 * edge + Px(6, dpi);
      item.needHeight = s.cy + 2 * GetSystemMetricsForDpi(SM_CYEDGE, dpi);
      break;
    }
  }
}

// What a control's caption needs at its designed place (pixels), measured in its own font.
FlowItem CaptionNeed(HWND w, const RECT& place, UINT dpi) {
  FlowItem item;
  item.place = {place.left, place.top, place.right, place.bottom};
  if (IsClass(w, L"Static")) {
    StaticNeed(w, CaptionOf(w), place.right - place.left, dpi, item);
  } else if (IsClass(w, L"Button")) {
    ButtonNeed(w, CaptionOf(w), dpi, item);
  } else if (IsClass(w, L"Edit")) {
    // A box's text scrolls across, but a line must fit from top to bottom.
    int line = 0;
    TextExtent(w, L"", 0, 0, &line);
    item.needHeight = line + BorderOf(w, dpi).cy;
  } else if (IsClass(w, WC_COMBOBOXW)) {
    // The closed box is as high as its font makes it; that is its place in the rows.
    RECT r;
    GetWindowRect(w, &r);
    item.place.bottom = item.place.top + (r.bottom - r.top);
  } else if (IsClass(w, L"ScrollBar")) {
    item.keepHeight = true;
  }
  return item;
}

}  // namespace

CaptionLayout LayOutCaptions(const std::vector<DesignedControl>& controls, SIZE clientTwips, UINT dpi) {
  auto px = [dpi](LONG twips) { return TwipsToPixels(twips, dpi); };
  std::vector<FlowItem> items;
  std::vector<int> listExtra;  // a combo box's list below its closed box
  for (const DesignedControl& c : controls) {
    RECT place{px(c.twips.left), px(c.twips.top), px(c.twips.right), px(c.twips.bottom)};
    items.push_back(CaptionNeed(c.control, place, dpi));
    listExtra.push_back((place.bottom - place.top) - items.back().place.Height());
  }
  FlowResult flowed = FlowLayout(items, px(clientTwips.cx), px(clientTwips.cy), MulDiv(4, static_cast<int>(dpi), 96));
  CaptionLayout layout;
  layout.client = {flowed.width, flowed.height};
  for (std::size_t i = 0; i < controls.size(); ++i) {
    const Box& b = flowed.places[i];
    layout.places.push_back({controls[i].control, {b.left, b.top, b.right, b.bottom + std::max(0, listExtra[i])}});
  }
  return layout;
}

void ApplyPlaces(const std::vector<PlacedControl>& places, int scrollY, int viewBottom) {
  HDWP batch = BeginDeferWindowPos(static_cast<int>(places.size()));
  for (const PlacedControl& p : places) {
    const RECT& r = p.place;
    if (batch)
      batch = DeferWindowPos(batch, p.control, nullptr, r.left, r.top - scrollY, r.right - r.left, r.bottom - r.top,
                             SWP_NOZORDER | SWP_NOACTIVATE);
    else
      SetWindowPos(p.control, nullptr, r.left, r.top - scrollY, r.right - r.left, r.bottom - r.top,
                   SWP_NOZORDER | SWP_NOACTIVATE);
  }
  if (batch) EndDeferWindowPos(batch);

  // A caption stands right before the box it names in the window order (where a screen reader
  // looks for the box's name), so it lies above the box: it gives way wherever its rectangle
  // reaches into a later control, as if it lay beneath. And below the view's bottom nothing
  // shows: the foot strip is there.
  for (const PlacedControl& p : places) {
    const RECT& r = p.place;
    HRGN shape = nullptr;
    auto cut = [&](const RECT& away) {
      if (!shape) shape = CreateRectRgn(0, 0, r.right - r.left, r.bottom - r.top);
      UniqueOwner<HRGN, GdiTraits<HRGN>> hole(CreateRectRgn(away.left - r.left, away.top - r.top, away.right - r.left, away.bottom - r.top));
      CombineRgn(shape, shape, hole.get(), RGN_DIFF);
    };
    if (IsClass(p.control, L"Static"))
      for (HWND below = GetWindow(p.control, GW_HWNDNEXT); below; below = GetWindow(below, GW_HWNDNEXT)) {
        if ((GetWindowLongPtrW(below, GWL_STYLE) & BS_TYPEMASK) == BS_GROUPBOX && IsClass(below, L"Button")) continue;
        for (const PlacedControl& q : places) {
          RECT both;
          if (q.control == below && IntersectRect(&both, &r, &q.place)) cut(q.place);
        }
      }
    if (viewBottom >= 0 && r.bottom - scrollY > viewBottom)
      cut({r.left, viewBottom + scrollY, r.right, std::max<LONG>(r.bottom, viewBottom + scrollY)});
    RECT box;
    if (shape || GetWindowRgnBox(p.control, &box) != ERROR) SetWindowRgn(p.control, shape, FALSE);  // owns shape
  }
}

SIZE WindowSizeForClient(HWND w, SIZE client, UINT dpi) {
  RECT r{0, 0, client.cx, client.cy};
  const DWORD style = static_cast<DWORD>(GetWindowLongPtrW(w, GWL_STYLE)) & ~WS_VSCROLL;
  AdjustWindowRectExForDpi(&r, style, GetMenu(w) != nullptr, static_cast<DWORD>(GetWindowLongPtrW(w, GWL_EXSTYLE)),
                           dpi);
  return {r.right - r.left, r.bottom - r.top};
}

HWND CreatePlacedControl(const ControlPlace& c, HWND parent, HINSTANCE instance) {
  return CreateWindowExW(c.exStyle, c.cls, c.caption, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | c.style, 0, 0, 0, 0,
                         parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
}

}  // namespace tav::settings
