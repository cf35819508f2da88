#include "completion.h"

#include <algorithm>

namespace tav {

std::optional<Offer> OfferName(std::u16string_view text, int caret, int lastSelStart, const CommandList& list) {
  if (caret <= lastSelStart) return std::nullopt;
  const int idx = list.FindFirst(text);
  if (idx == -1) return std::nullopt;
  Offer offer;
  offer.text = std::u16string(list.Item(static_cast<std::size_t>(idx)));
  offer.selStart = caret;
  offer.selLength = static_cast<int>(offer.text.size()) - static_cast<int>(text.size());
  return offer;
}

void Completion::Text1_Change(EditBox& box, const CommandList& list) {
  if (!enabled_) return;
  if (auto offer = OfferName(box.Text(), box.SelStart(), lastSelStart_, list)) {
    box.SetText(offer->text);  // a box that reports its own change runs this handler nested here
    box.SetSelection(offer->selStart, offer->selLength);
  }
  lastSelStart_ = box.SelStart();
}

std::optional<Completion::Typed> Completion::CompleteTyped(std::u16string_view text, int selStart, int selEnd,
                                                           char16_t c, const CommandList& list) {
  if (!enabled_ || selStart < 0 || selEnd < selStart || selEnd > static_cast<int>(text.size())) return std::nullopt;
  std::u16string typed(text.substr(0, static_cast<std::size_t>(selStart)));
  typed += c;
  typed += text.substr(static_cast<std::size_t>(selEnd));
  auto offer = OfferName(typed, selStart + 1, lastSelStart_, list);
  if (offer) lastSelStart_ = offer->selStart;
  return offer;
}

int CaretAfterRight(const std::u16string& text, int selStart, int selEnd) {
  const int len = static_cast<int>(text.size());
  if (selStart != selEnd) return std::min(std::max(selStart, selEnd), len);
  int pos = std::max(0, std::min(selStart, len));
  if (pos >= len) return len;
  auto isHigh = [](char16_t c) { return c >= 0xD800 && c <= 0xDBFF; };
  auto isLow = [](char16_t c) { return c >= 0xDC00 && c <= 0xDFFF; };
  if (isHigh(text[pos]) && pos + 1 < len && isLow(text[pos + 1])) return pos + 2;
  return pos + 1;
}

}  // namespace tav
