#include "replace_file_win32.h"

#include <windows.h>

#include "handles_win32.h"
#include "system_message_win32.h"
#include "text_encoding.h"

namespace tav::settings {
namespace {

// Long paths go to the file system unparsed; relative paths are left as they are.
std::u16string Extended(const std::u16string& path) {
  if (path.size() < MAX_PATH - 12 || path.rfind(u"\\\\?\\", 0) == 0) return path;
  if (path.rfind(u"\\\\", 0) == 0) return u"\\\\?\\UNC\\" + path.substr(2);
  if (path.size() > 2 && path[1] == u':' && path[2] == u'\\') return u"\\\\?\\" + path;
  return path;
}

FileStatus LastError() { return FileStatus::Failed(SystemMessage(GetLastError())); }

}  // namespace

bool Win32CommandFiles::FolderExists(const std::u16string& folder) {
  DWORD a = GetFileAttributesW(W(Extended(folder)));
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

bool Win32CommandFiles::Exists(const std::u16string& path) {
  return GetFileAttributesW(W(Extended(path))) != INVALID_FILE_ATTRIBUTES;
}

FileStatus Win32CommandFiles::CreateNew(const std::u16string& path, std::string_view bytes) {
  UniqueHandle f(CreateFileW(W(Extended(path)), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr));
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
  DWORD a = GetFileAttributesW(W(Extended(to)));
  if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY))
    return FileStatus::Failed(SystemMessage(ERROR_ACCESS_DENIED));
  if (a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY))
    return FileStatus::Failed(SystemMessage(ERROR_ACCESS_DENIED));
  if (!MoveFileExW(W(Extended(from)), W(Extended(to)), MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH))
    return LastError();
  return FileStatus::Ok();
}

void Win32CommandFiles::Remove(const std::u16string& path) { DeleteFileW(W(Extended(path))); }

}  // namespace tav::settings
