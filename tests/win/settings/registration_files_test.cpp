// Command files on a real disk: replacing in one step, failures that keep the old file.
#include <gtest/gtest.h>
#include <windows.h>
#include <aclapi.h>
#include <winioctl.h>

#include <algorithm>
#include <filesystem>
#include <functional>
#include <optional>
#include <random>

#include "html_association.h"
#include "install_folder.h"
#include "program_lookup.h"
#include "program_lookup_win32.h"
#include "recording_dialogs.h"
#include "registration.h"
#include "replace_file_win32.h"
#include "system_message_win32.h"
#include "temp_dir.h"
#include "text_encoding.h"

namespace tav::settings {
namespace {

namespace fs = std::filesystem;
using test::ReadBytes;
using test::TempDir;
using test::WriteBytes;

std::vector<std::wstring> Listing(const fs::path& folder) {
  std::vector<std::wstring> names;
  for (const auto& e : fs::directory_iterator(folder)) names.push_back(e.path().filename().wstring());
  std::sort(names.begin(), names.end());
  return names;
}

// The cases a platform could not set up, for the skip message.
std::string Listed(const std::vector<std::string>& whats) {
  std::string list;
  for (const auto& w : whats) list += " [" + w + "]";
  return list;
}

struct Installation {
  TempDir dir;
  Installation() { fs::create_directory(dir.path() / "texts"); }
  fs::path Texts() const { return dir.path() / "texts"; }
  std::u16string Folder() const { return dir.Text(); }
};

// A registration on the real disk (or through files), every question answered Yes.
struct Registration {
  RegistrationResult result;
  RecordingDialogs d;
  std::u16string last() const { return d.log.empty() ? u"" : d.log.back(); }
};
Registration Register(const std::u16string& folder, std::u16string name, std::u16string program,
                      std::u16string args, CommandFiles* files = nullptr) {
  Registration r;
  r.d.answers = {true};
  Win32CommandFiles real;
  r.result = RegisterCommand({std::move(name), std::move(program), std::move(args), false, false, false}, folder, r.d,
                             files ? *files : real);
  return r;
}

TEST(RegistrationFiles, NewFileHoldsTheLineInTheAnsiCodePage) {
  TAV_REQUIRE_CODE_PAGE_932();
  Installation inst;
  const auto [result, d] = Register(inst.Folder(), u"メモ帳", u"C:\\ツール\\a.exe", u"表.txt");
  EXPECT_EQ(result, RegistrationResult::kRegistered);
  EXPECT_EQ(ReadBytes(inst.Texts() / L"メモ帳.txt"),
            "C:\\\x83\x63\x81\x5b\x83\x8b\\a.exe \x95\x5c.txt\r\n");
  EXPECT_EQ(Listing(inst.Texts()), std::vector<std::wstring>{L"メモ帳.txt"});
  ASSERT_EQ(d.log.size(), 1u);
  EXPECT_EQ(d.log[0], u"msg:コマンドが登録されました。ファイルの内容は [C:\\ツール\\a.exe 表.txt]です。");
}

TEST(RegistrationFiles, LineTheCodePageCannotHoldIsRefusedNotMangled) {
  TAV_REQUIRE_CODE_PAGE_932();  // holds no Hangul (a UTF-8 system code page would)
  Installation inst;
  WriteBytes(inst.Texts() / "memo.txt", "old\r\n");
  const auto [result, d] = Register(inst.Folder(), u"memo", u"C:\\한국\\a.exe", u"");
  EXPECT_EQ(result, RegistrationResult::kNotRegistered);
  EXPECT_EQ(ReadBytes(inst.Texts() / "memo.txt"), "old\r\n");
  EXPECT_EQ(Listing(inst.Texts()), std::vector<std::wstring>{L"memo.txt"});
  ASSERT_EQ(d.log.size(), 1u) << "refused before the replace question";
  EXPECT_NE(d.log[0].find(u"文字コード"), std::u16string::npos);
}

TEST(RegistrationFiles, YesReplacesTheFileAndLeavesNoTemporaryFile) {
  Installation inst;
  WriteBytes(inst.Texts() / "memo.txt", "old.exe \r\n");
  const auto [result, d] = Register(inst.Folder(), u"memo", u"new.exe", u"x");
  EXPECT_EQ(result, RegistrationResult::kRegistered);
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
  const auto [result, d] = Register(inst.Folder(), u"memo", u"new.exe", u"");
  EXPECT_EQ(result, RegistrationResult::kNotRegistered);
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
  const auto [result, d] = Register(dir.Text(), u"memo", u"a.exe", u"");
  EXPECT_EQ(result, RegistrationResult::kNotRegistered);
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
    EXPECT_EQ(Register(plain, u"deep", u"a.exe", again ? u"2" : u"1").result, RegistrationResult::kRegistered) << again;
    EXPECT_EQ(ReadBytes(fs::path(folder + L"\\texts\\deep.txt")), again ? "a.exe 2\r\n" : "a.exe 1\r\n");
  }
}

// Every name the name check lets through is saved, and nothing but its file is left in texts\.
TEST(RegistrationFiles, LongestAcceptedNamesAreSaved) {
  Installation inst;
  for (std::size_t length = 245; length <= 252; ++length) {
    std::u16string name(length, u'n');
    name[0] = static_cast<char16_t>(u'a' + (length - 245));
    const Registration r = Register(inst.Folder(), name, u"a.exe", u"");
    ASSERT_FALSE(r.d.log.empty()) << length;
    if (length <= 251) {
      EXPECT_EQ(r.result, RegistrationResult::kRegistered) << length << ": " << ToUtf8(r.last());
      EXPECT_EQ(ReadBytes(inst.Texts() / test::PathOf(name + u".txt")), "a.exe \r\n") << length;
    } else {
      EXPECT_EQ(r.result, RegistrationResult::kNotRegistered) << length;
      EXPECT_NE(r.last().find(u"251 文字まで"), std::u16string::npos) << ToUtf8(r.last());
    }
  }
  EXPECT_EQ(Listing(inst.Texts()).size(), 7u);
  EXPECT_EQ(Listing(inst.dir.path()), std::vector<std::wstring>{L"texts"}) << "no temporary file stays";
}

// A disk that fills up half-way through the temporary file: the real file system, failing.
class FullDisk : public Win32CommandFiles {
 public:
  FileStatus CreateNew(const std::u16string& path, std::string_view bytes) override {
    FileStatus s = Win32CommandFiles::CreateNew(path, bytes.substr(0, bytes.size() / 2));
    return s.kind == FileStatus::kOk ? FileStatus::Failed(SystemMessage(ERROR_DISK_FULL)) : s;
  }
};

HANDLE OpenShared(const fs::path& p, DWORD share) {
  return CreateFileW(p.c_str(), GENERIC_READ, share, nullptr, OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr);
}

constexpr wchar_t kProbeName[] = L"tavtest-probe";

bool CanCreateIn(const fs::path& folder) {
  HANDLE h = CreateFileW((folder / kProbeName).c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW,
                         FILE_FLAG_DELETE_ON_CLOSE, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  CloseHandle(h);
  return true;
}

bool ReadOnlyAttribute(const fs::path& folder) {
  DWORD a = GetFileAttributesW(folder.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_READONLY);
}

bool Within(int ms, const std::function<bool()>& cond) {
  for (int waited = 0;; waited += 20) {
    if (cond()) return true;
    if (waited >= ms) return false;
    Sleep(20);
  }
}

// The Unix form of a path when running under Wine, else empty.
std::wstring UnixPath(const fs::path& path) {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  using UnixName = char*(CDECL*)(const wchar_t*);
  auto unixName = reinterpret_cast<UnixName>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"kernel32.dll"), "wine_get_unix_file_name")));
  if (!ntdll || !GetProcAddress(ntdll, "wine_get_version") || !unixName) return {};
  char* name = unixName(path.c_str());
  if (!name) return {};
  std::wstring w(W(FromUtf8(name)));
  HeapFree(GetProcessHeap(), 0, name);
  return w;
}

