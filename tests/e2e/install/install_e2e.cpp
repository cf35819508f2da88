// The per-user installer as a user meets it, in silent mode: a fresh install, an upgrade over a
// running launcher and the user's files, and both kinds of uninstall.
#include <windows.h>
#include <shlobj.h>

#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "driver.h"
#include "form1_controls.h"
#include "temp_dir.h"
#include "text_encoding.h"

namespace tav::e2e {
namespace {

using test::ReadBytes;
using test::WriteBytes;
constexpr wchar_t kUninstallKey[] = L"Software\\Microsoft\\Windows\\CurrentVersion\\Uninstall\\Tavimbra";
const std::wstring kVersion = L"" TAV_VERSION;
constexpr int kExitInUse = 3;   // installer/decisions.nsh, declared to winget as packageInUse
constexpr int kExitFailed = 2;  // anything else that stopped the installer

// build\windows\tests\e2e\install_e2e_tests.exe -> build\windows\installer\<setup>; a
// multi-config build (Visual Studio, Ninja Multi-Config) puts the program one folder deeper, in
// tests\e2e\Release\, so the build folder is looked for upwards.
fs::path SetupExe() {
  wchar_t buf[MAX_PATH * 4];
  GetModuleFileNameW(nullptr, buf, MAX_PATH * 4);
  const fs::path exeFolder = fs::path(buf).parent_path();
  std::error_code e;
  for (fs::path p = exeFolder; p.has_relative_path(); p = p.parent_path())
    if (fs::exists(p / "installer" / TAV_SETUP_NAME, e)) return p / "installer" / TAV_SETUP_NAME;
  return exeFolder.parent_path().parent_path() / "installer" / TAV_SETUP_NAME;  // named when missing
}

fs::path InstallDir() { return KnownFolder(FOLDERID_LocalAppData) / "Programs" / "Tavimbra"; }

bool KeyExists() {
  HKEY k;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, kUninstallKey, 0, KEY_READ, &k) != ERROR_SUCCESS) return false;
  RegCloseKey(k);
  return true;
}
std::wstring KeyString(const wchar_t* name) {
  wchar_t buf[2048] = {};
  DWORD size = sizeof buf;
  if (RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS)
    return L"<missing>";
  return buf;
}
DWORD KeyDword(const wchar_t* name) {
  DWORD v = 0, size = sizeof v;
  if (RegGetValueW(HKEY_CURRENT_USER, kUninstallKey, name, RRF_RT_REG_DWORD, nullptr, &v, &size) != ERROR_SUCCESS)
    return 0;
  return v;
}

std::wstring VersionString(const fs::path& exe, const wchar_t* block, const wchar_t* name) {
  DWORD ignored = 0, size = GetFileVersionInfoSizeW(exe.c_str(), &ignored);
  if (!size) return L"<no version info>";
  std::vector<BYTE> data(size);
  if (!GetFileVersionInfoW(exe.c_str(), 0, size, data.data())) return L"<no version info>";
  std::wstring sub = std::wstring(L"\\StringFileInfo\\") + block + L"\\" + name;
  void* value = nullptr;
  UINT len = 0;
  if (!VerQueryValueW(data.data(), sub.c_str(), &value, &len) || !len) return L"<missing>";
  return static_cast<const wchar_t*>(value);
}

std::string Utf8(const std::wstring& w) { return ToUtf8(U(w.c_str())); }

// Runs the installer (or an uninstaller) and waits for its end.
int RunToEnd(const fs::path& exe, const std::wstring& args) {
  Process p(exe, args, exe.parent_path());
  return p.Wait(std::chrono::seconds(120));
}

// Starts a command line as the system's Apps & features does, and waits for its end.
int RunCommandLine(std::wstring commandLine) {
  STARTUPINFOW si{};
  si.cb = sizeof si;
  PROCESS_INFORMATION pi{};
  if (!CreateProcessW(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &si, &pi)) return -2;
  CloseHandle(pi.hThread);
  DWORD code = static_cast<DWORD>(-1);
  if (WaitForSingleObject(pi.hProcess, 120000) == WAIT_OBJECT_0) GetExitCodeProcess(pi.hProcess, &code);
  CloseHandle(pi.hProcess);
  return static_cast<int>(code);
}

