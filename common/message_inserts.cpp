#include "message_inserts.h"

namespace tav {

std::u16string FillMessageInserts(std::u16string_view text, std::u16string_view insert) {
  if (insert.empty()) insert = kUnnamedInsert;
  auto digitAt = [&](std::size_t i, char16_t lowest) { return i < text.size() && text[i] >= lowest && text[i] <= u'9'; };
  std::u16string out;
  std::size_t i = 0;
  while (i < text.size()) {
    if (text[i] != u'%' || !digitAt(i + 1, u'1')) {
      out += text[i++];
      continue;
    }
    i += 2;
    if (digitAt(i, u'0')) ++i;  // %10 to %99
    if (i < text.size() && text[i] == u'!') {
      const std::size_t close = text.find(u'!', i + 1);
      if (close != std::u16string_view::npos) i = close + 1;
    }
    out += insert;
  }
  return out;
}

}  // namespace tav