// Starts a Unix shell command under Wine. Its handle cannot be waited for there (the wait fails
// at once), so callers watch for the effect.
bool StartUnixShell(const std::wstring& script) {
  std::wstring cl = L"/bin/sh -c \"" + script + L"\"";
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(L"Z:\\bin\\sh", cl.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return false;
  CloseHandle(pi.hThread);
  CloseHandle(pi.hProcess);
  return true;
}

// Nothing can be created in a folder while it lives. On Windows a folder's read-only attribute
// does not stop that; an access-control entry denying it does. Wine keeps such entries but does
// not enforce them; there the Unix folder loses its write permission instead, which fails the
// same way (access denied), and for root, whom permissions do not stop, it is made immutable.
class CreationDenied {
 public:
  explicit CreationDenied(const fs::path& folder) : folder_(folder) {
    if (GetNamedSecurityInfoW(folder.c_str(), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr, nullptr, &oldDacl_,
                              nullptr, &descriptor_) == ERROR_SUCCESS) {
      EXPLICIT_ACCESSW deny{};
      deny.grfAccessPermissions = FILE_ADD_FILE | FILE_ADD_SUBDIRECTORY;
      deny.grfAccessMode = DENY_ACCESS;
      deny.grfInheritance = NO_INHERITANCE;
      BuildTrusteeWithNameW(&deny.Trustee, const_cast<wchar_t*>(L"Everyone"));
      PACL dacl = nullptr;
      if (SetEntriesInAclW(1, &deny, oldDacl_, &dacl) == ERROR_SUCCESS) {
        aclSet_ = SetNamedSecurityInfoW(const_cast<wchar_t*>(folder.c_str()), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION,
                                        nullptr, nullptr, dacl, nullptr) == ERROR_SUCCESS;
        LocalFree(dacl);
      }
    }
    unix_ = CanCreateIn(folder_) ? UnixPath(folder_) : std::wstring();
    if (!unix_.empty() && StartUnixShell(L"/bin/chmod a-w '" + unix_ + L"'") && Within(5000, [&] { return ReadOnlyAttribute(folder_); })) {
      chmodded_ = true;
      if (CanCreateIn(folder_) && StartUnixShell(L"/usr/bin/chattr +i '" + unix_ + L"'"))
        immutable_ = Within(5000, [&] { return !CanCreateIn(folder_); });
    }
    denied_ = !CanCreateIn(folder_);
  }
  ~CreationDenied() {
    if (chmodded_ && StartUnixShell((immutable_ ? L"/usr/bin/chattr -i '" + unix_ + L"'; " : L"") + L"/bin/chmod u+w '" + unix_ + L"'"))
      Within(5000, [&] { return !ReadOnlyAttribute(folder_); });
    if (aclSet_)
      SetNamedSecurityInfoW(const_cast<wchar_t*>(folder_.c_str()), SE_FILE_OBJECT, DACL_SECURITY_INFORMATION, nullptr,
                            nullptr, oldDacl_, nullptr);
    if (descriptor_) LocalFree(descriptor_);
    // A probe made just before the folder closed could not be removed then.
    DeleteFileW((folder_ / kProbeName).c_str());
  }
  CreationDenied(const CreationDenied&) = delete;
  CreationDenied& operator=(const CreationDenied&) = delete;
  bool Denied() const { return denied_; }

 private:
  fs::path folder_;
  std::wstring unix_;
  PACL oldDacl_ = nullptr;
  PSECURITY_DESCRIPTOR descriptor_ = nullptr;
  bool aclSet_ = false, chmodded_ = false, immutable_ = false, denied_ = false;
};

// Whatever stops the new line from being written: the old file stays whole (or none is made),
// the reason is named, and neither texts\ nor the installation folder keeps anything else.
TEST(RegistrationFiles, FailedWriteKeepsTheOldFileAndLeavesNothingElse) {
  enum Denied { kNowhere, kInTexts };  // where nothing can be created
  struct Case {
    const char* what;
    DWORD share;  // another program holds memo.txt open so (kNotHeld: nobody)
    bool fullDisk;
    std::vector<std::u16string> reasons;  // any of them, in the system's words
    Denied denied = kNowhere;
    bool old = true;  // memo.txt is there before (false: a new command)
  };
  constexpr DWORD kNotHeld = ~DWORD{0};
  const Case cases[] = {
      // Replacing a file in use: access denied or a sharing violation, as the file system says.
      {"held open, no sharing", 0, false, {u"(エラー 5)", u"(エラー 32)"}},
      {"held open for reading by another program", FILE_SHARE_READ, false, {u"(エラー 5)", u"(エラー 32)"}},
      {"disk full half-way", kNotHeld, true, {u"(エラー 112)"}},
      // A folder nobody may write in: the new content cannot take the old file's place.
      {"texts folder write-protected", kNotHeld, false, {u"(エラー 5)"}, kInTexts},
      {"texts folder write-protected, a new command", kNotHeld, false, {u"(エラー 5)"}, kInTexts, false},
  };
  std::vector<std::string> skipped;
  for (const Case& c : cases) {
    Installation inst;
    fs::path target = inst.Texts() / "memo.txt";
    if (c.old) WriteBytes(target, "old.exe \r\n");
    HANDLE held = c.share == kNotHeld ? INVALID_HANDLE_VALUE : OpenShared(target, c.share);
    ASSERT_TRUE(c.share == kNotHeld || held != INVALID_HANDLE_VALUE) << c.what;
    FullDisk full;
    Registration r;
    {
      std::optional<CreationDenied> denied;
      if (c.denied != kNowhere) denied.emplace(inst.Texts());
      if (denied && !denied->Denied()) {
        skipped.push_back(c.what);
        continue;
      }
      r = Register(inst.Folder(), u"memo", u"new.exe", u"x", c.fullDisk ? &full : nullptr);
    }
    EXPECT_EQ(r.result, RegistrationResult::kNotRegistered) << c.what;
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    if (c.old) EXPECT_EQ(ReadBytes(target), "old.exe \r\n") << c.what;
    EXPECT_EQ(Listing(inst.Texts()), c.old ? std::vector<std::wstring>{L"memo.txt"} : std::vector<std::wstring>{})
        << c.what;
    EXPECT_EQ(Listing(inst.dir.path()), std::vector<std::wstring>{L"texts"}) << c.what << ": no temporary file stays";
    ASSERT_EQ(r.d.log.size(), c.old ? 2u : 1u) << c.what << ": the replace question, then the error";
    const std::u16string err = r.last();
    EXPECT_EQ(err.rfind(u"err:" + test::PathText(target) + u" に書き込めませんでした。", 0), 0u) << c.what;
    EXPECT_TRUE(std::any_of(c.reasons.begin(), c.reasons.end(),
                            [&](const std::u16string& r) { return err.find(r) != std::u16string::npos; }))
        << c.what << ": " << ToUtf8(err);
    EXPECT_NE(err.find(c.old ? u"元の内容のまま" : u"コマンドは登録されませんでした"), std::u16string::npos) << c.what;
  }
  if (!skipped.empty()) TAV_SKIP_UNSUPPORTED() << "this platform cannot stop file creation in a folder:" << Listed(skipped);
}

// Temporary files of saves that were killed between writing and moving: once nobody has them
// open and some time has passed they are removed, however many there are; one that another
// copy of the program may still be writing is left alone.
TEST(RegistrationFiles, TemporaryFilesOfInterruptedSavesAreRemoved) {
  struct Case {
    const char* what;
    int leftovers;
    int ageSeconds;
    bool heldOpen;
    bool removed;
  };
  const Case cases[] = {
      {"one, a minute old", 1, 60, false, true},
      {"every name taken, an hour old", kTempAttempts, 3600, false, true},
      {"just written", 3, 0, false, false},
      {"old but still open", 1, 3600, true, false},
  };
  for (const Case& c : cases) {
    Installation inst;
    std::vector<fs::path> temps;
    const std::u16string texts = test::PathText(inst.Texts());
    fs::create_directory(test::PathOf(TempFolderFor(texts)));
    for (int i = 0; i < c.leftovers; ++i) {
      temps.push_back(test::PathOf(TempPathFor(texts, i)));
      WriteBytes(temps.back(), "half a li");
      test::Age(temps.back(), c.ageSeconds);
    }
    HANDLE held = c.heldOpen ? OpenShared(temps[0], FILE_SHARE_READ | FILE_SHARE_WRITE) : INVALID_HANDLE_VALUE;
    const RegistrationResult r = Register(inst.Folder(), u"memo", u"new.exe", u"").result;
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    bool registeredExpected = c.removed || c.leftovers < kTempAttempts;
    EXPECT_EQ(r, registeredExpected ? RegistrationResult::kRegistered : RegistrationResult::kNotRegistered) << c.what;
    EXPECT_EQ(ReadBytes(inst.Texts() / "memo.txt"), "new.exe \r\n") << c.what;
    for (const fs::path& t : temps) EXPECT_EQ(fs::exists(t), !c.removed) << c.what << ": " << t.string();
    EXPECT_EQ(Listing(inst.dir.path()), std::vector<std::wstring>{L"texts"}) << c.what;
    // Their folder goes with the last of them.
    EXPECT_EQ(Listing(inst.Texts()).size(), c.removed ? 1u : 2u) << c.what;
  }
}

// A probe that watches the lookup: the file as it stands while the association is asked.
class WatchedLookup : public Win32LookupPlatform {
 public:
  std::string seenDuringLookup = "<not looked up>";
  AssociationResult AssociatedProgram(const std::u16string& file, const std::u16string& folder) override {
    seenDuringLookup = ReadBytes(test::PathOf(file));
    return Win32LookupPlatform::AssociatedProgram(file, folder);
  }
};


TEST(RegistrationFiles, BrowserLookupAsksAboutItsOwnProbeAndRemovesIt) {
  TAV_REQUIRE_DISPOSABLE_PROFILE();
  TAV_REQUIRE_OWN_HTML_ASSOCIATION();
  TempDir dir;
  WriteBytes(dir.path() / "browser.exe", "MZ");
  test::HtmlOpensWith browser((dir.path() / "browser.exe").wstring());
  for (bool older : {false, true}) {
    if (older) WriteBytes(dir.path() / "browser.html", "an older probe");
    RecordingDialogs d;
    WatchedLookup platform;
    auto program = BrowserLookup(platform, d, dir.Text());
    ASSERT_TRUE(program.has_value()) << older << ": " << (d.log.empty() ? "no message" : ToUtf8(d.log[0]));
    EXPECT_TRUE(EqualsNoCase(*program, dir.Text("browser.exe"))) << ToUtf8(*program);
    EXPECT_TRUE(d.log.empty()) << older;
    EXPECT_EQ(platform.seenDuringLookup, "\x82\xb1\x82\xcc\x83\x74\x83\x40\x83\x43\x83\x8b\x82\xcd\x8d\xed"
                                         "\x8f\x9c\x82\xb5\x82\xc4\x82\xad\x82\xbe\x82\xb3\x82\xa2\r\n")
        << older;
    EXPECT_EQ(Listing(dir.path()), std::vector<std::wstring>{L"browser.exe"}) << older;
  }
}

// Something in the probe's place that leads elsewhere; make(probe, elsewhere) is false where the
// platform cannot make it.
struct Redirect {
  const char* what;
  std::function<bool(const fs::path& probe, const fs::path& elsewhere)> make;
};

// Whatever would lead the probe's write to another file is refused, named, and left as it is:
// nothing is read or written through it. Gives the redirects the platform could not make.
std::vector<std::string> ProbeRefusedThrough(const std::vector<Redirect>& redirects) {
  std::vector<std::string> unmade;
  for (const auto& [what, make] : redirects) {
    TempDir dir;
    const fs::path probe = dir.path() / "browser.html", elsewhere = dir.path() / "keep.txt";
    WriteBytes(elsewhere, "precious");
    fs::create_directory(dir.path() / "sub");
    if (!make(probe, elsewhere)) {
      unmade.push_back(what);
      continue;
    }
    const DWORD made = GetFileAttributesW(probe.c_str());
    RecordingDialogs d;
    WatchedLookup platform;
    EXPECT_FALSE(BrowserLookup(platform, d, dir.Text()).has_value()) << what;
    EXPECT_EQ(platform.seenDuringLookup, "<not looked up>") << what;
    EXPECT_EQ(ReadBytes(elsewhere), "precious") << what;
    EXPECT_FALSE(fs::exists(dir.path() / "none.txt")) << what;
    EXPECT_TRUE(fs::is_empty(dir.path() / "sub")) << what;
    EXPECT_EQ(GetFileAttributesW(probe.c_str()), made) << what << ": not ours to remove";
    EXPECT_EQ(d.log.size(), 1u) << what;
    EXPECT_EQ(d.log.empty() ? 1 : d.log[0].rfind(u"err:既定のブラウザを調べるためのファイル " + test::PathText(probe), 0), 0u)
        << what;
  }
  return unmade;
}

TEST(RegistrationFiles, ProbeIsNeverWrittenThroughAHardLinkOrIntoAFolder) {
  const auto unmade = ProbeRefusedThrough({
      {"hard link", [](const fs::path& p, const fs::path& e) { return CreateHardLinkW(p.c_str(), e.c_str(), nullptr) != 0; }},
      {"folder", [](const fs::path& p, const fs::path&) { return CreateDirectoryW(p.c_str(), nullptr) != 0; }},
  });
  EXPECT_TRUE(unmade.empty()) << Listed(unmade);
}

// A junction folder -> target (a mount-point reparse point), as mklink /J makes it.
bool MakeJunction(const fs::path& folder, const fs::path& target) {
  if (!CreateDirectoryW(folder.c_str(), nullptr)) return false;
  HANDLE h = CreateFileW(folder.c_str(), GENERIC_WRITE, 0, nullptr, OPEN_EXISTING,
                         FILE_FLAG_BACKUP_SEMANTICS | FILE_FLAG_OPEN_REPARSE_POINT, nullptr);
  if (h == INVALID_HANDLE_VALUE) return false;
  const std::wstring substitute = L"\\??\\" + target.wstring(), print = target.wstring();
  struct {
    DWORD tag;
    WORD dataLength, reserved;
    WORD substituteOffset, substituteLength, printOffset, printLength;
    wchar_t paths[2 * MAX_PATH * 4];
  } b{};
  b.tag = IO_REPARSE_TAG_MOUNT_POINT;
  b.substituteLength = static_cast<WORD>(substitute.size() * sizeof(wchar_t));
  b.printOffset = static_cast<WORD>(b.substituteLength + sizeof(wchar_t));
  b.printLength = static_cast<WORD>(print.size() * sizeof(wchar_t));
  std::copy(substitute.begin(), substitute.end(), b.paths);
  std::copy(print.begin(), print.end(), b.paths + substitute.size() + 1);
  b.dataLength = static_cast<WORD>(8 + b.printOffset + b.printLength + sizeof(wchar_t));
  DWORD got = 0;
  BOOL ok = DeviceIoControl(h, FSCTL_SET_REPARSE_POINT, &b, 8 + b.dataLength, nullptr, 0, &got, nullptr);
  CloseHandle(h);
  return ok != FALSE;
}

bool IsReparsePoint(const fs::path& p) {
  DWORD a = GetFileAttributesW(p.c_str());
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_REPARSE_POINT);
}