// What an uninstall left in the installation folder: the step it stopped at shows in it.
std::string LeftInInstallDir(const fs::path& dir = InstallDir()) {
  std::string left;
  std::error_code ec;
  for (fs::recursive_directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
    left += " " + Utf8(it->path().lexically_relative(dir).wstring());
  return left;
}
// What a kept-data uninstall left beside the user's texts\ and settings\ (top level).
std::string LeftBesideUserData(const fs::path& dir) {
  std::string left;
  std::error_code ec;
  for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
    if (it->path().filename() != "texts" && it->path().filename() != "settings")
      left += " " + Utf8(it->path().filename().wstring());
  return left;
}
// The names in %TEMP%, to see what an uninstall leaves there.
std::vector<std::wstring> TempNames() {
  std::vector<std::wstring> names;
  std::error_code ec;
  for (fs::directory_iterator it(fs::temp_directory_path(), ec), end; !ec && it != end; it.increment(ec))
    names.push_back(it->path().filename().wstring());
  std::sort(names.begin(), names.end());
  return names;
}
// Waits until %TEMP% holds no name beyond before.
::testing::AssertionResult NothingNewInTemp(const std::vector<std::wstring>& before, std::chrono::seconds timeout) {
  std::string added;
  if (WaitUntil([&] {
        added.clear();
        for (const auto& n : TempNames())
          if (!std::binary_search(before.begin(), before.end(), n)) added += " " + Utf8(n);
        return added.empty();
      }, timeout))
    return ::testing::AssertionSuccess();
  return ::testing::AssertionFailure() << "left in %TEMP%:" << added;
}

// An uninstall command returns when the work is done (the registered ones run the uninstaller in
// place, _?=): the entry, removed last, is gone by then, so a reinstall right after it cannot
// race the removal. uninstall.exe itself goes when its process has ended.
::testing::AssertionResult Uninstall(const std::wstring& commandLine, const fs::path& dir = InstallDir()) {
  int rc = RunCommandLine(commandLine);
  if (rc != 0) return ::testing::AssertionFailure() << Utf8(commandLine) << " ended with " << rc;
  if (KeyExists())
    return ::testing::AssertionFailure() << Utf8(commandLine) << " returned before the uninstall ended; left:"
                                         << LeftInInstallDir(dir);
  if (!WaitUntil([&] { return !fs::exists(dir / "uninstall.exe"); }, std::chrono::seconds(15)))
    return ::testing::AssertionFailure() << "uninstall.exe stayed after its end";
  return ::testing::AssertionSuccess();
}
// The uninstaller in place with the given options (_?= comes last).
std::wstring UninstallInPlace(const std::wstring& options) {
  return L"\"" + (InstallDir() / "uninstall.exe").wstring() + L"\" " + options + L" _?=" + InstallDir().wstring();
}

// The running launcher's window (of any process), or null.
HWND LauncherWindow() { return FindWindowW(kLauncherClass, nullptr); }
// The window of a launcher whose program file is in dir, or null.
HWND LauncherWindowIn(const fs::path& dir) {
  for (HWND w = nullptr; (w = FindWindowExW(nullptr, w, kLauncherClass, nullptr)) != nullptr;) {
    DWORD pid = 0;
    GetWindowThreadProcessId(w, &pid);
    HANDLE h = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION, FALSE, pid);
    wchar_t path[MAX_PATH * 2] = {};
    DWORD size = MAX_PATH * 2;
    bool ours = h && QueryFullProcessImageNameW(h, 0, path, &size) && SamePath(fs::path(path).parent_path(), dir);
    if (h) CloseHandle(h);
    if (ours) return w;
  }
  return nullptr;
}

// Calls the launcher up with Alt+vk from another application and runs the typed line with Enter.
::testing::AssertionResult SummonAndRun(HWND form, WORD vk, const std::wstring& typed) {
  ForegroundWindow other;
  other.Activate();
  if (!WaitForLauncherReady(form)) return ::testing::AssertionFailure() << "the launcher did not finish starting";
  HWND edit = FindChild(form, L"Edit");
  SendAltKey(vk);
  if (!WaitUntil([&] { return IsWindowVisible(form) && FocusOf(form) == edit; }, std::chrono::seconds(5)))
    return ::testing::AssertionFailure() << "not summoned: " << Utf8(DescribeForeground());
  TypeText(typed);
  if (!WaitUntil([&] { return WindowText(edit) == typed; }, std::chrono::seconds(5)))
    return ::testing::AssertionFailure() << "typed text is " << Utf8(WindowText(edit));
  SendKey(VK_RETURN);
  return ::testing::AssertionSuccess();
}

// Runs the command "probe" with an argument that way; the probe records it.
::testing::AssertionResult RunProbeCommand(Installation& probeHome, HWND form, WORD vk, const std::wstring& arg,
                                           std::size_t records) {
  if (auto run = SummonAndRun(form, vk, L"probe/" + arg); !run) return run;
  if (!probeHome.WaitForProbe(records, std::chrono::seconds(15)))
    return ::testing::AssertionFailure() << "the command did not run";
  auto log = probeHome.ProbeLog();
  if (log.back().commandLine != probeHome.ProbeCommand() + L" " + arg)
    return ::testing::AssertionFailure() << "ran " << Utf8(log.back().commandLine);
  if (!SamePath(log.back().currentFolder, InstallDir()))
    return ::testing::AssertionFailure() << "ran in " << Utf8(log.back().currentFolder);
  return ::testing::AssertionSuccess();
}

