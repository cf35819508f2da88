#include "program_lookup_win32.h"

#include <windows.h>
#include <shellapi.h>

#include <vector>

#include "handles_win32.h"
#include "system_message_win32.h"
#include "text_encoding.h"

namespace tav::settings {

AssociationResult Win32LookupPlatform::AssociatedProgram(const std::u16string& file, const std::u16string& folder) {
  // The shell writes at most MAX_PATH characters; the rest of the buffer stays NUL.
  std::vector<wchar_t> buffer(2 * MAX_PATH, L'\0');
  HINSTANCE h = FindExecutableW(W(file), folder.empty() ? nullptr : W(folder), buffer.data());
  buffer.back() = L'\0';
  return {static_cast<long long>(reinterpret_cast<INT_PTR>(h)), U(buffer.data())};
}

FileStatus Win32LookupPlatform::WriteProbe(const std::u16string& path, std::string_view bytes) {
  UniqueHandle f(CreateFileW(W(path), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                             nullptr));
  if (!f) return FileStatus::Failed(SystemMessage(GetLastError()));
  DWORD written = 0;
  if (!::WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr) ||
      written != bytes.size())
    return FileStatus::Failed(SystemMessage(GetLastError()));
  return FileStatus::Ok();
}

void Win32LookupPlatform::RemoveFile(const std::u16string& path) { ::DeleteFileW(W(path)); }

}  // namespace tav::settings
