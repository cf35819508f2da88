// Weeks of use compressed: the real launcher window in this process, summoned by its hotkey
// message, typed into, completed, run or dismissed, its list refreshed, again and again. Its
// GDI and USER objects, handles and memory stay flat, every command it started did start, and
// the exit sequence gives back the hotkeys, the atoms and the icon.
// TAV_LONG_CYCLES sets the number of cycles (default 200; the long run takes 5,000).
#define PSAPI_VERSION 2
#include <windows.h>
#include <psapi.h>
#include <shellapi.h>
#include <winternl.h>

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "built_files.h"
#include "launcher_app_win32.h"
#include "hotkey.h"
#include "hotkeys_win32.h"
#include "text_encoding.h"

namespace tav {
namespace {

namespace fs = std::filesystem;

int Cycles() {
  const char* v = std::getenv("TAV_LONG_CYCLES");
  int n = v ? std::atoi(v) : 0;
  return n > 0 ? n : 200;
}

fs::path ExeFolder() {
  wchar_t buf[MAX_PATH * 4];
  GetModuleFileNameW(nullptr, buf, MAX_PATH * 4);
  return fs::path(buf).parent_path();
}

// GDI objects this process can use, stock objects left out: the entries of the GDI handle table
// (its address in the x64 process environment block, as Windows and Wine both lay it out), each
// turned into the handle it stands for and confirmed with GetObjectType, which refuses another
// process's handles. (Wine's table is per process and names no owner; GetGuiResources, the
// direct count on Windows, gives 0 under Wine.)
int LiveGdiObjects() {
  constexpr std::size_t kPebGdiTable = 0xF8, kEntries = 0x10000;
  constexpr USHORT kStock = 0x80;
  struct Entry {
    UINT64 object;
    USHORT processId, count;
    USHORT unique;
    UCHAR type, flags;
    UINT64 user;
  };
  static_assert(sizeof(Entry) == 24);
  auto* peb = reinterpret_cast<const BYTE*>(NtCurrentTeb()->ProcessEnvironmentBlock);
  auto* table = *reinterpret_cast<const Entry* const*>(peb + kPebGdiTable);
  if (!table) return -1;
  int live = 0;
  for (std::size_t i = 0; i < kEntries; ++i) {
    const USHORT unique = table[i].unique;
    if (unique == 0 || (unique & kStock)) continue;
    auto handle = reinterpret_cast<HGDIOBJ>(static_cast<ULONG_PTR>(i | (static_cast<ULONG_PTR>(unique) << 16)));
    if (GetObjectType(handle) != 0) ++live;
  }
  return live;
}

// Kernel handles, by probing every value a handle can take (GetProcessHandleCount gives 0 under Wine).
int LiveKernelHandles() {
  int live = 0;
  for (ULONG_PTR h = 4; h < 0x10000; h += 4) {
    DWORD flags = 0;
    if (GetHandleInformation(reinterpret_cast<HANDLE>(h), &flags)) ++live;
  }
  return live;
}

// Windows of this thread, with their children.
int LiveWindows() {
  int n = 0;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM p) -> BOOL {
        ++*reinterpret_cast<int*>(p);
        EnumChildWindows(
            w, [](HWND, LPARAM q) -> BOOL { return ++*reinterpret_cast<int*>(q), TRUE; }, p);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&n));
  return n;
}

std::wstring ThreadWindowClasses() {
  std::wstring all;
  EnumThreadWindows(
      GetCurrentThreadId(),
      [](HWND w, LPARAM p) -> BOOL {
        wchar_t cls[64] = {};
        GetClassNameW(w, cls, 64);
        *reinterpret_cast<std::wstring*>(p) += std::wstring(cls) + L" ";
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&all));
  return all;
}

struct Counts {
  int gdi, windows, handles;
  DWORD userObjects;  // GetGuiResources: 0 where the platform keeps no count
  SIZE_T privateBytes;
};

Counts Measure() {
  Counts c{};
  c.gdi = LiveGdiObjects();
  c.windows = LiveWindows();
  c.userObjects = GetGuiResources(GetCurrentProcess(), GR_USEROBJECTS);
  c.handles = LiveKernelHandles();
  PROCESS_MEMORY_COUNTERS_EX m{};
  m.cb = sizeof m;
  GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&m), sizeof m);
  c.privateBytes = m.PagefileUsage;  // the private commit (PrivateUsage is 0 under Wine)
  return c;
}

std::string Describe(const Counts& c) {
  return "gdi " + std::to_string(c.gdi) + ", windows " + std::to_string(c.windows) + ", user objects " +
         std::to_string(c.userObjects) + ", handles " + std::to_string(c.handles) + ", private KB " +
         std::to_string(c.privateBytes / 1024);
}

void Pump() {
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
}