bool ThisProcessElevated() {
  HANDLE token = nullptr;
  TOKEN_ELEVATION elevation{};
  DWORD size = 0;
  bool elevated = OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY, &token) &&
                  GetTokenInformation(token, TokenElevation, &elevation, sizeof elevation, &size) &&
                  elevation.TokenIsElevated;
  if (token) CloseHandle(token);
  return elevated;
}

// Runs a command that leaves marker.txt in the folder the launcher runs in (cmd.exe's "echo"
// into a relative name).
::testing::AssertionResult RunMarkerCommand(HWND form, WORD vk) {
  const fs::path marker = InstallDir() / "marker.txt";
  WriteBytes(InstallDir() / "texts" / "mark.txt", "cmd.exe /c echo started>marker.txt\r\n");
  if (auto run = SummonAndRun(form, vk, L"mark"); !run) return run;
  if (!WaitUntil([&] { return fs::exists(marker); }, std::chrono::seconds(15)))
    return ::testing::AssertionFailure() << "no marker.txt in the installation folder";
  fs::remove(marker);
  fs::remove(InstallDir() / "texts" / "mark.txt");
  return ::testing::AssertionSuccess();
}

// Waits for the end of the process that owns w.
bool WaitWindowProcessEnd(HWND w) {
  DWORD pid = 0;
  GetWindowThreadProcessId(w, &pid);
  HANDLE h = OpenProcess(SYNCHRONIZE, FALSE, pid);
  if (!h) return !IsWindow(w);
  bool ended = WaitForSingleObject(h, 15000) == WAIT_OBJECT_0;
  CloseHandle(h);
  return ended;
}

class Installer : public ::testing::Test {
 protected:
  void SetUp() override {
    // Installs into the user's own programs folder, shortcuts and uninstall entry.
    TAV_REQUIRE_DISPOSABLE_PROFILE();
    mayClean_ = true;
    ASSERT_TRUE(fs::exists(SetupExe())) << SetupExe().string();
    ASSERT_FALSE(KeyExists()) << "an earlier test left an installation";
  }
  void TearDown() override {
    if (!mayClean_) return;  // never the installation of the signed-in user
    std::error_code ec;
    if (KeyExists()) {
      const fs::path at = KeyString(L"InstallLocation");
      Uninstall(L"\"" + (at / "uninstall.exe").wstring() + L"\" /S /REMOVEDATA _?=" + at.wstring(), at);
      if (at != InstallDir()) fs::remove_all(at, ec);
    }
    fs::remove_all(InstallDir(), ec);
  }
  bool mayClean_ = false;
};

