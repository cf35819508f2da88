// Installation folders as users and other programs leave them: crowded, odd, locked, broken.
// The launcher starts, stays responsive and runs what it can; the settings program saves without
// touching what it does not own. TAV_HOSTILE_FILES sets the size of the crowded texts\ (default
// 3,000; the long run takes 100,000); TAV_HOSTILE_CASE, a part of a case's name, runs only that.
// TAV_HOSTILE_CROWD names a folder already holding that crowd (scripts/test.sh makes it outside
// Wine): it is moved in as texts\ for the case and back afterwards.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cwchar>
#include <fstream>
#include <utility>
#include <functional>
#include <string>
#include <vector>

#include "driver.h"
#include "form1_controls.h"
#include "launcher/running_launcher.h"
#include "text_encoding.h"

namespace tav::e2e {
namespace {


int CrowdSize() {
  const char* v = std::getenv("TAV_HOSTILE_FILES");
  int n = v ? std::atoi(v) : 0;
  return n > 0 ? n : 3000;
}

std::wstring CrowdName(int i) {
  wchar_t name[32];
  swprintf(name, 32, L"c%06d.txt", i);
  return name;
}

// Wine looks for a name that differs only in case before it creates a file, by reading the whole
// folder, so filling one folder costs time growing with the square of its size (3,000 files take
// 3 s, 20,000 a minute, 100,000 nearly half an hour); NTFS finds names in the folder's index. A
// crowd made outside Wine is used when it holds exactly the expected files.
fs::path PreparedCrowd(int crowd) {
  wchar_t buf[MAX_PATH * 4];
  DWORD n = GetEnvironmentVariableW(L"TAV_HOSTILE_CROWD", buf, MAX_PATH * 4);
  if (n == 0 || n >= MAX_PATH * 4) return {};
  const fs::path folder(buf);
  std::vector<bool> seen(crowd, false);
  int count = 0;
  std::error_code ec;
  for (const auto& e : fs::directory_iterator(folder, ec)) {
    const std::wstring name = e.path().filename().wstring();
    const int i = name.size() == 11 && name[0] == L'c' ? static_cast<int>(std::wcstol(name.c_str() + 1, nullptr, 10)) : -1;
    if (i < 0 || i >= crowd || name != CrowdName(i) || seen[i] || !e.is_regular_file()) return {};
    seen[i] = true;
    ++count;
  }
  if (ec || count != crowd) return {};
  return folder;
}

std::string Narrow(const std::wstring& w) { return ToUtf8(U(w.c_str())); }

// A crowded texts\ takes a while to list.
struct LauncherRun : RunningLauncher {
  explicit LauncherRun(Installation& i) : RunningLauncher(i, std::chrono::seconds(60)) {}
};

// What a case leaves in the folder, and what the launcher must do with it besides running memo.
struct FolderCase {
  const char* what;
  std::function<void(Installation&)> make;
  std::function<void(LauncherRun&, const std::string& what)> check;  // may be empty
  bool memoRuns = true;
};

// Typing text leaves the box showing shown (completion included), nothing else happens.
void Typed(LauncherRun& r, const std::string& what, const std::wstring& text, const std::wstring& shown) {
  ASSERT_TRUE(r.Summon()) << what;
  TypeText(text);
  EXPECT_TRUE(r.WaitText(shown)) << what << ": " << Narrow(r.Text());
  r.Escape();
}

std::string Bytes(std::size_t n, char c) { return std::string(n, c); }

TEST(HostileFolders, LauncherStartsStaysResponsiveAndDoesTheSensibleThing) {
  const int crowd = CrowdSize();
  HANDLE locked = INVALID_HANDLE_VALUE;
  fs::path borrowed;  // the prepared crowd, while it serves as texts\ (moved back after the case)
  const FolderCase cases[] = {
      {"crowded texts",
       [&](Installation& inst) {
         const auto t0 = std::chrono::steady_clock::now();
         const fs::path prepared = PreparedCrowd(crowd);
         const std::string memo = inst.ReadRaw("texts\\memo.txt");
         if (!prepared.empty() && fs::remove_all(inst.Texts()) &&
             MoveFileExW(prepared.c_str(), inst.Texts().c_str(), 0)) {
           borrowed = prepared;
           inst.WriteRaw("texts\\memo.txt", memo);
         } else {
           fs::create_directories(inst.Texts());
           inst.WriteRaw("texts\\memo.txt", memo);
           for (int i = 0; i < crowd; ++i) inst.WriteRaw(fs::path(L"texts") / CrowdName(i), "x\r\n");
         }
         std::printf("crowded texts: %d files %s in %lld ms\n", crowd, borrowed.empty() ? "written" : "moved in",
                     static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                std::chrono::steady_clock::now() - t0).count()));
       },
       [&](LauncherRun& r, const std::string& w) {
         const auto t0 = std::chrono::steady_clock::now();
         Typed(r, w, L"c00099", L"c000990");
         // The end of the crowd is listed as well: c099999 gives the prefix c09999, first c099990.
         const std::wstring last = CrowdName(crowd - 1).substr(0, 6);
         Typed(r, w, last, last + L"0");
         std::printf("crowded texts: launcher started in %lld ms; summon, 6 keys completed, Esc, twice, in %lld ms\n",
                     r.startMs,
                     static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(
                                                std::chrono::steady_clock::now() - t0).count()));
       }},
      {"short names, other extensions, folders",
       [](Installation& inst) {
         for (const char* n : {"texts\\a", "texts\\ab", "texts\\abc", "texts\\abcd", "texts\\notes.text"})
           inst.WriteRaw(n, "x\r\n");
         fs::create_directories(inst.Texts() / "sub.txt");
         fs::create_directories(inst.Texts() / "zdir");
         inst.WriteRaw("texts\\zdir\\inner.txt", "x\r\n");
       },
       [](LauncherRun& r, const std::string& w) {
         Typed(r, w, L"no", L"notes.");
         Typed(r, w, L"su", L"su");  // folders are no commands
         Typed(r, w, L"in", L"in");
         Typed(r, w, L"ab", L"ab");
       }},
      {"command file held open by another program",
       [&](Installation& inst) {
         inst.WriteCommand(L"locked", inst.ProbeCommand() + L" locked");
         locked = CreateFileW((inst.Texts() / "locked.txt").c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr);
       },
       [](LauncherRun& r, const std::string& w) {
         r.EnterShows(w, L"locked", {L"コマンドファイルを読み込めません", L"locked.txt", L"(エラー 32)"});
       }},
      {"10 MB command files",
       [](Installation& inst) {
         std::string lines;
         while (lines.size() < 10'000'000) lines += "garbage line of a big file\r\n";
         inst.WriteRaw("texts\\big.txt", lines + ToAnsi(U(inst.ProbeCommand().c_str())) + " big\r\n");
         inst.WriteRaw("texts\\huge.txt", Bytes(10'000'000, 'h'));
       },
       [](LauncherRun& r, const std::string& w) {
         const std::size_t before = r.inst.ProbeLog().size();
         ASSERT_TRUE(r.Summon()) << w;
         TypeText(L"big");
         SendKey(VK_RETURN);
         ASSERT_TRUE(r.inst.WaitForProbe(before + 1)) << w;
         EXPECT_EQ(r.inst.ProbeLog()[before].commandLine, r.inst.ProbeCommand() + L" big") << w;
         r.other.Activate();
         r.EnterShows(w, L"huge", {L"コマンドラインが長すぎます", L"(10000000 文字)"});
       }},
      {"binary command file",
       [](Installation& inst) {
         std::string bin("MZ\x90\0\x03\0\0\0\x04\0\0\0\xff\xff\0\0\xb8\0\0\0\0\0\0\0@\0\x1a\x0b", 28);
         for (int i = 0; i < 4096; ++i) bin += static_cast<char>((i * 37 + 11) & 0xff);
         bin += "\r\n" + ToAnsi(U(inst.ProbeCommand().c_str())) + std::string("\0tail", 5);
         inst.WriteRaw("texts\\bin.txt", bin);
       },
       [](LauncherRun& r, const std::string& w) { r.EnterShows(w, L"bin", {L"NUL"}); }},
      {"name outside the code page",
       [](Installation& inst) {
         std::ofstream(inst.Texts() / L"한국어.txt", std::ios::binary) << ToAnsi(U(inst.ProbeCommand().c_str())) << " ko\r\n";
       },
       [](LauncherRun& r, const std::string& w) {
         const std::size_t before = r.inst.ProbeLog().size();
         ASSERT_TRUE(r.Summon()) << w;
         TypeText(L"한");
         ASSERT_TRUE(r.WaitText(L"한국어")) << w << ": " << Narrow(r.Text());
         SendKey(VK_RETURN);
         ASSERT_TRUE(r.inst.WaitForProbe(before + 1)) << w;
         EXPECT_EQ(r.inst.ProbeLog()[before].commandLine, r.inst.ProbeCommand() + L" ko") << w;
         r.other.Activate();
       }},
      {"settings with garbage, 10,000 keys, a 100 KB value, keys in odd case, binary bytes",
       [](Installation& inst) {
         std::string ini = "garbage without an equals sign\r\n=value without a key\r\n[tavimbra\r\n[tavimbra]\r\n";
         for (int i = 0; i < 10000; ++i) ini += "k" + std::to_string(i) + "=v" + std::to_string(i) + "\r\n";
         ini += "Font=" + Bytes(100'000, 'F') + "\r\nAUTOCOMPLETE=0\r\nkEY1=79\r\n";
         ini += std::string("[junk]\r\n\x01\x02\0\xff\xfe=\x81\r\n", 15);
         inst.WriteRaw("settings\\tavimbra.ini", ini);
       },
       [](LauncherRun& r, const std::string& w) { Typed(r, w, L"me", L"me"); }},  // completion off, as AUTOCOMPLETE says
      {"settings folder missing",
       [](Installation& inst) { fs::remove_all(inst.Root() / "settings"); }, nullptr},
      {"texts folder missing", [](Installation& inst) { fs::remove_all(inst.Texts()); },
       [](LauncherRun& r, const std::string& w) {
         ASSERT_TRUE(r.Summon()) << w;
         TypeText(L"memo");
         SendKey(VK_RETURN);
         ASSERT_TRUE(r.KeysHandled()) << w << ": Enter has not been handled";
         EXPECT_TRUE(r.Visible()) << w << ": no command file, the window stays";
         EXPECT_EQ(FindMessageBox(r.proc.Id()), nullptr) << w;
         r.Escape();
       },
       false},
      {"skin missing", [](Installation& inst) { fs::remove(inst.Root() / "settings" / "skin.bmp"); }, nullptr},
      {"skin truncated",
       [](Installation& inst) {
         std::string skin = inst.ReadRaw("settings\\skin.bmp");
         inst.WriteRaw("settings\\skin.bmp", skin.substr(0, 200));
       },
       nullptr},
      {"skin not a bitmap", [](Installation& inst) { inst.WriteRaw("settings\\skin.bmp", "GIF89a not a bitmap at all"); },
       nullptr},
  };
  const char* only = std::getenv("TAV_HOSTILE_CASE");  // a part of one case's name, to run just that
  for (const FolderCase& c : cases) {
    if (only && std::string(c.what).find(only) == std::string::npos) continue;
    Installation inst;
    inst.WriteCommand(L"memo", inst.ProbeCommand() + L" memo");
    c.make(inst);
    {
      LauncherRun r(inst);
      ASSERT_TRUE(r.started) << c.what << ": the launcher did not finish starting; window " << r.form << ", running "
                             << r.proc.Running() << ", message "
                             << Narrow(MessageBoxText(FindMessageBox(r.proc.Id())));
      EXPECT_EQ(FindMessageBox(r.proc.Id()), nullptr) << c.what << ": a message at start-up";
      if (c.check) c.check(r, c.what);
      if (c.memoRuns) {
        const std::size_t before = inst.ProbeLog().size();
        ASSERT_TRUE(r.Summon()) << c.what;
        TypeText(L"memo");
        SendKey(VK_RETURN);
        ASSERT_TRUE(inst.WaitForProbe(before + 1)) << c.what << ": memo did not run";
        EXPECT_EQ(inst.ProbeLog()[before].commandLine, inst.ProbeCommand() + L" memo") << c.what;
        EXPECT_TRUE(WaitUntil([&] { return !r.Visible(); })) << c.what;
      }
      EXPECT_TRUE(r.proc.Running()) << c.what;
    }
    if (locked != INVALID_HANDLE_VALUE) CloseHandle(std::exchange(locked, INVALID_HANDLE_VALUE));
    if (!borrowed.empty()) {
      // Handed back as it came, for the next run.
      fs::remove(inst.Texts() / "memo.txt");
      EXPECT_TRUE(MoveFileExW(inst.Texts().c_str(), std::exchange(borrowed, fs::path()).c_str(), 0))
          << "the prepared crowd could not be moved back";
    }
  }
}


