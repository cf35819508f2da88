#include "settings_save_win32.h"

#include <windows.h>

#include "long_path_win32.h"
#include "profile_file.h"
#include "replace_file_win32.h"
#include "system_message_win32.h"
#include "text_encoding.h"

namespace tav::settings {

std::optional<std::u16string> SaveSettingsFile(const std::u16string& path, const FormValues& values,
                                               ShortcutWork& shortcuts) {
  // The copy keeps what the file holds besides our keys (other sections, comments) and its form.
  const std::u16string copy = path + u".saving";
  DWORD copyError = 0;
  if (!CopyFileW(W(ExtendedPath(path)), W(ExtendedPath(copy)), FALSE)) {
    copyError = GetLastError();
    if (copyError == ERROR_FILE_NOT_FOUND) copyError = 0;  // a first save: the copy starts empty
    DeleteFileW(W(ExtendedPath(copy)));  // not a stale copy of an earlier save
  }
  // A read-only file's copy is read-only too; the copy must take the writes (the move then refuses
  // to replace the read-only file, and says so).
  SetFileAttributesW(W(ExtendedPath(copy)), FILE_ATTRIBUTE_NORMAL);
  auto file = OpenWin32Profile(copy, std::u16string(kSettingsSection));
  // A missing settings folder fails too: no folder is made for it, and the user hears of it.
  auto message = SaveSettings(
      *file, values, shortcuts, path, [] { return SystemMessage(GetLastError()); },
      [&]() -> std::optional<std::u16string> {
        if (copyError) return SystemMessage(copyError);
        const FileStatus moved = Win32CommandFiles().MoveReplacing(copy, path);
        if (moved.kind != FileStatus::kOk) return moved.reason;
        return std::nullopt;
      });
  DeleteFileW(W(ExtendedPath(copy)));  // left only where the save failed
  return message;
}

}  // namespace tav::settings