TEST_F(Installer, InstallsUpgradesKeepingUserFilesAndUninstallsKeepingThem) {
  const fs::path dir = InstallDir();
  const fs::path startup = KnownFolder(FOLDERID_Startup) / L"Tavimbra.lnk";
  const fs::path sendTo = KnownFolder(FOLDERID_SendTo) / L"Tavimbraに登録.lnk";
  const fs::path programs = KnownFolder(FOLDERID_Programs);

  // Fresh install.
  ASSERT_EQ(RunToEnd(SetupExe(), L"/S"), 0);
  const std::vector<fs::path> delivered = {"Tavimbra.exe", "Tavimset.exe", "plugins/kovrand/kovrand.exe",
                                           "uninstall.exe", "settings/skin.bmp", "LICENSE"};
  for (const auto& f : delivered) EXPECT_TRUE(fs::exists(dir / f)) << f.string();
  for (const char* sample : {"memo.txt", "home.txt", "web.txt"}) EXPECT_TRUE(fs::exists(dir / "texts" / sample)) << sample;
  EXPECT_TRUE(fs::exists(programs / L"Tavimbra.lnk"));
  EXPECT_TRUE(fs::exists(programs / L"Tavimset.lnk"));

  struct { const wchar_t* name; std::wstring expected; } values[] = {
      {L"DisplayName", L"Tavimbra"},
      {L"DisplayVersion", kVersion},
      {L"Publisher", L"" TAV_PUBLISHER},
      {L"URLInfoAbout", L"" TAV_HOMEPAGE},
      {L"HelpLink", L"" TAV_HOMEPAGE},
      {L"DisplayIcon", (dir / "Tavimbra.exe").wstring() + L",0"},
      {L"InstallLocation", dir.wstring()},
      {L"UninstallString", L"\"" + (dir / "uninstall.exe").wstring() + L"\" _?=" + dir.wstring()},
      {L"QuietUninstallString", L"\"" + (dir / "uninstall.exe").wstring() + L"\" /S _?=" + dir.wstring()},
  };
  for (const auto& v : values)
    EXPECT_EQ(CompareStringOrdinal(KeyString(v.name).c_str(), -1, v.expected.c_str(), -1, TRUE), CSTR_EQUAL)
        << Utf8(v.name) << ": " << Utf8(KeyString(v.name)) << ", expected " << Utf8(v.expected);
  EXPECT_GT(KeyDword(L"EstimatedSize"), 100u) << "in KB";

  // Start at log-on (chosen by default): the same shortcut the settings program makes, and a
  // new settings file that records it.
  const Shortcut l = ReadShortcut(startup);
  EXPECT_TRUE(SamePath(l.target, dir / "Tavimbra.exe")) << l.target.string();
  EXPECT_TRUE(SamePath(l.workingFolder, dir)) << l.workingFolder.string();
  EXPECT_NE(ReadBytes(dir / "settings" / "tavimbra.ini").find("StartUP=1"), std::string::npos);

  // Both programs carry the build's version, in Japanese and English.
  struct { const wchar_t* exe; const wchar_t* block; const wchar_t* name; std::wstring expected; } info[] = {
      {L"Tavimbra.exe", L"041104B0", L"ProductVersion", kVersion},
      {L"Tavimbra.exe", L"041104B0", L"FileDescription", L"キーボードランチャー"},
      {L"Tavimbra.exe", L"040904B0", L"FileDescription", L"Tavimbra launcher"},
      {L"Tavimbra.exe", L"040904B0", L"ProductName", L"Tavimbra"},
      {L"Tavimset.exe", L"041104B0", L"ProductVersion", kVersion},
      {L"Tavimset.exe", L"041104B0", L"FileDescription", L"Tavimbra の設定"},
      {L"Tavimset.exe", L"040904B0", L"FileDescription", L"Tavimbra settings"},
      {L"Tavimset.exe", L"040904B0", L"FileVersion", kVersion},
  };
  for (const auto& i : info)
    EXPECT_EQ(VersionString(dir / i.exe, i.block, i.name), i.expected) << Utf8(i.exe) << " " << Utf8(i.name);
  EXPECT_NE(VersionString(dir / "Tavimset.exe", L"041104B0", L"LegalCopyright").find(L"Copyright"), std::wstring::npos);

  // The launcher runs from the installed folder.
  Installation probeHome;  // only for the probe and its log
  WriteBytes(dir / "texts" / "probe.txt", ToAnsi(U((probeHome.ProbeCommand()).c_str())) + "\r\n");
  RemoveLeftoverLauncherAtoms();  // a killed launcher's would pass for this one's before it holds its hotkeys
  Process launcher(dir / "Tavimbra.exe", L"", dir);
  HWND form = WaitForTopWindow(launcher.Id(), kLauncherClass);
  ASSERT_NE(form, nullptr);
  ASSERT_TRUE(RunProbeCommand(probeHome, form, 'O', L"first", 1));

  // The user's own files, as the programs write them (ANSI code page, CR LF), and the
  // shortcut the settings program makes when asked.
  const std::string userCommand = ToAnsi(u"notepad.exe C:\\メモ.txt") + "\r\n";
  const std::string userSettings = "[tavimbra]\r\nBack=FF0000\r\nKey1=80\r\nStartUP=1\r\n";
  const std::string memoChanged = "wordpad.exe\r\n";
  WriteBytes(dir / "texts" / L"日記.txt", userCommand);
  WriteBytes(dir / "settings" / "tavimbra.ini", userSettings);
  WriteBytes(dir / "texts" / "memo.txt", memoChanged);  // a sample the user changed
  fs::remove(dir / "texts" / "home.txt");               // and one they deleted
  const std::string probeBytes = ReadBytes(dir / "texts" / "probe.txt");

  // Upgrade over the running launcher: it is closed cleanly, and started again afterwards.
  ASSERT_EQ(RunToEnd(SetupExe(), L"/S"), 0);
  EXPECT_EQ(launcher.Wait(std::chrono::seconds(10)), 0) << "the old launcher did not end by its own close";
  EXPECT_EQ(ReadBytes(dir / "texts" / L"日記.txt"), userCommand);
  EXPECT_EQ(ReadBytes(dir / "settings" / "tavimbra.ini"), userSettings);
  EXPECT_EQ(ReadBytes(dir / "texts" / "memo.txt"), memoChanged);
  EXPECT_EQ(ReadBytes(dir / "texts" / "probe.txt"), probeBytes);
  EXPECT_FALSE(fs::exists(dir / "texts" / "home.txt")) << "a deleted sample came back";
  HWND again = nullptr;
  ASSERT_TRUE(WaitUntil([&] { return (again = LauncherWindow()) != nullptr; }, std::chrono::seconds(15)))
      << "the launcher was not started again";
  // Alt+P: the restarted launcher reads the kept settings file. An elevated installer (here too
  // when Wine gives every process an administrator's token) has the shell start it, so it does
  // not inherit this test's environment, which the probe needs: a command that leaves a file
  // in the launcher's folder shows instead that it runs, from the installation folder.
  if (ThisProcessElevated())
    ASSERT_TRUE(RunMarkerCommand(again, 'P'));
  else
    ASSERT_TRUE(RunProbeCommand(probeHome, again, 'P', L"second", 2));

  // Uninstall while it runs: programs, entries and shortcuts go, the user's files stay.
  ASSERT_TRUE(MakeShortcut(sendTo, dir / "Tavimbra.exe"));  // as the settings program makes it
  // The entry's quiet uninstall, as winget and Apps & features run it: nothing of it stays, in
  // %TEMP% either, and the folder holds the user's data only.
  const auto tempBefore = TempNames();
  ASSERT_TRUE(Uninstall(KeyString(L"QuietUninstallString")));
  EXPECT_TRUE(NothingNewInTemp(tempBefore, std::chrono::seconds(5)));
  EXPECT_EQ(LeftBesideUserData(dir), "");
  EXPECT_TRUE(WaitWindowProcessEnd(again)) << "the launcher still runs";
  for (const auto& f : {fs::path("Tavimbra.exe"), fs::path("Tavimset.exe"), fs::path("plugins"), fs::path("uninstall.exe"),
                        fs::path("LICENSE")})
    EXPECT_FALSE(fs::exists(dir / f)) << f.string();
  for (const auto& f : {programs / L"Tavimbra.lnk", programs / L"Tavimset.lnk", startup, sendTo})
    EXPECT_FALSE(fs::exists(f)) << f.string();
  EXPECT_EQ(ReadBytes(dir / "texts" / L"日記.txt"), userCommand);
  EXPECT_EQ(ReadBytes(dir / "settings" / "tavimbra.ini"), userSettings);
  EXPECT_EQ(ReadBytes(dir / "texts" / "memo.txt"), memoChanged);

  // A reinstall over the kept data makes the shortcuts the kept settings file names, and only
  // those, so the settings program shows what is there.
  const std::string keptSettings = "[tavimbra]\r\nStartUP=0\r\nSendTo=1\r\n";
  WriteBytes(dir / "settings" / "tavimbra.ini", keptSettings);
  ASSERT_EQ(RunToEnd(SetupExe(), L"/S"), 0);
  EXPECT_FALSE(fs::exists(startup)) << "start at sign-in came back against StartUP=0";
  EXPECT_TRUE(SamePath(ReadShortcut(sendTo).target, dir / "Tavimset.exe")) << ReadShortcut(sendTo).target.string();
  EXPECT_EQ(ReadBytes(dir / "settings" / "tavimbra.ini"), keptSettings);
}