// texts\ as a link to a new folder on another volume: under Wine a symbolic link to a tmpfs
// (/dev/shm), made by the Unix tools since Wine's CreateSymbolicLinkW makes nothing; on Windows a
// junction to a folder below TAV_OTHER_VOLUME (a second drive). Made() is false where neither is.
class TextsElsewhere {
 public:
  explicit TextsElsewhere(const fs::path& installFolder) : link_(installFolder / "texts") {
    const std::wstring name = L"tavtest-" + std::to_wstring(std::random_device{}());
    const std::wstring unixFolder = UnixPath(installFolder);
    if (!unixFolder.empty()) {
      other_ = fs::path(L"Z:\\dev\\shm") / name;
      if (!CreateDirectoryW(other_.c_str(), nullptr)) return;
      unixOther_ = L"/dev/shm/" + name;
      unixLink_ = unixFolder + L"/texts";
      made_ = StartUnixShell(L"ln -s '" + unixOther_ + L"' '" + unixLink_ + L"'") &&
              Within(5000, [&] { return fs::is_directory(link_); });
    } else if (const wchar_t* volume = _wgetenv(L"TAV_OTHER_VOLUME")) {
      other_ = fs::path(volume) / name;
      made_ = CreateDirectoryW(other_.c_str(), nullptr) && MakeJunction(link_, other_);
    }
  }
  ~TextsElsewhere() {
    std::error_code ec;
    if (!unixLink_.empty()) {
      if (StartUnixShell(L"rm -rf '" + unixOther_ + L"'; rm -f '" + unixLink_ + L"'"))
        Within(5000, [&] { return !fs::exists(link_) && !fs::exists(other_); });
    } else {
      RemoveDirectoryW(link_.c_str());  // the junction only
      if (!other_.empty()) fs::remove_all(other_, ec);
    }
  }
  TextsElsewhere(const TextsElsewhere&) = delete;
  TextsElsewhere& operator=(const TextsElsewhere&) = delete;
  bool Made() const { return made_; }

