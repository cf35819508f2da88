#include "completion.h"

#include <algorithm>
#include <vector>

#include "kana_reading.h"

namespace tav {

namespace {
// Where in name the typed text ends: its own length where name begins with it, else the end of
// what its reading covers of the name's reading.
int Covered(std::u16string_view name, std::u16string_view typed) {
  const auto reading = TypedReading(typed);
  std::vector<int> ends;
  if (reading && !reading->empty() && NameReading(name, &ends).compare(0, reading->size(), *reading) == 0)
    return ends[reading->size() - 1];
  return static_cast<int>(typed.size());
}

Offer OfferOf(std::u16string_view name, int covered) {
  return {std::u16string(name), covered, static_cast<int>(name.size()) - covered};
}
}  // namespace

std::optional<Offer> OfferName(std::u16string_view text, int caret, int lastSelStart, const CommandList& list) {
  if (caret <= lastSelStart) return std::nullopt;
  if (const int idx = list.FindFirst(text); idx != -1) {
    Offer offer = OfferOf(list.Item(static_cast<std::size_t>(idx)), caret);
    offer.selLength = static_cast<int>(offer.text.size()) - static_cast<int>(text.size());
    return offer;
  }
  // No name begins with it as typed: compare readings.
  const auto reading = TypedReading(text);
  if (!reading || reading->empty()) return std::nullopt;
  const int idx = list.FindFirstByReading(*reading);
  if (idx == -1) return std::nullopt;
  const std::u16string_view name = list.Item(static_cast<std::size_t>(idx));
  return OfferOf(name, Covered(name, text));
}

std::optional<Offer> Completion::Cycle(std::u16string_view text, int selStart, int selEnd, bool back,
                                       const CommandList& list) {
  if (!enabled_ || !offered_ || text != offered_->text || std::max(selStart, selEnd) != static_cast<int>(text.size()))
    return std::nullopt;
  const auto reading = TypedReading(typed_);
  const std::vector<int> matches = list.Matches(typed_, reading ? std::u16string_view(*reading) : std::u16string_view());
  if (matches.empty()) return std::nullopt;
  auto at = std::find_if(matches.begin(), matches.end(),
                         [&](int i) { return list.Item(static_cast<std::size_t>(i)) == offered_->text; });
  std::size_t next = 0;
  if (at == matches.end())
    next = back ? matches.size() - 1 : 0;
  else
    next = (static_cast<std::size_t>(at - matches.begin()) + (back ? matches.size() - 1 : 1)) % matches.size();
  const std::u16string_view name = list.Item(static_cast<std::size_t>(matches[next]));
  Offer offer = OfferOf(name, Covered(name, typed_));
  offered_ = offer;
  lastSelStart_ = offer.selStart;
  return offer;
}

void Completion::Text1_Change(EditBox& box, const CommandList& list) {
  if (!enabled_ || composing_) return;
  const std::u16string typed = box.Text();
  if (auto offer = OfferName(typed, box.SelStart(), lastSelStart_, list)) {
    box.SetText(offer->text);  // a box that reports its own change runs this handler nested here
    box.SetSelection(offer->selStart, offer->selLength);
    typed_ = typed;
    offered_ = std::move(offer);
  }
  lastSelStart_ = box.SelStart();
}

std::optional<Completion::Typed> Completion::CompleteTyped(std::u16string_view text, int selStart, int selEnd,
                                                           char16_t c, const CommandList& list) {
  if (!enabled_ || composing_ || selStart < 0 || selEnd < selStart || selEnd > static_cast<int>(text.size())) return std::nullopt;
  std::u16string typed(text.substr(0, static_cast<std::size_t>(selStart)));
  typed += c;
  typed += text.substr(static_cast<std::size_t>(selEnd));
  auto offer = OfferName(typed, selStart + 1, lastSelStart_, list);
  if (offer) {
    lastSelStart_ = offer->selStart;
    typed_ = std::move(typed);
    offered_ = offer;
  }
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
