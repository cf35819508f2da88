// Command files on a real disk: replacing in one step, failures that keep the old file.
#include <gtest/gtest.h>
#include <windows.h>

#include <algorithm>
#include <deque>
#include <filesystem>

#include "install_folder.h"
#include "program_lookup.h"
#include "program_lookup_win32.h"
#include "registration.h"
#include "replace_file_win32.h"
#include "temp_dir.h"
#include "text_encoding.h"

namespace tav::settings {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

class RecordingDialogs : public Dialogs {
 public:
  std::vector<std::u16string> log;
  std::deque<bool> answers;
  void Message(const std::u16string& t) override { log.push_back(u"msg:" + t); }
  void Error(const std::u16string& t) override { log.push_back(u"err:" + t); }
  bool AskYesNo(const std::u16string& t) override {
    log.push_back(u"ask:" + t);
    bool a = !answers.empty() && answers.front();
    if (!answers.empty()) answers.pop_front();
    return a;
  }
};

std::vector<std::wstring> Listing(const fs::path& folder) {
  std::vector<std::wstring> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().wstring());
  std::sort(names.begin(), names.end());
  return names;
}

struct Installation {
  TempDir dir;
  Installation() { fs::create_directory(dir.path() / "texts"); }
  fs::path Texts() const { return dir.path() / "texts"; }
  std::u16string Folder() const { return dir.Text(); }
};

RegistrationRequest Request(std::u16string n, std::u16string p, std::u16string c) {
  return {std::move(n), std::move(p), std::move(c), false, false, false};
}

TEST(RegistrationFiles, NewFileHoldsTheLineInTheAnsiCodePage) {
  Installation inst;
  RecordingDialogs d;
  Win32CommandFiles files;
  EXPECT_EQ(RegisterCommand(Request(u"メモ帳", u"C:\\ツール\\a.exe", u"表.txt"), inst.Folder(), d, files),
            RegistrationResult::kRegistered);
  ASSERT_EQ(GetACP(), 932u) << "the test prefix runs in a Japanese locale";
  EXPECT_EQ(ReadBytes(inst.Texts() / L"メモ帳.txt"),
            "C:\\\x83\x63\x81\x5b\x83\x8b\\a.exe \x95\x5c.txt\r\n");
  EXPECT_EQ(Listing(inst.Texts()), std::vector<std::wstring>{L"メモ帳.txt"});
  ASSERT_EQ(d.log.size(), 1u);
  EXPECT_EQ(d.log[0], u"msg:コマンドが登録されました。ファイルの内容は [C:\\ツール\\a.exe 表.txt]です。");
}

TEST(RegistrationFiles, LineTheCodePageCannotHoldIsRefusedNotMangled) {
  Installation inst;
  WriteBytes(inst.Texts() / "memo.txt", "old\r\n");
  RecordingDialogs d;
  d.answers = {true};
  Win32CommandFiles files;
  EXPECT_EQ(RegisterCommand(Request(u"memo", u"C:\\한국\\a.exe", u""), inst.Folder(), d, files),
            RegistrationResult::kNotRegistered);
  EXPECT_EQ(ReadBytes(inst.Texts() / "memo.txt"), "old\r\n");
  EXPECT_EQ(Listing(inst.Texts()), std::vector<std::wstring>{L"memo.txt"});
  ASSERT_EQ(d.log.size(), 1u) << "refused before the replace question";
  EXPECT_NE(d.log[0].find(u"文字コード"), std::u16string::npos);
}

TEST(RegistrationFiles, YesReplacesTheFileAndLeavesNoTemporaryFile) {
  Installation inst;
  WriteBytes(inst.Texts() / "memo.txt", "old.exe \r\n");
  RecordingDialogs d;
  d.answers = {true};
  Win32CommandFiles files;
  EXPECT_EQ(RegisterCommand(Request(u"memo", u"new.exe", u"x"), inst.Folder(), d, files),
            RegistrationResult::kRegistered);
  EXPECT_EQ(ReadBytes(inst.Texts() / "memo.txt"), "new.exe x\r\n");
  EXPECT_EQ(Listing(inst.Texts()), std::vector<std::wstring>{L"memo.txt"});
  ASSERT_EQ(d.log.size(), 2u);
  EXPECT_EQ(d.log[0].rfind(u"ask:" + inst.Folder() + u"\\texts\\memo.txtは既に存在しています。", 0), 0u);
}

