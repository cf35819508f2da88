#include <windows.h>

#include <vector>

#include "install_folder.h"
#include "text_encoding.h"

namespace tav {

std::u16string ModuleFilePath() {
  std::vector<wchar_t> buf(MAX_PATH);
  for (;;) {  // grow for long paths
    DWORD n = GetModuleFileNameW(nullptr, buf.data(), static_cast<DWORD>(buf.size()));
    if (n == 0) return {};
    if (n < buf.size()) return U(buf.data(), n);
    if (buf.size() >= 32768) return U(buf.data(), n);
    buf.resize(buf.size() * 2);
  }
}

std::u16string InstallFolder() { return FolderOfPath(ModuleFilePath()); }

}  // namespace tav