// The Start-up shortcut of a portable copy (made by its settings program) is not this
// installation's: it stays.
TEST_F(Installer, UninstallWithRemovalRemovesTheFolder) {
  const fs::path startup = KnownFolder(FOLDERID_Startup) / L"Tavimbra.lnk";
  const fs::path portable = fs::temp_directory_path() / L"portable copy" / L"Tavimbra";
  ASSERT_EQ(RunToEnd(SetupExe(), L"/S"), 0);
  ASSERT_TRUE(fs::exists(InstallDir() / "texts" / "memo.txt"));
  WriteBytes(InstallDir() / "texts" / "mine.txt", "calc.exe\r\n");
  fs::create_directories(portable);
  WriteBytes(portable / "Tavimbra.exe", "");
  ASSERT_TRUE(MakeShortcut(startup, portable / "Tavimbra.exe"));
  ASSERT_TRUE(Uninstall(UninstallInPlace(L"/S /REMOVEDATA")));
  // The folder goes with uninstall.exe, right after the uninstaller's end.
  EXPECT_TRUE(WaitUntil([] { return !fs::exists(InstallDir()); }, std::chrono::seconds(10)))
      << "left:" << LeftInInstallDir();
  EXPECT_TRUE(SamePath(ReadShortcut(startup).target, portable / "Tavimbra.exe")) << "the portable copy's shortcut went";
  fs::remove(startup);
  std::error_code ec;
  fs::remove_all(portable.parent_path(), ec);

  // uninstall.exe started on its own (a double click): the installer system runs a copy of it
  // from %TEMP%, and that copy goes too once it has ended.
  ASSERT_EQ(RunToEnd(SetupExe(), L"/S"), 0);
  const auto tempBefore = TempNames();
  ASSERT_EQ(RunToEnd(InstallDir() / "uninstall.exe", L"/S /REMOVEDATA"), 0);
  EXPECT_TRUE(WaitUntil([] { return !KeyExists() && !fs::exists(InstallDir()); }, std::chrono::seconds(20)))
      << "left:" << LeftInInstallDir();
  EXPECT_TRUE(NothingNewInTemp(tempBefore, std::chrono::seconds(15)));
}