TEST(RegistrationFiles, ReadOnlyFileKeepsItsContentAndTheReasonIsShown) {
  Installation inst;
  fs::path target = inst.Texts() / "memo.txt";
  WriteBytes(target, "old\r\n");
  ASSERT_TRUE(SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_READONLY));
  RecordingDialogs d;
  d.answers = {true};
  Win32CommandFiles files;
  EXPECT_EQ(RegisterCommand(Request(u"memo", u"new.exe", u""), inst.Folder(), d, files),
            RegistrationResult::kNotRegistered);
  SetFileAttributesW(target.c_str(), FILE_ATTRIBUTE_NORMAL);
  EXPECT_EQ(ReadBytes(target), "old\r\n");
  EXPECT_EQ(Listing(inst.Texts()), std::vector<std::wstring>{L"memo.txt"});
  ASSERT_EQ(d.log.size(), 2u);
  const std::u16string& err = d.log[1];
  EXPECT_EQ(err.rfind(u"err:" + test::PathText(target) + u" に書き込めませんでした。", 0), 0u);
  EXPECT_NE(err.find(u"(エラー 5)"), std::u16string::npos) << "access denied, in the system's words";
  EXPECT_NE(err.find(u"元の内容のまま"), std::u16string::npos);
}

TEST(RegistrationFiles, MissingTextsFolderIsNamedAndNothingIsCreated) {
  TempDir dir;
  RecordingDialogs d;
  Win32CommandFiles files;
  EXPECT_EQ(RegisterCommand(Request(u"memo", u"a.exe", u""), dir.Text(), d, files),
            RegistrationResult::kNotRegistered);
  ASSERT_EQ(d.log.size(), 1u);
  EXPECT_NE(d.log[0].find(dir.Text() + u"\\texts"), std::u16string::npos);
  EXPECT_TRUE(Listing(dir.path()).empty());
}

TEST(RegistrationFiles, InstallationBelowALongPathStillRegisters) {
  TempDir dir;
  std::wstring folder = L"\\\\?\\" + dir.path().wstring();
  for (int i = 0; i < 6; ++i) {
    folder += L"\\" + std::wstring(50, static_cast<wchar_t>(L'a' + i));
    ASSERT_TRUE(CreateDirectoryW(folder.c_str(), nullptr)) << i;
  }
  ASSERT_TRUE(CreateDirectoryW((folder + L"\\texts").c_str(), nullptr));
  std::u16string plain = U(folder.c_str() + 4);
  ASSERT_GT(plain.size(), 300u);
  for (bool again : {false, true}) {
    RecordingDialogs d;
    d.answers = {true};
    Win32CommandFiles files;
    EXPECT_EQ(RegisterCommand(Request(u"deep", u"a.exe", again ? u"2" : u"1"), plain, d, files),
              RegistrationResult::kRegistered)
        << again;
    EXPECT_EQ(ReadBytes(fs::path(folder + L"\\texts\\deep.txt")), again ? "a.exe 2\r\n" : "a.exe 1\r\n");
  }
}

TEST(RegistrationFiles, BrowserProbeNeverStaysBehind) {
  TempDir dir;
  WriteBytes(dir.path() / "browser.html", "an older probe");
  RecordingDialogs d;
  Win32LookupPlatform platform;
  BrowserLookup(platform, d, dir.Text());  // whatever the prefix's association says
  EXPECT_FALSE(fs::exists(dir.path() / "browser.html"));
  EXPECT_TRUE(Listing(dir.path()).empty());
}

// A file type of our own, opened by a program of our own, so the answer is known in advance.
class OwnFileType {
 public:
  OwnFileType(const std::wstring& ext, const std::wstring& program) : ext_(ext) {
    Set(ext, L"TavimsetTest.File");
    Set(L"TavimsetTest.File\\shell\\open\\command", L"\"" + program + L"\" \"%1\"");
  }
  ~OwnFileType() {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, ext_.c_str());
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"TavimsetTest.File");
  }

 private:
  static void Set(const std::wstring& key, const std::wstring& value) {
    HKEY k = nullptr;
    RegCreateKeyExW(HKEY_CLASSES_ROOT, key.c_str(), 0, nullptr, 0, KEY_WRITE, nullptr, &k, nullptr);
    RegSetValueExW(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
  }
  std::wstring ext_;
};

TEST(RegistrationFiles, AssociationLookupNamesTheAssociatedProgram) {
  TempDir dir;
  WriteBytes(dir.path() / "viewer.exe", "MZ");
  WriteBytes(dir.path() / "a.tavtest", "x");
  OwnFileType type(L".tavtest", (dir.path() / "viewer.exe").wstring());
  RecordingDialogs d;
  Win32LookupPlatform platform;
  auto program = AssociationLookup(platform, d, dir.Text("a.tavtest"));
  ASSERT_TRUE(program.has_value()) << (d.log.empty() ? "no message" : ToUtf8(d.log[0]));
  EXPECT_TRUE(EqualsNoCase(FileNameOfPath(*program), u"viewer.exe")) << ToUtf8(*program);
  EXPECT_TRUE(d.log.empty());
  // Quotes are part of the name looked up: the quoted name is no file.
  std::u16string quoted = std::u16string(1, u'"').append(dir.Text("a.tavtest")).append(1, u'"');
  EXPECT_FALSE(AssociationLookup(platform, d, quoted).has_value());
}

}  // namespace
}  // namespace tav::settings