 private:
  fs::path link_, other_;
  std::wstring unixOther_, unixLink_;
  bool made_ = false;
};

// texts\ on another volume (a second disk, a synced folder), or an installation folder nobody
// may write in: the command file is still made or replaced in one step, and nothing else stays.
TEST(RegistrationFiles, WrittenWhereverTextsLiesAndNothingGoesIntoTheInstallationFolder) {
  struct Case {
    const char* what;
    bool textsElsewhere, installationDenied, old;
  };
  const Case cases[] = {
      {"texts on another file system, a new command", true, false, false},
      {"texts on another file system, replacing", true, false, true},
      {"installation folder write-protected", false, true, true},
  };
  std::vector<std::string> skipped;
  for (const Case& c : cases) {
    TempDir dir;
    std::optional<TextsElsewhere> elsewhere;
    if (c.textsElsewhere) {
      elsewhere.emplace(dir.path());
      if (!elsewhere->Made()) {
        skipped.push_back(c.what);
        continue;
      }
      // Only a real crossing shows anything: a plain move into texts\ must fail.
      WriteBytes(dir.path() / "probe", "x");
      const bool moved = MoveFileExW((dir.path() / "probe").c_str(), (dir.path() / "texts" / "probe").c_str(), 0);
      ASSERT_TRUE(!moved && GetLastError() == ERROR_NOT_SAME_DEVICE) << c.what;
      ASSERT_TRUE(DeleteFileW((dir.path() / "probe").c_str()));
    } else {
      fs::create_directory(dir.path() / "texts");
    }
    const fs::path target = dir.path() / "texts" / "memo.txt";
    if (c.old) WriteBytes(target, "old.exe \r\n");
    Registration r;
    {
      std::optional<CreationDenied> denied;
      if (c.installationDenied) denied.emplace(dir.path());
      if (denied && !denied->Denied()) {
        skipped.push_back(c.what);
        continue;
      }
      r = Register(dir.Text(), u"memo", u"new.exe", u"x");
    }
    EXPECT_EQ(r.result, RegistrationResult::kRegistered) << c.what << ": " << ToUtf8(r.last());
    EXPECT_EQ(ReadBytes(target), "new.exe x\r\n") << c.what;
    EXPECT_EQ(Listing(dir.path() / "texts"), std::vector<std::wstring>{L"memo.txt"}) << c.what;
    EXPECT_EQ(Listing(dir.path()), std::vector<std::wstring>{L"texts"}) << c.what;
    ASSERT_EQ(r.d.log.size(), c.old ? 2u : 1u) << c.what;
    EXPECT_EQ(r.last(), u"msg:" + RegisteredMessage(u"new.exe x")) << c.what;
  }
  if (!skipped.empty()) TAV_SKIP_UNSUPPORTED() << "this platform cannot make:" << Listed(skipped);
}

