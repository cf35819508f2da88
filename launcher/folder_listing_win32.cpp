#include "folder_listing_win32.h"

#include <memory>

#include "handles_win32.h"
#include "long_path_win32.h"
#include "text_encoding.h"

namespace tav {

namespace {

// One entry per call of the platform: the fallback where the folder's file system cannot be
// listed in bulk.
NameTable ListOneByOne(const std::u16string& folder) {
  NameTable names;
  WIN32_FIND_DATAW fd;
  const std::u16string pattern = ExtendedPath(folder + u"\\*");
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
  UniqueHandle dir(CreateFileW(W(ExtendedPath(folder)), FILE_LIST_DIRECTORY, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
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

}  // namespace tav