std::wstring ProfileValue(const fs::path& ini, const wchar_t* section, const wchar_t* key) {
  std::vector<wchar_t> buf(200'000);
  DWORD n = GetPrivateProfileStringW(section, key, L"<missing>", buf.data(), static_cast<DWORD>(buf.size()), ini.c_str());
  return std::wstring(buf.data(), n);
}

// Tavimset on a settings file crowded with what is not its own: it shows the keys it knows, in
// whatever case they are written, and its save leaves every other key, section and command file
// as it was.
TEST(HostileFolders, SettingsProgramSavesWithoutTouchingWhatItDoesNotOwn) {
  TAV_REQUIRE_DISPOSABLE_PROFILE();  // a save makes or removes the user's shortcuts
  Installation inst;
  inst.WriteCommand(L"memo", L"notepad.exe");
  const std::string big(100'000, 'N');
  std::string ini = "garbage without an equals sign\r\n[tavimbra]\r\n";
  for (int i = 0; i < 10000; ++i) ini += "k" + std::to_string(i) + "=v" + std::to_string(i) + "\r\n";
  ini += "AUTOCOMPLETE=0\r\nkEY1=65\r\n[other]\r\nNote=" + big + "\r\nshort=\x83\x81\x83\x82\r\n";
  inst.WriteRaw("settings\\tavimbra.ini", ini);
  const fs::path file = inst.Root() / "settings" / "tavimbra.ini";
  const std::string memoBefore = inst.ReadRaw("texts\\memo.txt");

  Process p = inst.Start(L"Tavimset.exe");
  HWND form = WaitForTopWindow(p.Id(), settings::kForm1Class, true, std::chrono::seconds(30));
  ASSERT_NE(form, nullptr) << "the settings window did not open";
  constexpr int kCheck1 = 601, kLabel5 = 404, kCommand2 = 702;
  EXPECT_EQ(SendMessageW(GetDlgItem(form, kCheck1), BM_GETCHECK, 0, 0), BST_UNCHECKED) << "AUTOCOMPLETE=0 honoured";
  EXPECT_EQ(WindowText(GetDlgItem(form, kLabel5)), L"65") << "kEY1 honoured";
  DWORD_PTR answer = 0;
  ASSERT_TRUE(SendMessageTimeoutW(GetDlgItem(form, kCommand2), BM_CLICK, 0, 0, SMTO_BLOCK, 30000, &answer))
      << "the save did not return";
  EXPECT_EQ(FindMessageBox(p.Id()), nullptr) << "a save says nothing";

  EXPECT_EQ(ProfileValue(file, L"tavimbra", L"AutoComplete"), L"0");
  EXPECT_EQ(ProfileValue(file, L"tavimbra", L"Key1"), L"65");
  for (int i : {0, 1, 4999, 9999})
    EXPECT_EQ(ProfileValue(file, L"tavimbra", (L"k" + std::to_wstring(i)).c_str()), L"v" + std::to_wstring(i)) << i;
  EXPECT_EQ(ProfileValue(file, L"other", L"Note"), std::wstring(big.begin(), big.end())) << "the 100 KB value";
  EXPECT_EQ(ProfileValue(file, L"other", L"short"), L"メモ");
  EXPECT_EQ(inst.ReadRaw("texts\\memo.txt"), memoBefore);
  EXPECT_EQ(std::distance(fs::directory_iterator(inst.Texts()), fs::directory_iterator()), 1);
  EXPECT_EQ(CloseAndWait(form, p), 0);
}

}  // namespace
}  // namespace tav::e2e
