#include "collation_win32.h"

#include <algorithm>
#include <utility>

namespace tav {

namespace {

// The system's upper-case table, unit by unit, as CompareStringOrdinal with case ignored (and so
// the file system) applies it: LCMapStringEx's upper case is the file system's unless linguistic
// casing is asked for. Made once; a lookup per unit keeps the search as fast as an ASCII fold.
char16_t g_upperCase[0x10000];

void FillUpperCase() {
  for (unsigned u = 0; u < 0x10000; ++u) g_upperCase[u] = static_cast<char16_t>(u);
  // Surrogates stay themselves; the two ranges either side are mapped in one call each.
  for (auto [first, last] : {std::pair<unsigned, unsigned>{1, 0xD7FF}, {0xE000, 0xFFFF}}) {
    const int n = static_cast<int>(last - first + 1);
    auto* range = reinterpret_cast<wchar_t*>(g_upperCase + first);
    std::wstring mapped(static_cast<std::size_t>(n), L'\0');
    if (LCMapStringEx(LOCALE_NAME_INVARIANT, LCMAP_UPPERCASE, range, n, mapped.data(), n, nullptr, nullptr, 0) == n)
      std::copy(mapped.begin(), mapped.end(), range);
  }
}

char16_t FileSystemUpperCase(char16_t c) { return g_upperCase[c]; }

}  // namespace

Collation UserCollation() {
  [[maybe_unused]] static const bool filled = (FillUpperCase(), true);
  Collation c;
  // One call for most names: the key fits the stack buffer; asking for the size first would
  // double the platform's work.
  c.appendSortKey = [](std::u16string_view s, std::string& out) {
    auto text = reinterpret_cast<const wchar_t*>(s.data());
    const int len = static_cast<int>(s.size());
    constexpr DWORD flags = LCMAP_SORTKEY | NORM_IGNORECASE;
    BYTE buffer[1024];
    int n = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, text, len, reinterpret_cast<LPWSTR>(buffer),
                          static_cast<int>(sizeof buffer), nullptr, nullptr, 0);
    if (n > 0) {
      if (buffer[n - 1] == 0) --n;  // the key's terminator
      out.append(reinterpret_cast<const char*>(buffer), static_cast<std::size_t>(n));
      return;
    }
    n = LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, text, len, nullptr, 0, nullptr, nullptr, 0);
    if (n <= 0) return;
    std::string key(static_cast<std::size_t>(n), '\0');
    LCMapStringEx(LOCALE_NAME_USER_DEFAULT, flags, text, len, reinterpret_cast<LPWSTR>(key.data()), n, nullptr,
                  nullptr, 0);
    if (key.back() == '\0') key.pop_back();
    out += key;
  };
  c.sortKey = [append = c.appendSortKey](std::u16string_view s) {
    std::string key;
    append(s, key);
    return key;
  };
  // Names match as the file system matches them, so every name Enter finds is offered: "über"
  // completes "Über" and a full-width "ｐｄｆ" "ＰＤＦ変換". Wine's list box folds A-Z only.
  c.foldUnit = &FileSystemUpperCase;
  c.fold = [unit = c.foldUnit](std::u16string_view s) {
    std::u16string f(s);
    for (auto& ch : f) ch = unit(ch);
    return f;
  };
  return c;
}

}  // namespace tav
