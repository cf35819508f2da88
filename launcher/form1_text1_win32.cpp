// Form1's input box: completion as the user types, Tab through the matches, the session's lines
// with Up and Down, Enter and Esc, and an input method's composition.
#include "form1_win32.h"

#include "enter_keys_win32.h"
#include "text_encoding.h"

namespace tav {

LRESULT CALLBACK Form1::Text1Proc(HWND h, UINT m, WPARAM w, LPARAM l) {
  auto* form = reinterpret_cast<Form1*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  const auto byDefault = [&] { return CallWindowProcW(form->text1Proc_, h, m, w, l); };
  if (m == WM_IME_STARTCOMPOSITION) form->completion_.SetComposing(true);
  if (m == WM_IME_ENDCOMPOSITION) {
    // Completion starts from the committed text, once it is all in the box.
    const LRESULT r = byDefault();
    form->completion_.SetComposing(false);
    AnswerOrDefault([&] { form->Text1_Change(); return LRESULT{0}; }, [] { return LRESULT{0}; });
    return r;
  }
  if (m != WM_KEYDOWN && m != WM_CHAR) return byDefault();
  return AnswerOrDefault(
      [&] {
        const auto key = static_cast<wchar_t>(w);
        const bool used =
            m == WM_KEYDOWN ? form->Text1_KeyDown(w) : form->Text1_KeyPress(key) || form->Text1_TypeCompleted(key);
        return used ? 0 : byDefault();
      },
      byDefault);
}

// ---- Text1 ----

void Form1::Text1_Change() { completion_.Text1_Change(*this, list_); }

bool Form1::Text1_KeyDown(WPARAM key) {
  // The input method's own keys while it composes (Windows hands them over as VK_PROCESSKEY;
  // anything else that comes through is the composition's too).
  if (completion_.Composing()) return false;
  if (key == VK_TAB) {
    DWORD start = 0, end = 0;
    SendMessageW(text1_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
    if (auto offer = completion_.Cycle(Text(), static_cast<int>(start), static_cast<int>(end),
                                       GetKeyState(VK_SHIFT) < 0, list_))
      ShowOffer(offer->text, offer->selStart, offer->selLength);
    return true;  // the focus stays in the box
  }
  if (key == VK_UP || key == VK_DOWN) {
    if (auto line = key == VK_UP ? history_.Older() : history_.Newer()) {
      SetText(*line);  // a text set by the program: nothing completes
      SetSelection(static_cast<int>(line->size()), 0);
    }
    return true;
  }
  if (!IsCtrlShiftEnter(key)) return false;
  Run(StartAs::administrator);
  return true;
}

bool Form1::Text1_KeyPress(wchar_t key) {
  if (completion_.Composing()) return false;  // Enter commits the composition, nothing more
  if (key == 9) return true;  // Tab was the key-down's
  if (key == 13) {
    Run(StartAs::usual);
    return true;
  }
  if (key == 27) {
    events_.Escape();
    return true;
  }
  return false;
}

void Form1::Run(StartAs as) {
  const std::u16string text = Text();
  if (events_.Enter(text, as)) history_.Add(text);
}

bool Form1::Text1_TypeCompleted(wchar_t key) {
  // Control characters and halves of a surrogate pair take the box's own way (and the change
  // handler after it).
  if (key < 0x20 || key == 0x7F || (key >= 0xD800 && key <= 0xDFFF) || !completion_.Enabled()) return false;
  DWORD start = 0, end = 0;
  SendMessageW(text1_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  const std::u16string text = Text();
  const auto limit = static_cast<std::size_t>(SendMessageW(text1_, EM_GETLIMITTEXT, 0, 0));
  if (text.size() - (end - start) + 1 > limit) return false;  // the box refuses it
  auto typed = completion_.CompleteTyped(text, static_cast<int>(start), static_cast<int>(end),
                                         static_cast<char16_t>(key), list_);
  if (!typed) return false;
  // The name at once: the box lays out and draws its text once per keystroke, not twice. When the
  // typed letters already are the name's own and the selection runs to the end, only the tail is
  // new: the box then replaces the selection instead of its whole text.
  std::u16string entered = text.substr(0, start);
  entered += static_cast<char16_t>(key);
  entered += text.substr(end);
  showingCompletion_ = true;
  if (end == text.size() && typed->text.compare(0, entered.size(), entered) == 0) {
    const std::u16string insert = static_cast<char16_t>(key) + typed->text.substr(entered.size());
    SendMessageW(text1_, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(W(insert)));
  } else {
    SetText(typed->text);
  }
  SetSelection(typed->selStart, typed->selLength);
  showingCompletion_ = false;
  return true;
}

std::u16string Form1::Text() const { return WindowText(text1_); }

int Form1::SelStart() const {
  DWORD start = 0, end = 0;
  SendMessageW(text1_, EM_GETSEL, reinterpret_cast<WPARAM>(&start), reinterpret_cast<LPARAM>(&end));
  return static_cast<int>(start);
}

void Form1::SetText(const std::u16string& text) { SetWindowText(text1_, text); }

void Form1::SetSelection(int start, int length) {
  SendMessageW(text1_, EM_SETSEL, static_cast<WPARAM>(start), static_cast<LPARAM>(start + length));
}

void Form1::ShowOffer(const std::u16string& text, int selStart, int selLength) {
  showingCompletion_ = true;
  SetText(text);
  SetSelection(selStart, selLength);
  showingCompletion_ = false;
}

}  // namespace tav
