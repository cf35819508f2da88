// Completion in the input box: after each change, when the caret has moved right since the
// previous change, the first command name that begins with the text replaces it, the untyped
// tail selected.
#pragma once
#include <optional>
#include <string>

#include "command_list.h"

namespace tav {

// The input box as the change handler sees it. Positions count UTF-16 units, as the box does.
class EditBox {
 public:
  virtual ~EditBox() = default;
  virtual std::u16string Text() const = 0;
  virtual int SelStart() const = 0;  // the caret, or the start of the selection
  // May run the change handler again before returning, with the caret at 0 (as the platform's
  // box does for a text set by the program).
  virtual void SetText(const std::u16string& text) = 0;
  virtual void SetSelection(int start, int length) = 0;
};

// A name offered for the box: its whole text, the untyped tail selected.
struct Offer {
  std::u16string text;
  int selStart = 0, selLength = 0;
};

// The completion rule: when the caret stands right of where the previous change left it, the
// first name that begins with text, selected from the caret on; where none does, the first whose
// reading begins with the text's reading (kana_reading.h), selected from where the reading ends.
std::optional<Offer> OfferName(std::u16string_view text, int caret, int lastSelStart, const CommandList& list);

class Completion {
 public:
  // Only an AutoComplete value of exactly 1 switches completion on.
  explicit Completion(int autoComplete) : enabled_(autoComplete == 1) {}

  // The change handler of the input box.
  void Text1_Change(EditBox& box, const CommandList& list);

  // A character about to be typed over the selection [selStart, selEnd) of text. When the change
  // handler would complete the result, returns what the box is to hold in the end (the name, its
  // untyped tail selected) and records the caret as the handler would: a box that shows it at
  // once, with its own change notification ignored, reaches the same state with one text change
  // instead of two. Otherwise nothing changes and the box is to take the character as usual.
  using Typed = Offer;
  std::optional<Typed> CompleteTyped(std::u16string_view text, int selStart, int selEnd, char16_t c,
                                     const CommandList& list);

  // Tab (back: Shift+Tab) while a completion is shown, the box holding text with [selStart, selEnd)
  // selected: the next (previous) name in list order matching what was typed, wrapping at the
  // ends. Nothing when no completion is shown.
  std::optional<Offer> Cycle(std::u16string_view text, int selStart, int selEnd, bool back, const CommandList& list);

  // An input method's composition in progress: nothing completes until it ends; the box's change
  // handler then runs once for the committed text.
  void SetComposing(bool composing) { composing_ = composing; }
  bool Composing() const { return composing_; }

  int LastSelStart() const { return lastSelStart_; }
  bool Enabled() const { return enabled_; }

 private:
  bool enabled_;
  int lastSelStart_ = 0;
  bool composing_ = false;
  std::u16string typed_;          // the text the last offer was made for
  std::optional<Offer> offered_;  // that offer
};

// Where one Right-arrow leaves the caret: a selection collapses to its end, otherwise the caret
// moves one character right (over a surrogate pair as one), staying inside the text.
int CaretAfterRight(const std::u16string& text, int selStart, int selEnd);

}  // namespace tav
