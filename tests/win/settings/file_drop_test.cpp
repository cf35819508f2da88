// Drop areas: a file list dropped on the label reaches the handler, in order, full paths.
#include <gtest/gtest.h>
#include <windows.h>
#include <shlobj.h>

#include "file_drop_win32.h"
#include "text_encoding.h"

namespace tav::settings {
namespace {

// A CF_HDROP block as the shell hands it over: DROPFILES, then wide paths, then an empty one.
HDROP MakeDrop(const std::vector<std::wstring>& files) {
  std::size_t chars = 1;
  for (const auto& f : files) chars += f.size() + 1;
  HGLOBAL g = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + chars * sizeof(wchar_t));
  auto* df = static_cast<DROPFILES*>(GlobalLock(g));
  df->pFiles = sizeof(DROPFILES);
  df->fWide = TRUE;
  auto* p = reinterpret_cast<wchar_t*>(reinterpret_cast<char*>(df) + sizeof(DROPFILES));
  for (const auto& f : files) {
    std::copy(f.begin(), f.end(), p);
    p += f.size() + 1;
  }
  GlobalUnlock(g);
  return static_cast<HDROP>(g);
}

TEST(FileDropWin, LabelAcceptsFilesAndHandsOverTheWholeListInOrder) {
  HWND label = CreateWindowExW(0, L"STATIC", L"drop", WS_CHILD | SS_NOTIFY, 0, 0, 80, 40, HWND_MESSAGE, nullptr,
                               GetModuleHandleW(nullptr), nullptr);
  ASSERT_NE(label, nullptr);
  std::vector<std::vector<std::u16string>> drops;
  AcceptFileDrops(label, [&](const std::vector<std::u16string>& files) { drops.push_back(files); });
  EXPECT_TRUE(GetWindowLongPtrW(label, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);

  const std::wstring longName = L"C:\\" + std::wstring(400, L'x') + L".exe";
  const std::vector<std::wstring> lists[] = {
      {L"C:\\a.txt", L"C:\\メモ\\b.exe", L"D:\\c"},
      {longName},
  };
  for (std::size_t i = 0; i < std::size(lists); ++i) {
    SendMessageW(label, WM_DROPFILES, reinterpret_cast<WPARAM>(MakeDrop(lists[i])), 0);
    ASSERT_EQ(drops.size(), i + 1) << "case " << i;
    ASSERT_EQ(drops[i].size(), lists[i].size()) << "case " << i;
    for (std::size_t k = 0; k < lists[i].size(); ++k) EXPECT_EQ(drops[i][k], U(lists[i][k].c_str())) << "case " << i;
  }
  DestroyWindow(label);
}

}  // namespace
}  // namespace tav::settings