// A settings program left open holds its file: the upgrade and the uninstall stop and say so
// (the in-use exit code the winget manifest declares), instead of keeping the old program and reporting success.
TEST_F(Installer, UpgradeAndUninstallStopWhileTavimsetRuns) {
  const fs::path dir = InstallDir();
  ASSERT_EQ(RunToEnd(SetupExe(), L"/S"), 0);
  // Bytes after the image change nothing of the program but show whether it was replaced.
  const std::string marker = "not replaced";
  const std::string original = ReadBytes(dir / "Tavimset.exe");
  WriteBytes(dir / "Tavimset.exe", original + marker);
  Process settings(dir / "Tavimset.exe", L"", dir);
  HWND form = WaitForTopWindow(settings.Id(), settings::kForm1Class, true);
  ASSERT_NE(form, nullptr);

  EXPECT_EQ(RunToEnd(SetupExe(), L"/S"), kExitInUse);
  EXPECT_EQ(ReadBytes(dir / "Tavimset.exe"), original + marker);
  // In place (_?=), so the uninstaller's own exit code is seen.
  EXPECT_EQ(RunToEnd(dir / "uninstall.exe", L"/S _?=" + dir.wstring()), kExitInUse);
  EXPECT_TRUE(KeyExists());
  EXPECT_TRUE(fs::exists(dir / "Tavimset.exe"));
  EXPECT_TRUE(fs::exists(dir / "Tavimbra.exe"));

  ASSERT_EQ(CloseAndWait(form, settings), 0);
  EXPECT_EQ(RunToEnd(SetupExe(), L"/S"), 0);
  EXPECT_EQ(ReadBytes(dir / "Tavimset.exe"), original) << "replaced once it was closed";
}

// A program file that turns busy between the installer's in-use check and its copy (here: a
// mapped view, which lets the check open the file but not the copy replace it) fails the install
// with the failure code, not the in-use one; skipping the file would keep the old program and
// report success. A folder that cannot be made fails the same way.
TEST_F(Installer, FileBusyAfterTheCheckFailsTheUpgrade) {
  const fs::path opener = InstallDir() / "plugins" / "kovrand" / "kovrand.exe";
  ASSERT_EQ(RunToEnd(SetupExe(), L"/S"), 0);
  const std::string original = ReadBytes(opener);
  WriteBytes(opener, original + "not replaced");
  HANDLE file = CreateFileW(opener.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                            nullptr, OPEN_EXISTING, 0, nullptr);
  ASSERT_NE(file, INVALID_HANDLE_VALUE);
  HANDLE mapping = CreateFileMappingW(file, nullptr, PAGE_READONLY, 0, 0, nullptr);
  CloseHandle(file);
  ASSERT_NE(mapping, nullptr);
  const void* view = MapViewOfFile(mapping, FILE_MAP_READ, 0, 0, 0);
  ASSERT_NE(view, nullptr);

  EXPECT_EQ(RunToEnd(SetupExe(), L"/S"), kExitFailed);
  EXPECT_EQ(ReadBytes(opener), original + "not replaced");
  const fs::path blocked = fs::temp_directory_path() / L"tavimbra-a-file";
  WriteBytes(blocked, "");
  EXPECT_EQ(RunToEnd(SetupExe(), L"/S /D=" + (blocked / L"Tavimbra").wstring()), kExitFailed);
  fs::remove(blocked);

  UnmapViewOfFile(view);
  CloseHandle(mapping);
  EXPECT_EQ(RunToEnd(SetupExe(), L"/S"), 0);
  EXPECT_EQ(ReadBytes(opener), original) << "replaced once it was free";
}

// The visible text of a page of the uninstaller's window that starts with "Tavimbra" and names
// dir: the last page's (the components page names dir too, in a text of its own).
std::wstring LastPageText(HWND dialog, const fs::path& dir) {
  struct Search {
    std::wstring dir, found;
  } search{dir.wstring(), L""};
  EnumChildWindows(
      dialog,
      [](HWND w, LPARAM p) -> BOOL {
        auto* s = reinterpret_cast<Search*>(p);
        std::wstring text = WindowText(w);
        if (IsWindowVisible(w) && ClassName(w) == L"Static" && text.rfind(L"Tavimbra", 0) == 0 &&
            text.find(s->dir) != std::wstring::npos)
          s->found = text;
        return s->found.empty();
      },
      reinterpret_cast<LPARAM>(&search));
  return search.found;
}

