#include "replace_file_win32.h"

#include <windows.h>

#include "handles_win32.h"
#include "long_path_win32.h"
#include "system_message_win32.h"
#include "text_encoding.h"

namespace tav::settings {
namespace {

FileStatus LastError() { return FileStatus::Failed(SystemMessage(GetLastError())); }

}  // namespace

bool Win32CommandFiles::FolderExists(const std::u16string& folder) {
  DWORD a = GetFileAttributesW(W(ExtendedPath(folder)));
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32CommandFiles::Exists(const std::u16string& path) {
  return GetFileAttributesW(W(ExtendedPath(path))) != INVALID_FILE_ATTRIBUTES;
}

FileStatus Win32CommandFiles::CreateNew(const std::u16string& path, std::string_view bytes) {
  UniqueHandle f(CreateFileW(W(ExtendedPath(path)), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) {
    DWORD err = GetLastError();
    if (err == ERROR_FILE_EXISTS || err == ERROR_ALREADY_EXISTS) return {FileStatus::kAlreadyExists, {}};
    return FileStatus::Failed(SystemMessage(err));
  }
  DWORD written = 0;
  if (!bytes.empty() && !::WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
    return LastError();
  if (written != bytes.size()) return FileStatus::Failed(SystemMessage(ERROR_DISK_FULL));
  if (!FlushFileBuffers(f.get())) return LastError();
  return FileStatus::Ok();
}

FileStatus Win32CommandFiles::MoveReplacing(const std::u16string& from, const std::u16string& to) {
  // Windows refuses to replace a read-only file; say so the same way everywhere.
  DWORD a = GetFileAttributesW(W(ExtendedPath(to)));
  if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY))
    return FileStatus::Failed(SystemMessage(ERROR_ACCESS_DENIED));
  if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY))
    return FileStatus::Failed(SystemMessage(ERROR_ACCESS_DENIED));
  // No copying across volumes: a copy could stop half-way and lose the old content.
  const ULONGLONG start = GetTickCount64();
  for (;;) {
    if (MoveFileExW(W(ExtendedPath(from)), W(ExtendedPath(to)), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
      return FileStatus::Ok();
    // A virus scanner or a sync client that has the file open refuses the move for a moment.
    const DWORD error = GetLastError();
    if ((error != ERROR_SHARING_VIOLATION && error != ERROR_ACCESS_DENIED) ||
        GetTickCount64() - start >= kMoveRetryMilliseconds)
      return FileStatus::Failed(SystemMessage(error));
    Sleep(50);
  }
}

FileStatus Win32CommandFiles::MakeFolder(const std::u16string& folder) {
  const std::u16string path = ExtendedPath(folder);
  if (CreateDirectoryW(W(path), nullptr)) {
    SetFileAttributesW(W(path), FILE_ATTRIBUTE_HIDDEN);
    return FileStatus::Ok();
  }
  const DWORD error = GetLastError();
  const DWORD a = GetFileAttributesW(W(path));
  if (error == ERROR_ALREADY_EXISTS && a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY))
    return FileStatus::Ok();
  return FileStatus::Failed(SystemMessage(error));
}

void Win32CommandFiles::RemoveFolderIfEmpty(const std::u16string& folder) { RemoveDirectoryW(W(ExtendedPath(folder))); }

void Win32CommandFiles::Remove(const std::u16string& path) { DeleteFileW(W(ExtendedPath(path))); }

bool Win32CommandFiles::RemoveStale(const std::u16string& path) {
  // No sharing: the open fails while another copy of the program is writing the file. The age
  // covers the instant between its writing and its move, when it holds no handle.
  UniqueHandle f(CreateFileW(W(ExtendedPath(path)), DELETE | FILE_READ_ATTRIBUTES, 0, nullptr, OPEN_EXISTING,
                             FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!f) return false;
  FILETIME written{}, now{};
  if (!GetFileTime(f.get(), nullptr, nullptr, &written)) return false;
  GetSystemTimeAsFileTime(&now);
  auto ticks = [](const FILETIME& t) { return (static_cast<ULONGLONG>(t.dwHighDateTime) << 32) | t.dwLowDateTime; };
  constexpr ULONGLONG kTicksPerSecond = 10'000'000;
  if (ticks(now) < ticks(written) + kStaleTemporarySeconds * kTicksPerSecond) return false;
  FILE_DISPOSITION_INFO remove{TRUE};
  return SetFileInformationByHandle(f.get(), FileDispositionInfo, &remove, sizeof remove) != FALSE;
}

}  // namespace tav::settings
