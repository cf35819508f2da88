#include "list_search_win32.h"

#include <memory>

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

namespace {

// One entry per call of the platform: the fallback where the folder's file system cannot be
// listed in bulk.
NameTable ListOneByOne(const std::u16string& folder) {
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
