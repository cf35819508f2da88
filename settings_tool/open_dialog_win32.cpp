#include "open_dialog_win32.h"

#include <commdlg.h>

#include <vector>

#include "text_encoding.h"

namespace tav::settings::openfile {

namespace {
// Room for the longest path the file system allows, so a deep path is never cut short.
constexpr DWORD kPathBufferChars = 32768;
}  // namespace

std::u16string ShowOpenDialog(HWND owner, std::u16string_view description, std::u16string_view pattern) {
  std::u16string filter = std::u16string(description) + u'\0' + std::u16string(pattern) + u'\0' + u'\0';
  std::vector<wchar_t> file(kPathBufferChars, L'\0');
  std::vector<wchar_t> title(kPathBufferChars, L'\0');
  OPENFILENAMEW ofn{};
  ofn.lStructSize = sizeof ofn;
  ofn.hwndOwner = owner;
  ofn.hInstance = GetModuleHandleW(nullptr);
  ofn.lpstrFilter = W(filter);
  ofn.nFilterIndex = 0;
  ofn.lpstrFile = file.data();
  ofn.nMaxFile = kPathBufferChars;
  ofn.lpstrFileTitle = title.data();
  ofn.nMaxFileTitle = kPathBufferChars;
  ofn.lpstrInitialDir = nullptr;
  ofn.lpstrTitle = L"ファイルを開く";
  ofn.Flags = OFN_HIDEREADONLY | OFN_PATHMUSTEXIST | OFN_FILEMUSTEXIST;
  if (!GetOpenFileNameW(&ofn)) return {};
  file.back() = L'\0';
  return U(file.data());
}

}  // namespace tav::settings::openfile
