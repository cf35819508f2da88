#include <windows.h>

#include <gtest/gtest.h>

#include "file_io.h"
#include "install_folder.h"
#include "system_message_win32.h"
#include "temp_dir.h"
#include "text_encoding.h"

namespace tav::test {
namespace {

TEST(Platform, InstallFolderIsTheFolderOfTheRunningProgram) {
  std::u16string exe = ModuleFilePath();
  ASSERT_FALSE(exe.empty());
  EXPECT_EQ(FileNameOfPath(exe), u"win_tests.exe");
  EXPECT_EQ(InstallFolder() + u"\\win_tests.exe", exe);
  EXPECT_NE(InstallFolder().back(), u'\\');
}

TEST(Platform, FileReadsAndWrites) {
  TempDir dir;
  std::u16string path = dir.Text("ファイル.txt");
  EXPECT_FALSE(ReadFileBytes(path));
  EXPECT_FALSE(IsRegularFile(path));
  ASSERT_TRUE(WriteFileBytes(path, "abc\r\n"));
  EXPECT_TRUE(IsRegularFile(path));
  EXPECT_FALSE(IsRegularFile(dir.Text()));
  EXPECT_EQ(ReadFileBytes(path), "abc\r\n");
  ASSERT_TRUE(WriteFileBytes(path, ""));
  EXPECT_EQ(ReadFileBytes(path), "");
  EXPECT_FALSE(WriteFileBytes(dir.Text("missing") + u"\\x.txt", "x"));
}

TEST(Platform, SystemMessagesNameTheCode) {
  std::u16string m = SystemMessage(ERROR_FILE_NOT_FOUND);
  EXPECT_NE(m.find(u"(エラー 2)"), std::u16string::npos) << ToUtf8(m);
  EXPECT_GT(m.size(), std::u16string(u"(エラー 2)").size());
  EXPECT_NE(m.back(), u'\n');
}

}  // namespace
}  // namespace tav::test
