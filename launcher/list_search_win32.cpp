#include "list_search_win32.h"

#include "handles_win32.h"
#include "text_encoding.h"

namespace tav {

namespace mAPIDec {
int FindListEntry(HWND control, const std::u16string& text, bool exact) {
  wchar_t cls[32] = {};
  GetClassNameW(control, cls, 32);
  UINT message;
  if (lstrcmpiW(cls, L"ComboBox") == 0)
    message = exact ? CB_FINDSTRINGEXACT : CB_FINDSTRING;
  else if (lstrcmpiW(cls, L"ListBox") == 0)
    message = exact ? LB_FINDSTRINGEXACT : LB_FINDSTRING;
  else
    return -1;
  return static_cast<int>(
      SendMessageW(control, message, static_cast<WPARAM>(-1), reinterpret_cast<LPARAM>(W(text))));
}
}  // namespace mAPIDec

Collation UserCollation() {
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
  // The list control's prefix search ignores the case of the letters A-Z only: "ü" does not
  // find "Über", nor a full-width "Ａ" a full-width "ａ" (checked against the platform's list).
  c.foldUnit = [](char16_t ch) -> char16_t { return ch >= u'A' && ch <= u'Z' ? static_cast<char16_t>(ch - u'A' + u'a') : ch; };
  c.fold = [unit = c.foldUnit](std::u16string_view s) {
    std::u16string f(s);
    for (auto& ch : f) ch = unit(ch);
    return f;
  };
  return c;
}

NameTable ListFileNameTable(const std::u16string& folder) {
  NameTable names;
  WIN32_FIND_DATAW fd;
  std::u16string pattern = folder + u"\\*";
  HANDLE h = FindFirstFileExW(W(pattern), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr,
                              FIND_FIRST_EX_LARGE_FETCH);
  if (h == INVALID_HANDLE_VALUE) return names;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      names.Add(std::u16string_view(reinterpret_cast<const char16_t*>(fd.cFileName)));
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  return names;
}

std::vector<std::u16string> ListFileNames(const std::u16string& folder) {
  const NameTable table = ListFileNameTable(folder);
  std::vector<std::u16string> names;
  names.reserve(table.Size());
  for (std::size_t i = 0; i < table.Size(); ++i) names.emplace_back(table[i]);
  return names;
}

}  // namespace tav
