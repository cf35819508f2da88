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

TEST(ListSearch, ListsFilesOnly) {
  test::TempDir dir;
  test::WriteBytes(dir.path() / L"b.txt", "x");
  test::WriteBytes(dir.path() / L"a.TXT", "");
  test::WriteBytes(dir.path() / L"メモ.txt", "");
  std::filesystem::create_directories(dir.path() / L"sub.txt");
  auto names = ListFileNames(dir.Text());
  std::sort(names.begin(), names.end());
  EXPECT_EQ(names, (std::vector<std::u16string>{u"a.TXT", u"b.txt", u"メモ.txt"}));
  EXPECT_TRUE(ListFileNames(dir.Text("missing")).empty());
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