// The uninstall as Apps & features starts it, clicked through: its last page names the folder the
// user's data stays in, and however long that page stays open, uninstall.exe and the rest of ours
// go once it is closed, %TEMP% included.
TEST_F(Installer, InteractiveUninstallNamesWhatItKeptAndLeavesNothingOnceClosed) {
  const fs::path dir = InstallDir();
  ASSERT_EQ(RunToEnd(SetupExe(), L"/S"), 0);
  const auto tempBefore = TempNames();
  Process uninstaller(dir / "uninstall.exe", L"_?=" + dir.wstring(), fs::temp_directory_path());
  HWND dialog = nullptr;
  std::wstring lastPage;
  ASSERT_TRUE(WaitUntil([&] {
    dialog = FindTopWindow(uninstaller.Id(), kMessageBoxClass, true);
    if (!dialog || !(lastPage = LastPageText(dialog, dir)).empty()) return dialog != nullptr;
    HWND next = GetDlgItem(dialog, IDOK);  // Next, Uninstall
    if (next && IsWindowVisible(next) && IsWindowEnabled(next)) {
      PostMessageW(next, BM_CLICK, 0, 0);
      Sleep(1000);
    }
    return false;
  }, std::chrono::seconds(60))) << "the last page did not come";
  EXPECT_NE(lastPage.find(L"texts, settings"), std::wstring::npos) << Utf8(lastPage);
  EXPECT_FALSE(KeyExists());
  Sleep(5000);  // the user takes their time
  PostMessageW(GetDlgItem(dialog, IDOK), BM_CLICK, 0, 0);  // Finish
  EXPECT_EQ(uninstaller.Wait(std::chrono::seconds(15)), 0);
  EXPECT_TRUE(WaitUntil([&] { return !fs::exists(dir / "uninstall.exe"); }, std::chrono::seconds(15)))
      << "uninstall.exe stayed after its end";
  EXPECT_EQ(LeftBesideUserData(dir), "");
  EXPECT_TRUE(NothingNewInTemp(tempBefore, std::chrono::seconds(5)));
}

// Folder names a command line or a plug-in call could misread: install there, an upgrade over the
// running launcher brings it back (through the shell when the installer runs elevated), and the
// entry's uninstall removes everything but the user's data.
TEST_F(Installer, AnyFolderName) {
  for (const wchar_t* name : {L"Bob's tools (x86) & 100%", L"ツール フォルダ"}) {
    SCOPED_TRACE(Utf8(name));
    const fs::path dir = fs::temp_directory_path() / name / L"Tavimbra";
    ASSERT_EQ(RunToEnd(SetupExe(), L"/S /D=" + dir.wstring()), 0);
    ASSERT_TRUE(fs::exists(dir / "Tavimbra.exe"));
    EXPECT_TRUE(SamePath(KeyString(L"InstallLocation"), dir)) << Utf8(KeyString(L"InstallLocation"));
    RemoveLeftoverLauncherAtoms();
    Process launcher(dir / "Tavimbra.exe", L"", dir);
    ASSERT_NE(WaitForTopWindow(launcher.Id(), kLauncherClass), nullptr);
    ASSERT_EQ(RunToEnd(SetupExe(), L"/S"), 0);  // into the entry's folder
    EXPECT_EQ(launcher.Wait(std::chrono::seconds(10)), 0) << "the old launcher did not end by its own close";
    HWND again = nullptr;
    EXPECT_TRUE(WaitUntil([&] { return (again = LauncherWindowIn(dir)) != nullptr; }, std::chrono::seconds(15)))
        << "the launcher was not started again";
    ASSERT_TRUE(Uninstall(KeyString(L"QuietUninstallString"), dir));
    if (again) EXPECT_TRUE(WaitWindowProcessEnd(again)) << "the launcher still runs";
    EXPECT_EQ(LeftBesideUserData(dir), "");
    std::error_code ec;
    fs::remove_all(dir.parent_path(), ec);
  }
}

// A launcher running from another folder (a portable copy) is not this installation's: the
// install, an upgrade and the uninstall leave it running, and start no second one.
TEST_F(Installer, LeavesACopyFromAnotherFolderRunning) {
  Installation portable;
  RemoveLeftoverLauncherAtoms();
  Process copy = portable.Start(L"Tavimbra.exe");
  ASSERT_NE(WaitForTopWindow(copy.Id(), kLauncherClass), nullptr);
  for (const char* step : {"install", "upgrade"}) {
    ASSERT_EQ(RunToEnd(SetupExe(), L"/S"), 0) << step;
    EXPECT_TRUE(copy.Running()) << "closed by the " << step;
  }
  ASSERT_TRUE(Uninstall(UninstallInPlace(L"/S")));
  EXPECT_TRUE(copy.Running()) << "closed by the uninstall";
}

