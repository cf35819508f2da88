#include <windows.h>

#include "file_io.h"
#include "handles_win32.h"
#include "long_path_win32.h"
#include "text_encoding.h"

namespace tav {

std::optional<std::string> ReadFileBytes(const std::u16string& path) {
  UniqueHandle f(CreateFileW(W(ExtendedPath(path)), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
  if (!f) return std::nullopt;
  std::string data;
  char buf[16384];
  for (;;) {
    DWORD n = 0;
    // A read that fails after some bytes (a locked range, a network or cloud file gone away) is
    // a failure, not a shorter file: a cut-off command line must never run. The error stays for
    // the caller's message.
    if (!ReadFile(f.get(), buf, sizeof buf, &n, nullptr)) {
      const DWORD error = GetLastError();
      f.reset();
      SetLastError(error);
      return std::nullopt;
    }
    if (n == 0) return data;
    data.append(buf, n);
  }
}

bool WriteFileBytes(const std::u16string& path, std::string_view bytes) {
  UniqueHandle f(CreateFileW(W(ExtendedPath(path)), GENERIC_WRITE, FILE_SHARE_READ, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL,
                             nullptr));
  if (!f) return false;
  DWORD written = 0;
  if (!bytes.empty() && !WriteFile(f.get(), bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr))
    return false;
  return written == bytes.size();
}

bool IsRegularFile(const std::u16string& path) {
  DWORD a = GetFileAttributesW(W(ExtendedPath(path)));
  return a != INVALID_FILE_ATTRIBUTES && !(a & FILE_ATTRIBUTE_DIRECTORY);
}

}  // namespace tav
