// The settings window's visual settings: the colour components, the font boxes, the preview.
#include "form1_win32.h"

#include <commctrl.h>

#include "install_folder.h"
#include "settings_form.h"

namespace tav::settings {

namespace {
using Id = Form1Id;
}  // namespace

void Form1::OnHScroll(WPARAM wp, LPARAM lp) {
  HWND bar = reinterpret_cast<HWND>(lp);
  const int c = bar ? ComponentOf(GetDlgCtrlID(bar), Id::HScroll1) : -1;
  if (c < 0) return;
  int value = GetScrollPos(bar, SB_CTL);
  switch (LOWORD(wp)) {
    case SB_LINELEFT: value -= 1; break;
    case SB_LINERIGHT: value += 1; break;
    case SB_PAGELEFT: value -= 16; break;
    case SB_PAGERIGHT: value += 16; break;
    case SB_LEFT: value = 0; break;
    case SB_RIGHT: value = 255; break;
    case SB_THUMBTRACK:
    case SB_THUMBPOSITION: value = HIWORD(wp); break;
    default: return;
  }
  HScroll_Change(c, value < 0 ? 0 : value > 255 ? 255 : value);
}

void Form1::ComponentBox_Change(int c) {
  colours_.BoxChanged(c, Text(Offset(Id::Text1, c)));
  SyncComponents();
}

void Form1::ComponentBox_LostFocus(int c) {
  colours_.BoxLeft(c);
  SyncComponents();
}

void Form1::HScroll_Change(int c, int value) {
  colours_.ScrollTo(c, value);
  SyncComponents();
}

void Form1::SyncComponents() {
  applying_ = true;
  for (int c = 0; c < kComponentCount; ++c) {
    HWND box = Item(Offset(Id::Text1, c));
    if (Text(Offset(Id::Text1, c)) != colours_.BoxText(c)) {
      SetWindowText(box, colours_.BoxText(c));
      auto end = static_cast<LPARAM>(colours_.BoxText(c).size());
      SendMessageW(box, EM_SETSEL, static_cast<WPARAM>(end), end);
    }
    HWND bar = Item(Offset(Id::HScroll1, c));
    if (GetScrollPos(bar, SB_CTL) != colours_.ScrollValue(c)) SetScrollPos(bar, SB_CTL, colours_.ScrollValue(c), TRUE);
  }
  applying_ = false;
}

bool Form1::NarrowDigitsIn(Form1Id id, bool hex) {
  const std::u16string text = Text(id), narrow = NarrowDigits(text, hex);
  if (narrow == text) return false;
  HWND box = Item(id);
  DWORD start = 0, end = 0;
  SendMessageW(box, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  SetText(id, narrow);  // as many characters: the caret stays where it was
  SendMessageW(box, EM_SETSEL, start, end);
  return true;
}

LRESULT CALLBACK Form1::Combo1_Wheel(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR ref) {
  const auto byDefault = [&] { return DefSubclassProc(w, msg, wp, lp); };
  return AnswerOrDefault(
      [&]() -> LRESULT {
        if (msg == WM_NCDESTROY) {
          RemoveWindowSubclass(w, Combo1_Wheel, id);
        } else if (msg == WM_MOUSEWHEEL) {
          // As the window scrolls, the box slides under a still pointer, and each notch would change
          // the font the next save writes. Windows gives the wheel to the edit under the pointer, which
          // passes it up to the box; Wine's edit keeps it: both are served here.
          auto* self = reinterpret_cast<Form1*>(ref);
          HWND box = self->Item(Id::Combo1), focus = GetFocus();
          if (!SendMessageW(box, CB_GETDROPPEDSTATE, 0, 0) && focus != box && !IsChild(box, focus)) {
            SendMessageW(self->hwnd_, WM_MOUSEWHEEL, wp, lp);
            return 0;
          }
        }
        return byDefault();
      },
      byDefault);
}

void Form1::Text12_LostFocus() {
  if (auto replacement = FontSizeOnLeave(Text(Id::Text12))) SetText(Id::Text12, *replacement);
}

void Form1::Command10_Click() {
  InputBoxFontChoice font = form2_.Font();
  font.face = Text(Id::Combo1);
  if (auto size = PreviewFontSize(Text(Id::Text12))) font.points = *size;  // else the previous size stays
  font.bold = Ticked(Id::Check6);
  font.italic = Ticked(Id::Check7);
  form2_.SetFont(font);
}

void Form1::Command1_Click() {
  if (form2_.Visible())
    form2_.Hide();
  else
    form2_.Show();
}

void Form1::Check3_Click() {
  if (Ticked(Id::Check3))
    form2_.LoadSkin(SkinFilePath(folder_));
  else
    form2_.ClearSkin();
}

}  // namespace tav::settings