// Another program (a virus scanner, a sync client) holds the command file for a moment: the
// move is tried again until it lets go. The holder lets go only once the save has written its
// temporary file, and a while after, so the first tries are refused however slow the machine.
TEST(RegistrationFiles, FileHeldForAMomentIsReplacedOnceReleased) {
  Installation inst;
  const fs::path target = inst.Texts() / "memo.txt";
  WriteBytes(target, "old.exe \r\n");
  struct Holder {
    HANDLE file;
    fs::path temporaries;
    bool sawTemporary = false;
  } holder{OpenShared(target, FILE_SHARE_READ | FILE_SHARE_WRITE), inst.Texts() / "tavimset-temp"};
  ASSERT_NE(holder.file, INVALID_HANDLE_VALUE);
  HANDLE release = CreateThread(
      nullptr, 0,
      [](void* p) -> DWORD {
        auto& h = *static_cast<Holder*>(p);
        std::error_code e;
        for (int i = 0; i < 1000 && !h.sawTemporary; ++i, Sleep(10))
          h.sawTemporary = fs::directory_iterator(h.temporaries, e) != fs::directory_iterator();
        Sleep(600);
        CloseHandle(h.file);
        return 0;
      },
      &holder, 0, nullptr);
  ASSERT_NE(release, nullptr);
  const Registration r = Register(inst.Folder(), u"memo", u"new.exe", u"x");
  WaitForSingleObject(release, INFINITE);
  CloseHandle(release);
  EXPECT_TRUE(holder.sawTemporary) << "no temporary file was written while the command file was held";
  EXPECT_EQ(r.result, RegistrationResult::kRegistered) << ToUtf8(r.last());
  EXPECT_EQ(ReadBytes(target), "new.exe x\r\n");
  EXPECT_EQ(Listing(inst.Texts()), std::vector<std::wstring>{L"memo.txt"});
}