// The installer's decisions, run by installer_logic.exe (the same decisions.nsh) with fakes of
// the Windows calls: an elevated installer, a close refused across integrity levels and the
// shell's own process cannot be had here. Each case: its options, exit code and the calls made.
struct DecisionRun {
  int code;
  std::string calls;
};
DecisionRun RunDecisions(const std::wstring& options) {
  const fs::path logic = SetupExe().parent_path() / "installer_logic.exe";
  const fs::path log = fs::temp_directory_path() / L"tavimbra-decisions.log";
  fs::remove(log);
  int code = RunToEnd(logic, L"/S /LOG=" + log.wstring() + L" " + options);
  return {code, ReadBytes(log)};
}

TEST(InstallerDecisions, StartsTheLauncherAtTheUsersLevelAndReportsARefusedCloseAtOnce) {
  std::string fiveUnanswered;
  for (int i = 0; i < 5; ++i) fiveUnanswered += "send 4242\nwait\n";
  const struct {
    const char* what;
    std::wstring options;
    int code;
    std::string calls;
  } cases[] = {
      {"an installer at the user's level starts it itself", L"/CASE=start /ELEVATED=0 /SHELL=1 /D=C:\\Inst", 0,
       "exec C:\\Inst\\Tavimbra.exe in C:\\Inst\n"},
      {"an elevated one leaves it to the shell", L"/CASE=start /ELEVATED=1 /SHELL=1 /D=C:\\Inst", 0,
       "shell C:\\Inst\\Tavimbra.exe in C:\\Inst\n"},
      {"and starts nothing when the shell cannot", L"/CASE=start /ELEVATED=1 /SHELL=0 /D=C:\\Inst", 0, "shell failed\n"},
      {"a launcher that closes is waited for", L"/CASE=close /SENDS=C", 0, "send 4242\nwait\ndone, one was running: 1\n"},
      {"a refused close is asked at once, silent ends in use", L"/CASE=close /SENDS=D /ASK=0", 3, "send 4242\nask\n"},
      {"Retry after a refusal tries again", L"/CASE=close /SENDS=DC /ASK=1", 0,
       "send 4242\nask\nsend 4242\nwait\ndone, one was running: 1\n"},
      {"an unanswered close is asked after five", L"/CASE=close /SENDS=TTTTT /ASK=0", 3, fiveUnanswered + "ask\n"},
      {"a copy from another folder is not closed", L"/CASE=close /OURS=none /OTHER=D:\\Tools\\Tavimbra\\Tavimbra.exe /D=C:\\Inst",
       0, "done, one was running: 0\n"},
      {"ours is closed past another copy", L"/CASE=close /SENDS=C /OTHER=D:\\Tools\\Tavimbra\\Tavimbra.exe /D=C:\\Inst", 0,
       "send 4242\nwait\ndone, one was running: 1\n"},
      {"ours in another letter case", L"/CASE=close /SENDS=C /OURS=c:\\INST\\tavimbra.EXE /D=C:\\Inst", 0,
       "send 4242\nwait\ndone, one was running: 1\n"},
      {"a sibling folder's is not ours", L"/CASE=close /OURS=C:\\Inst2\\Tavimbra.exe /D=C:\\Inst", 0,
       "done, one was running: 0\n"},
  };
  for (const auto& c : cases) {
    DecisionRun run = RunDecisions(c.options);
    EXPECT_EQ(run.code, c.code) << c.what;
    EXPECT_EQ(run.calls, c.calls) << c.what;
  }
}

TEST(InstallerDecisions, RemovesOnlyTheShortcutsThatStartThisInstallation) {
  const fs::path folder = fs::temp_directory_path() / L"tavimbra-links";
  const std::wstring inst = L"C:\\Users\\u\\AppData\\Local\\Programs\\Tavimbra";
  std::error_code ec;
  fs::remove_all(folder, ec);
  fs::create_directories(folder);
  const struct {
    const wchar_t* name;
    std::wstring target;
    bool kept;
  } links[] = {
      {L"ours.lnk", inst + L"\\Tavimbra.exe", false},
      {L"ours in other case.lnk", L"c:\\users\\U\\appdata\\local\\programs\\TAVIMBRA\\Tavimbra.exe", false},
      {L"portable.lnk", L"D:\\Tools\\Tavimbra\\Tavimbra.exe", true},
      {L"a sibling folder.lnk", inst + L"2\\Tavimbra.exe", true},
      {L"the parent folder.lnk", L"C:\\Users\\u\\AppData\\Local\\Programs\\Tavimbra.exe", true},
      {L"unreadable.lnk", L"", true},
  };
  for (const auto& l : links) WriteBytes(folder / l.name, "[fake]\r\ntarget=" + Utf8(l.target) + "\r\n");
  ASSERT_EQ(RunDecisions(L"/CASE=links /LINKS=" + folder.wstring() + L" /D=" + inst).code, 0);
  for (const auto& l : links) EXPECT_EQ(fs::exists(folder / l.name), l.kept) << Utf8(l.name);
  fs::remove_all(folder, ec);
}

}  // namespace
}  // namespace tav::e2e