// Closes any message box this process shows (a failed start would otherwise wait for a user),
// remembering its text so the test can fail on it.
class MessageBoxWatch {
 public:
  MessageBoxWatch() : thread_(CreateThread(nullptr, 0, &Run, this, 0, nullptr)) {}
  ~MessageBoxWatch() {
    stop_ = true;
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
  }
  int Seen() const { return seen_; }

 private:
  static DWORD WINAPI Run(void* p) {
    auto* self = static_cast<MessageBoxWatch*>(p);
    while (!self->stop_) {
      HWND box = nullptr;
      EnumThreadWindows(
          self->owner_,
          [](HWND w, LPARAM q) -> BOOL {
            wchar_t cls[16] = {};
            GetClassNameW(w, cls, 16);
            if (lstrcmpW(cls, L"#32770") == 0 && IsWindowVisible(w)) {
              *reinterpret_cast<HWND*>(q) = w;
              return FALSE;
            }
            return TRUE;
          },
          reinterpret_cast<LPARAM>(&box));
      if (box) {
        ++self->seen_;
        PostMessageW(box, WM_COMMAND, IDOK, 0);
      }
      Sleep(100);
    }
    return 0;
  }
  DWORD owner_ = GetCurrentThreadId();
  std::atomic<bool> stop_{false};
  std::atomic<int> seen_{0};
  HANDLE thread_;
};

std::size_t ProbeRecords(const fs::path& log) {
  std::ifstream f(log, std::ios::binary);
  std::size_t n = 0;
  std::string line;
  while (std::getline(f, line)) ++n;
  return n;
}

// texts\ and settings\ beside this program, where the launcher looks; removed at the end. The
// skin comes from the installation folder laid out for the tests, when there is one.
struct LauncherFolders {
  fs::path texts = ExeFolder() / "texts", settings = ExeFolder() / "settings";
  fs::path log = ExeFolder() / "long_run_probe.log";
  bool madeTexts = false, madeSettings = false;
  LauncherFolders() {
    madeTexts = fs::create_directory(texts);
    std::error_code ec;
    fs::remove(log, ec);
    wchar_t dist[MAX_PATH * 4];
    if (GetEnvironmentVariableW(L"TAV_DIST", dist, MAX_PATH * 4) && fs::exists(fs::path(dist) / "settings" / "skin.bmp") &&
        !fs::exists(settings)) {
      madeSettings = fs::create_directory(settings);
      fs::copy_file(fs::path(dist) / "settings" / "skin.bmp", settings / "skin.bmp", ec);
    }
  }
  ~LauncherFolders() {
    std::error_code ec;
    if (madeTexts) fs::remove_all(texts, ec);
    else
      for (const char* n : {"memo.txt", "mail.txt", "calc.txt"}) fs::remove(texts / n, ec);
    if (madeSettings) fs::remove_all(settings, ec);
    fs::remove(log, ec);
  }
};

struct LifetimeCounts {
  Counts warm, afterCycles, afterRefreshes;
  int started = 0;
};

// One launcher from start-up to its exit: cycles of summon, type "me" (completed to memo), then
// Enter (every other cycle, starting the probe) or Esc; then 100 refreshes of the list; then
// closing, after which the hotkeys, the atoms and the icon must be back with the system.
void OneLauncherLifetime(int cycles, LifetimeCounts& out) {
  LauncherApp app;
  ASSERT_TRUE(app.Start(GetModuleHandleW(nullptr)));
  Form1& form = app.Window();
  HWND edit = FindWindowExW(form.Hwnd(), nullptr, L"Edit", nullptr);
  ASSERT_NE(edit, nullptr);
  ASSERT_NE(Module3::HotkeyId1, 0);
  const WPARAM hotkey = static_cast<WPARAM>(static_cast<INT_PTR>(HotkeyIdFromAtom(Module3::HotkeyId1)));
  wchar_t text[64];
  for (int cycle = 0; cycle < cycles; ++cycle) {
    SendMessageW(form.Hwnd(), WM_HOTKEY, hotkey, MAKELPARAM(MOD_ALT, 'O'));
    ASSERT_TRUE(IsWindowVisible(form.Hwnd())) << "cycle " << cycle;
    ASSERT_EQ(GetFocus(), edit) << "cycle " << cycle;
    for (wchar_t c : {L'm', L'e'}) SendMessageW(edit, WM_CHAR, c, 1);
    GetWindowTextW(edit, text, 64);
    ASSERT_STREQ(text, L"memo") << "cycle " << cycle << ": completed";
    RedrawWindow(form.Hwnd(), nullptr, nullptr, RDW_INVALIDATE | RDW_UPDATENOW | RDW_ALLCHILDREN);
    const bool run = cycle % 2 == 0;
    SendMessageW(edit, WM_CHAR, run ? L'\r' : 0x1B, 1);
    out.started += run;
    ASSERT_FALSE(IsWindowVisible(form.Hwnd())) << "cycle " << cycle;
    Pump();
    if (cycle == std::min(19, cycles - 1)) out.warm = Measure();  // font and shell caches are filled by now
  }
  out.afterCycles = Measure();
  for (int i = 0; i < 100; ++i) {
    SendMessageW(form.Hwnd(), WM_COMMAND, Form1::m_Reflesh, 0);
    Pump();
  }
  out.afterRefreshes = Measure();

  NOTIFYICONDATAW icon{};
  icon.cbSize = sizeof icon;
  icon.hWnd = form.Hwnd();
  icon.uID = 1;
  SendMessageW(form.Hwnd(), WM_CLOSE, 0, 0);
  EXPECT_FALSE(IsWindow(form.Hwnd()));
  EXPECT_EQ(GlobalFindAtomW(L"HOTKEY1"), 0);
  EXPECT_EQ(GlobalFindAtomW(L"HOTKEY2"), 0);
  EXPECT_FALSE(Shell_NotifyIconW(NIM_MODIFY, &icon)) << "the icon is gone";
  for (UINT vk : {UINT{'O'}, UINT{'W'}}) {
    EXPECT_TRUE(RegisterHotKey(nullptr, 0x100 + static_cast<int>(vk), MOD_ALT, vk)) << "Alt+" << char(vk);
    UnregisterHotKey(nullptr, 0x100 + static_cast<int>(vk));
  }
  MSG msg;
  while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {  // the closing's quit message
  }
  Module3::SetSummon(nullptr);
}

