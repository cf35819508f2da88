#include "list_search_win32.h"

#include <algorithm>
#include <memory>
#include <utility>

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

namespace {

// One entry per call of the platform: the fallback where the folder's file system cannot be
// listed in bulk.
NameTable ListOneByOne(const std::u16string& folder) {
  NameTable names;
  WIN32_FIND_DATAW fd;
  std::u16string pattern = folder + u"\\*";
  UniqueFind find(FindFirstFileExW(W(pattern), FindExInfoBasic, &fd, FindExSearchNameMatch, nullptr,
                                   FIND_FIRST_EX_LARGE_FETCH));
  if (!find) return names;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
      names.Add(std::u16string_view(reinterpret_cast<const char16_t*>(fd.cFileName)));
  } while (FindNextFileW(find.get(), &fd));
  return names;
}

}  // namespace

NameTable ListFileNameTable(const std::u16string& folder) {
  // Thousands of entries per call into one large buffer: with many files the per-call cost of a
  // one-by-one listing (a trip into the file system each few hundred entries, a copy into a
  // find record each entry) is a good part of the listing.
  UniqueHandle dir(CreateFileW(W(folder), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                     nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr));
  if (!dir) return ListOneByOne(folder);
  constexpr std::size_t kBufferBytes = 1 << 20;
  std::unique_ptr<ULONGLONG[]> buffer(new ULONGLONG[kBufferBytes / sizeof(ULONGLONG)]);  // entries are 8-aligned
  NameTable names;
  FILE_INFO_BY_HANDLE_CLASS request = FileIdBothDirectoryRestartInfo;
  while (GetFileInformationByHandleEx(dir.get(), request, buffer.get(), kBufferBytes)) {
    request = FileIdBothDirectoryInfo;
    auto* at = reinterpret_cast<const BYTE*>(buffer.get());
    for (;;) {
      const auto* entry = reinterpret_cast<const FILE_ID_BOTH_DIR_INFO*>(at);
      if (!(entry->FileAttributes & FILE_ATTRIBUTE_DIRECTORY))
        names.Add(std::u16string_view(reinterpret_cast<const char16_t*>(entry->FileName),
                                      entry->FileNameLength / sizeof(wchar_t)));
      if (!entry->NextEntryOffset) break;
      at += entry->NextEntryOffset;
    }
  }
  const DWORD error = GetLastError();
  if (error == ERROR_NO_MORE_FILES || error == ERROR_FILE_NOT_FOUND) return names;
  // Not supported by this file system (some network ones), or failed midway: from the start, one by one.
  return ListOneByOne(folder);
}

std::vector<std::u16string> ListFileNames(const std::u16string& folder) {
  const NameTable table = ListFileNameTable(folder);
  std::vector<std::u16string> names;
  names.reserve(table.Size());
  for (std::size_t i = 0; i < table.Size(); ++i) names.emplace_back(table[i]);
  return names;
}

}  // namespace tav