// The same for links the platform can make here: Windows makes symbolic links with developer
// mode or administrator rights only, and Wine 8 makes neither kind (the cases are skipped then).
TEST(RegistrationFiles, ProbeIsNeverWrittenThroughASymbolicLinkOrJunction) {
  const auto link = [](const fs::path& p, const fs::path& target) {
    return CreateSymbolicLinkW(p.c_str(), target.c_str(), SYMBOLIC_LINK_FLAG_ALLOW_UNPRIVILEGED_CREATE) && IsReparsePoint(p);
  };
  const auto unmade = ProbeRefusedThrough({
      {"symbolic link to a file", [&](const fs::path& p, const fs::path& e) { return link(p, e); }},
      {"symbolic link to a missing file",
       [&](const fs::path& p, const fs::path& e) { return link(p, e.parent_path() / "none.txt"); }},
      {"junction",
       [](const fs::path& p, const fs::path& e) { return MakeJunction(p, e.parent_path() / "sub") && IsReparsePoint(p); }},
  });
  if (!unmade.empty()) TAV_SKIP_UNSUPPORTED() << "this platform cannot make:" << Listed(unmade);
}

TEST(RegistrationFiles, AssociationLookupNamesTheAssociatedProgram) {
  TAV_REQUIRE_DISPOSABLE_PROFILE();
  TempDir dir;
  WriteBytes(dir.path() / "viewer.exe", "MZ");
  WriteBytes(dir.path() / "a.tavtest", "x");
  // A file type of our own, opened by a program of our own, so the answer is known in advance.
  test::FileTypeOpensWith type(L".tavtest", L"TavimsetTest.File", (dir.path() / "viewer.exe").wstring());
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
