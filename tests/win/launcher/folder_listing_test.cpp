// The listing of texts\ against the files a folder really holds.
#include <gtest/gtest.h>

#include <algorithm>

#include "folder_listing_win32.h"
#include "temp_dir.h"

namespace tav {
namespace {

std::vector<std::u16string> ListFileNames(const std::u16string& folder) {
  const NameTable table = ListFileNameTable(folder);
  std::vector<std::u16string> names;
  names.reserve(table.Size());
  for (std::size_t i = 0; i < table.Size(); ++i) names.emplace_back(table[i]);
  return names;
}

// Also in a folder whose path passes MAX_PATH (which Wine takes in its plain form too; Windows does not).
TEST(ListSearch, ListsFilesOnly) {
  test::TempDir dir;
  std::filesystem::path deep = L"\\\\?\\" + dir.path().wstring();
  for (int i = 0; i < 5; ++i) deep /= std::wstring(50, static_cast<wchar_t>(L'a' + i));
  std::filesystem::create_directories(deep);
  for (const std::filesystem::path& folder : {dir.path(), deep}) {
    SCOPED_TRACE(folder.string());
    test::WriteBytes(folder / L"b.txt", "x");
    test::WriteBytes(folder / L"a.TXT", "");
    test::WriteBytes(folder / L"メモ.txt", "");
    std::filesystem::create_directories(folder / L"sub.txt");
    const std::wstring plain = folder.wstring().substr(folder == deep ? 4 : 0);
    auto names = ListFileNames(std::u16string(plain.begin(), plain.end()));
    std::sort(names.begin(), names.end());
    EXPECT_EQ(names, (std::vector<std::u16string>{u"a.TXT", u"b.txt", u"メモ.txt"}));
    EXPECT_TRUE(ListFileNames(std::u16string(plain.begin(), plain.end()) + u"\\missing").empty());
  }
}

// More entries than one call of the bulk listing returns: none lost or doubled where a call ends,
// names of every length, hidden and read-only files included; a subfolder and an empty folder.
TEST(ListSearch, ListsEveryFileOfALargeFolder) {
  test::TempDir dir;
  std::vector<std::u16string> expected;
  for (int i = 0; i < 5000; ++i) {
    // Long names, some Japanese (kept under the 255 bytes a Linux file system allows Wine).
    std::u16string name = u"n" + std::u16string(static_cast<std::size_t>(i % 150), u'x') + (i % 3 ? u"\u30e1\u30e2" : u"");
    for (char c : std::to_string(i)) name += static_cast<char16_t>(c);
    name += u".txt";
    test::WriteBytes(dir.path() / std::filesystem::path(std::wstring(name.begin(), name.end())), "");
    expected.push_back(name);
  }
  SetFileAttributesW((dir.path() / L"n0.txt").c_str(), FILE_ATTRIBUTE_HIDDEN);
  SetFileAttributesW((dir.path() / L"nx\u30e1\u30e21.txt").c_str(), FILE_ATTRIBUTE_READONLY);
  std::filesystem::create_directories(dir.path() / L"sub");
  std::filesystem::create_directories(dir.path() / L"empty");
  auto names = ListFileNames(dir.Text());
  std::sort(names.begin(), names.end());
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(names.size(), expected.size());
  EXPECT_TRUE(names == expected);
  EXPECT_TRUE(ListFileNames(dir.Text("empty")).empty());
  SetFileAttributesW((dir.path() / L"nx\u30e1\u30e21.txt").c_str(), FILE_ATTRIBUTE_NORMAL);
}

}  // namespace
}  // namespace tav
