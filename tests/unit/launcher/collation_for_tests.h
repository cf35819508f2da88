// A collation for the portable tests: ASCII letters without case, ordinal otherwise.
#pragma once
#include <string>
#include <string_view>

#include "command_list.h"

namespace tav::testing {

inline std::u16string AsciiFold(std::u16string_view s) {
  std::u16string f(s);
  for (auto& c : f)
    if (c >= u'A' && c <= u'Z') c = static_cast<char16_t>(c - u'A' + u'a');
  return f;
}

// Big-endian code units, so the bytes order as the units do.
inline std::string UnitBytes(std::u16string_view s) {
  std::string k;
  for (char16_t c : s) {
    k.push_back(static_cast<char>(c >> 8));
    k.push_back(static_cast<char>(c & 0xFF));
  }
  return k;
}

inline Collation AsciiCollation() {
  return {[](std::u16string_view s) { return UnitBytes(AsciiFold(s)); }, AsciiFold};
}

}  // namespace tav::testing
