#include <windows.h>

#include <gtest/gtest.h>

#include "file_io.h"
#include "install_folder.h"
#include "long_path_win32.h"
#include "system_message_win32.h"
#include "private_prefix.h"
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

// Paths from the length where CreateDirectoryW would refuse them go to the file system in the
// \\?\ form; relative ones and those already in it stay as they are.
TEST(Platform, LongPathsTakeTheExtendedForm) {
  const std::u16string at247 = u"C:\\" + std::u16string(244, u'a'), at248 = at247 + u"b";
  const std::u16string share = u"\\\\server\\share\\" + std::u16string(240, u'u');
  const struct {
    std::u16string path, extended;
  } cases[] = {
      {u"C:\\Tavimbra\\texts\\memo.txt", u"C:\\Tavimbra\\texts\\memo.txt"},
      {at247, at247},
      {at248, u"\\\\?\\" + at248},
      {share, u"\\\\?\\UNC\\server\\share\\" + std::u16string(240, u'u')},
      {u"\\\\?\\" + at248, u"\\\\?\\" + at248},
      {u"texts\\" + std::u16string(250, u'r'), u"texts\\" + std::u16string(250, u'r')},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(ToUtf8(ExtendedPath(cases[i].path)), ToUtf8(cases[i].extended)) << "case " << i;
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

// A read that fails after some bytes were read is a failure, with the system's reason kept;
// never the bytes read so far as if the file ended there. A command file with a range locked by
// another handle: Windows refuses the read there.
TEST(Platform, FileReadFailingAtALockedRangeIsAFailure) {
  TempDir dir;
  const std::u16string path = dir.Text("locked.txt");
  std::string bytes(40000, 'x');
  bytes += "\r\nprobe.exe tail\r\n";
  ASSERT_TRUE(WriteFileBytes(path, bytes));
  HANDLE other = CreateFileW(W(path), GENERIC_READ | GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr,
                             OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(other, INVALID_HANDLE_VALUE);
  // Past the first read's worth, so the reader has bytes in hand when it meets the lock.
  OVERLAPPED at{};
  at.Offset = 30000;
  ASSERT_TRUE(LockFileEx(other, LOCKFILE_EXCLUSIVE_LOCK | LOCKFILE_FAIL_IMMEDIATELY, 0, 100, 0, &at));
  // Wine keeps byte-range locks from other locks only, not from reads: there the range reads.
  HANDLE reader = CreateFileW(W(path), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                              nullptr);
  char probe[10];
  DWORD n = 0;
  SetFilePointer(reader, 30000, nullptr, FILE_BEGIN);
  const bool enforced = !ReadFile(reader, probe, sizeof probe, &n, nullptr);
  CloseHandle(reader);
  if (enforced) {
    SetLastError(0);
    EXPECT_FALSE(ReadFileBytes(path));
    EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_LOCK_VIOLATION));
  }
  UnlockFileEx(other, 0, 100, 0, &at);
  CloseHandle(other);
  EXPECT_EQ(ReadFileBytes(path), bytes);
  if (!enforced) TAV_SKIP_UNSUPPORTED() << "this platform (Wine) lets a locked range be read; Windows refuses it";
}

// The same where the platform lets it happen too: a source that goes away after 20,000 bytes (a
// pipe whose writer closes, as a network file that disappears).
TEST(Platform, FileReadFailingMidwayIsAFailure) {
  const std::wstring name = L"\\\\.\\pipe\\tav-midway-" + std::to_wstring(GetCurrentProcessId());
  HANDLE server = CreateNamedPipeW(name.c_str(), PIPE_ACCESS_OUTBOUND, PIPE_TYPE_BYTE | PIPE_WAIT, 1, 65536, 65536, 0,
                                   nullptr);
  ASSERT_NE(server, INVALID_HANDLE_VALUE);
  HANDLE writer = CreateThread(
      nullptr, 0,
      [](void* p) -> DWORD {
        HANDLE h = p;
        ConnectNamedPipe(h, nullptr);
        const std::string part(20000, 'y');
        DWORD written = 0;
        WriteFile(h, part.data(), static_cast<DWORD>(part.size()), &written, nullptr);
        FlushFileBuffers(h);  // until the reader has it all
        CloseHandle(h);
        return 0;
      },
      server, 0, nullptr);
  SetLastError(0);
  EXPECT_FALSE(ReadFileBytes(U(name.c_str())));
  EXPECT_EQ(GetLastError(), static_cast<DWORD>(ERROR_BROKEN_PIPE));
  WaitForSingleObject(writer, 5000);
  CloseHandle(writer);
}

TEST(Platform, SystemMessagesNameTheCode) {
  std::u16string m = SystemMessage(ERROR_FILE_NOT_FOUND);
  EXPECT_NE(m.find(u"(エラー 2)"), std::u16string::npos) << ToUtf8(m);
  EXPECT_GT(m.size(), std::u16string(u"(エラー 2)").size());
  EXPECT_NE(m.back(), u'\n');
}

}  // namespace
}  // namespace tav::test
