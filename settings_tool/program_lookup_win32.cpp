#include "program_lookup_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "handles_win32.h"
#include "long_path_win32.h"
#include "system_message_win32.h"
#include "text_encoding.h"

namespace tav::settings {
namespace {

FileStatus Refused(const char16_t* what, bool link) {
  std::u16string why = what;
  if (link) why += u"リンク先のファイルを書き換えないよう、このファイルには書き込みません。";
  return FileStatus::Failed(why + u"不要であれば削除してから、もう一度実行してください。");
}

bool DeleteByHandle(HANDLE h) {
  FILE_DISPOSITION_INFO gone{TRUE};
  return SetFileInformationByHandle(h, FileDispositionInfo, &gone, sizeof gone) != FALSE;
}

}  // namespace

AssociationResult Win32LookupPlatform::AssociatedProgram(const std::u16string& file, const std::u16string& folder) {
  // The shell writes at most MAX_PATH characters; the rest of the buffer stays NUL.
  std::vector<wchar_t> buffer(2 * MAX_PATH, L'\0');
  HINSTANCE h = FindExecutableW(W(file), folder.empty() ? nullptr : W(folder), buffer.data());
  buffer.back() = L'\0';
  return {static_cast<long long>(reinterpret_cast<INT_PTR>(h)), U(buffer.data())};
}

// The probe is always a new file of our own: whatever stands at its name is looked at itself
// (never through a link), an older plain probe is removed, and anything that would lead the
// write elsewhere (a symbolic link, a junction, a second name of another file) is refused.
FileStatus Win32LookupPlatform::WriteProbe(const std::u16string& path, std::string_view bytes) {
  const std::u16string p = ExtendedPath(path);
  {
    UniqueHandle old(CreateFileW(W(p), DELETE | FILE_READ_ATTRIBUTES,
                                 FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr, OPEN_EXISTING,
                                 FILE_FLAG_OPEN_REPARSE_POINT | FILE_FLAG_BACKUP_SEMANTICS, nullptr));
    if (old) {
      BY_HANDLE_FILE_INFORMATION info{};
      if (!GetFileInformationByHandle(old.get(), &info)) return FileStatus::Failed(SystemMessage(GetLastError()));
      if (info.dwFileAttributes & FILE_ATTRIBUTE_REPARSE_POINT)
        return Refused(u"同じ名前のリンク（シンボリックリンクまたはジャンクション）があります。", true);
      if (info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) return Refused(u"同じ名前のフォルダがあります。", false);
      if (info.nNumberOfLinks > 1) return Refused(u"同じ名前のファイルに別の名前（ハードリンク）があります。", true);
      if (!DeleteByHandle(old.get())) return FileStatus::Failed(SystemMessage(GetLastError()));
    }
  }
  // CREATE_NEW: should anything have appeared meanwhile, nothing is opened through it.
  UniqueHandle f(CreateFileW(W(p), GENERIC_WRITE | DELETE, FILE_SHARE_READ, nullptr, CREATE_NEW,
                             FILE_ATTRIBUTE_NORMAL | FILE_FLAG_OPEN_REPARSE_POINT, nullptr));
  if (!f) return FileStatus::Failed(SystemMessage(GetLastError()));
  DWORD written = 0;
  if (!::WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size()) {
    DWORD error = written != bytes.size() && GetLastError() == ERROR_SUCCESS ? ERROR_DISK_FULL : GetLastError();
    DeleteByHandle(f.get());  // ours: no half-written probe stays
    return FileStatus::Failed(SystemMessage(error));
  }
  return FileStatus::Ok();
}

void Win32LookupPlatform::RemoveFile(const std::u16string& path) { ::DeleteFileW(W(ExtendedPath(path))); }

}  // namespace tav::settings