TEST(LongRun, ObjectsHandlesAndMemoryStayFlatAndTheExitGivesEverythingBack) {
  const fs::path probe = test::BuiltTestFile(L"e2e", L"probe.exe");
  ASSERT_TRUE(fs::exists(probe)) << probe.string() << " is built with the end-to-end tier";
  LauncherFolders folders;
  std::ofstream(folders.texts / "memo.txt", std::ios::binary) << "\"" << probe.string() << "\" memo\r\n";
  std::ofstream(folders.texts / "mail.txt", std::ios::binary) << "x\r\n";
  std::ofstream(folders.texts / "calc.txt", std::ios::binary) << "x\r\n";
  SetEnvironmentVariableW(L"TAV_PROBE_LOG", folders.log.c_str());
  MessageBoxWatch boxes;

  // A first short life fills what the process keeps once made (the registered window class and
  // its icon, the controls' and the shell's caches); a second life must then leave nothing more.
  const Counts fresh = Measure();
  ASSERT_GE(fresh.gdi, 0) << "no GDI handle table in this process";
  LifetimeCounts first, second;
  OneLauncherLifetime(4, first);
  if (HasFatalFailure()) return;
  const Counts before = Measure();
  const int cycles = Cycles();
  OneLauncherLifetime(cycles, second);
  if (HasFatalFailure()) return;
  const Counts gone = Measure();
  const int started = first.started + second.started;
  std::printf("[ counts ] %d cycles, %d started\n  fresh   %s\n  before  %s\n  warm    %s\n  cycles  %s\n"
              "  refresh %s\n  closed  %s\n",
              cycles, started, Describe(fresh).c_str(), Describe(before).c_str(), Describe(second.warm).c_str(),
              Describe(second.afterCycles).c_str(), Describe(second.afterRefreshes).c_str(), Describe(gone).c_str());

  EXPECT_TRUE([&] {
    for (int i = 0; i < 600 && ProbeRecords(folders.log) < static_cast<std::size_t>(started); ++i) Sleep(100);
    return ProbeRecords(folders.log) == static_cast<std::size_t>(started);
  }()) << ProbeRecords(folders.log) << " of " << started << " started commands ran";
  EXPECT_EQ(boxes.Seen(), 0) << "a message box came up";

  const Counts& warm = second.warm;
  for (const Counts* c : {&second.afterCycles, &second.afterRefreshes}) {
    const char* when = c == &second.afterCycles ? "over the cycles" : "over the refreshes";
    EXPECT_LE(c->gdi, warm.gdi) << "GDI objects grew " << when;
    EXPECT_EQ(c->windows, warm.windows) << when;
    EXPECT_LE(c->userObjects, warm.userObjects) << "USER objects grew " << when;
    EXPECT_LE(c->handles, warm.handles + 4) << "kernel handles grew " << when;
    EXPECT_LE(c->privateBytes, warm.privateBytes + 4 * 1024 * 1024) << "memory grew " << when;
  }
  EXPECT_LE(gone.gdi, before.gdi) << "the closed launcher left GDI objects (icon, fonts, brushes, skin)";
  EXPECT_LE(gone.windows, before.windows) << ToUtf8(U(ThreadWindowClasses().c_str()));
  EXPECT_LE(gone.userObjects, before.userObjects);
  EXPECT_LE(gone.handles, before.handles + 2);
}

}  // namespace
}  // namespace tav
