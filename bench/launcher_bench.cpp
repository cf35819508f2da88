// The launcher against the floor: the real Tavimbra.exe and bench_floor.exe started from fresh
// installation folders (scripts/bench.sh lays them out), alternated within one run, every figure
// repeated and given with its reference and the ratio. Writes a Markdown table.
// Usage: launcher_bench.exe --root <folder of installations n<count>\ and samples\> --out <file.md>
//          [--sizes 0,1000,10000,100000] [--rounds 3] [--cycles 30] [--starts 10] [--typing 200]
//          [--mem-cycles 1000] [--idle 60]
#include <windows.h>
#include <psapi.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <functional>
#include <map>
#include <random>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "bare_listing.h"
#include "collation_win32.h"
#include "command_list.h"
#include "completion.h"
#include "folder_listing_win32.h"
#include "input_box_look_win32.h"
#include "launcher_window.h"
#include "list_control_search_win32.h"
#include "settings.h"
#include "text_encoding.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double MsSince(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

struct Samples {
  std::vector<double> v;
  void Add(double x) { v.push_back(x); }
  bool Empty() const { return v.empty(); }
  double Median() const {
    if (v.empty()) return 0;
    std::vector<double> s = v;
    std::sort(s.begin(), s.end());
    return s.size() % 2 ? s[s.size() / 2] : (s[s.size() / 2 - 1] + s[s.size() / 2]) / 2;
  }
  double Min() const { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); }
  double Max() const { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); }
};

struct Row {
  std::string section, figure, unit;
  Samples ours;
  std::string reference;
  Samples ref;
  double limit = 0;  // target: ratio at most this (0: none); negative: ratio at least -limit
  std::string note;
  std::string target = {}, met = {};  // when the target is not a ratio
};
std::vector<Row> g_rows;

void AddRow(Row r) {
  std::printf("%-60s %10.3f %s  ref %10.3f  (%s)\n", (r.section + ": " + r.figure).c_str(), r.ours.Median(),
              r.unit.c_str(), r.ref.Median(), r.reference.c_str());
  std::fflush(stdout);
  g_rows.push_back(std::move(r));
}

std::string Fmt(double x) {
  char b[64];
  if (x >= 100)
    std::snprintf(b, sizeof b, "%.0f", x);
  else if (x >= 1)
    std::snprintf(b, sizeof b, "%.2f", x);
  else
    std::snprintf(b, sizeof b, "%.4f", x);
  return b;
}
std::string Cell(const Samples& s) {
  if (s.Empty()) return "-";
  if (s.v.size() == 1) return Fmt(s.Median());
  return Fmt(s.Median()) + " (" + Fmt(s.Min()) + "–" + Fmt(s.Max()) + ")";
}

// ---- processes and windows ----

struct Target {
  PROCESS_INFORMATION pi{};
  HWND form = nullptr, edit = nullptr;
  explicit operator bool() const { return pi.hProcess != nullptr; }
};

bool HotkeyHeld(UINT vk) {
  constexpr int kProbeId = 0x3FF1;
  if (!RegisterHotKey(nullptr, kProbeId, MOD_ALT, vk)) return true;
  UnregisterHotKey(nullptr, kProbeId);
  return false;
}

HWND FindTop(DWORD pid, const wchar_t* cls) {
  struct D {
    DWORD pid;
    const wchar_t* cls;
    HWND found;
  } d{pid, cls, nullptr};
  EnumWindows(
      [](HWND w, LPARAM p) -> BOOL {
        auto* d = reinterpret_cast<D*>(p);
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        wchar_t c[64];
        if (owner != d->pid || !GetClassNameW(w, c, 64) || lstrcmpW(c, d->cls) != 0) return TRUE;
        d->found = w;
        return FALSE;
      },
      reinterpret_cast<LPARAM>(&d));
  return d.found;
}

// Starts exe in its folder and waits until its thread waits for input (start-up done, the
// message loop entered); ms gets the time from the call to that moment.
Target Start(const fs::path& exe, const std::wstring& args, const wchar_t* cls, double* ms) {
  Target t;
  std::wstring cl = L"\"" + exe.wstring() + L"\"" + (args.empty() ? L"" : L" " + args);
  STARTUPINFOW si{};
  si.cb = sizeof si;
  auto t0 = Clock::now();
  if (!CreateProcessW(exe.c_str(), cl.data(), nullptr, nullptr, FALSE, 0, nullptr, exe.parent_path().c_str(), &si,
                      &t.pi)) {
    std::printf("cannot start %ls\n", exe.c_str());
    return t;
  }
  WaitForInputIdle(t.pi.hProcess, 60000);
  if (ms) *ms = MsSince(t0);
  for (int i = 0; i < 500 && !(t.form = FindTop(t.pi.dwProcessId, cls)); ++i) Sleep(10);
  t.edit = t.form ? FindWindowExW(t.form, nullptr, L"EDIT", nullptr) : nullptr;
  return t;
}

void Stop(Target& t) {
  if (!t) return;
  if (t.form) PostMessageW(t.form, WM_CLOSE, 0, 0);
  if (WaitForSingleObject(t.pi.hProcess, 10000) != WAIT_OBJECT_0) TerminateProcess(t.pi.hProcess, 99);
  WaitForSingleObject(t.pi.hProcess, 5000);
  CloseHandle(t.pi.hProcess);
  CloseHandle(t.pi.hThread);
  t = Target{};
}

HWND FocusOf(HWND top) {
  GUITHREADINFO gti{};
  gti.cbSize = sizeof gti;
  if (!GetGUIThreadInfo(GetWindowThreadProcessId(top, nullptr), &gti)) return nullptr;
  return gti.hwndFocus;
}

std::wstring BoxText(HWND edit) {
  wchar_t buf[512];
  LRESULT n = SendMessageW(edit, WM_GETTEXT, 512, reinterpret_cast<LPARAM>(buf));  // not GetWindowText: another process
  return std::wstring(buf, static_cast<std::size_t>(n));
}
std::pair<int, int> BoxSel(HWND edit) {
  DWORD s = 0, e = 0;
  SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&s), reinterpret_cast<LPARAM>(&e));
  return {static_cast<int>(s), static_cast<int>(e)};
}

std::size_t WorkingSet(HANDLE p) {
  PROCESS_MEMORY_COUNTERS_EX m{};
  m.cb = sizeof m;
  GetProcessMemoryInfo(p, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&m), sizeof m);
  return m.WorkingSetSize;
}
std::size_t PrivateBytes(HANDLE p) {
  PROCESS_MEMORY_COUNTERS_EX m{};
  m.cb = sizeof m;
  GetProcessMemoryInfo(p, reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&m), sizeof m);
  return m.PagefileUsage;
}
double CpuMs(HANDLE p) {
  FILETIME c, e, k, u;
  GetProcessTimes(p, &c, &e, &k, &u);
  auto v = [](FILETIME f) { return (static_cast<ULONGLONG>(f.dwHighDateTime) << 32) | f.dwLowDateTime; };
  return static_cast<double>(v(k) + v(u)) / 10000.0;
}

INPUT Key(WORD vk, bool up) {
  INPUT in{};
  in.type = INPUT_KEYBOARD;
  in.ki.wVk = vk;
  in.ki.wScan = static_cast<WORD>(MapVirtualKeyW(vk, MAPVK_VK_TO_VSC));
  in.ki.dwFlags = up ? KEYEVENTF_KEYUP : 0;
  return in;
}
void AddChar(std::vector<INPUT>& v, wchar_t c) {
  SHORT scan = c < 0x80 ? VkKeyScanW(c) : -1;
  if (scan != -1 && !(scan & 0x0600)) {
    const bool shift = (scan & 0x0100) != 0;
    const WORD vk = static_cast<WORD>(scan & 0xFF);
    if (shift) v.push_back(Key(VK_SHIFT, false));
    v.push_back(Key(vk, false));
    v.push_back(Key(vk, true));
    if (shift) v.push_back(Key(VK_SHIFT, true));
    return;
  }
  INPUT down{}, up{};
  down.type = up.type = INPUT_KEYBOARD;
  down.ki.wScan = up.ki.wScan = c;
  down.ki.dwFlags = KEYEVENTF_UNICODE;
  up.ki.dwFlags = KEYEVENTF_UNICODE | KEYEVENTF_KEYUP;
  v.push_back(down);
  v.push_back(up);
}
void Send(std::vector<INPUT> v) { SendInput(static_cast<UINT>(v.size()), v.data(), sizeof(INPUT)); }
std::vector<INPUT> AltKey(WORD vk) { return {Key(VK_MENU, false), Key(vk, false), Key(vk, true), Key(VK_MENU, true)}; }

// Polls cond until it holds. Timed waits spin (yielding); the others sleep, so the driver leaves
// the two programs the processor.
bool Until(const std::function<bool()>& cond, int timeoutMs, bool spin = true) {
  auto end = Clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!cond()) {
    if (Clock::now() > end) return false;
    if (spin)
      SwitchToThread();
    else
      Sleep(1);
  }
  return true;
}

// The application the user works in: a visible window of the driver's, on its own thread. Its
// title begins with "Program", so the launcher's Esc hands the foreground back here.
class UserWindow {
 public:
  UserWindow() {
    HANDLE ready = CreateEventW(nullptr, TRUE, FALSE, nullptr);
    struct S {
      HANDLE ready;
      HWND hwnd;
      HWND edit;
    } s{ready, nullptr, nullptr};
    thread_ = CreateThread(
        nullptr, 0,
        [](void* p) -> DWORD {
          auto* s = static_cast<S*>(p);
          WNDCLASSW wc{};
          wc.lpfnWndProc = [](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
            if (m == WM_DESTROY) PostQuitMessage(0);
            if (m == WM_SETFOCUS || m == WM_APP) {
              SetFocus(FindWindowExW(h, nullptr, L"EDIT", nullptr));
              return 0;
            }
            return DefWindowProcW(h, m, w, l);
          };
          wc.hInstance = GetModuleHandleW(nullptr);
          wc.hbrBackground = GetSysColorBrush(COLOR_WINDOW);
          wc.lpszClassName = L"Progman";  // the desktop's shell window's class, which the launcher looks for
          RegisterClassW(&wc);
          s->hwnd = CreateWindowExW(0, wc.lpszClassName, L"Program Manager (bench)", WS_OVERLAPPEDWINDOW, 20, 20, 400,
                                    200, nullptr, nullptr, wc.hInstance, nullptr);
          s->edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | WS_BORDER, 10, 10, 300, 24, s->hwnd,
                                    nullptr, wc.hInstance, nullptr);
          ShowWindow(s->hwnd, SW_SHOW);
          SetEvent(s->ready);
          MSG msg;
          while (GetMessageW(&msg, nullptr, 0, 0) > 0) {
            TranslateMessage(&msg);
            DispatchMessageW(&msg);
          }
          return 0;
        },
        &s, 0, nullptr);
    WaitForSingleObject(ready, 5000);
    CloseHandle(ready);
    hwnd_ = s.hwnd;
    edit_ = s.edit;
  }
  ~UserWindow() {
    PostMessageW(hwnd_, WM_CLOSE, 0, 0);
    WaitForSingleObject(thread_, 5000);
    CloseHandle(thread_);
  }
  bool Activate() {
    if (GetForegroundWindow() == hwnd_ && FocusOf(hwnd_) == edit_) return true;
    SetForegroundWindow(hwnd_);
    PostMessageW(hwnd_, WM_APP, 0, 0);
    return Until([&] { return GetForegroundWindow() == hwnd_ && FocusOf(hwnd_) == edit_; }, 3000, false);
  }
  HWND Edit() const { return edit_; }

 private:
  HANDLE thread_ = nullptr;
  HWND hwnd_ = nullptr, edit_ = nullptr;
};

// What the box holds after typing, as the launcher completes it (or as a plain box echoes it).
class ExpectedBox final : public tav::EditBox {
 public:
  ExpectedBox(const tav::CommandList* list) : list_(list), completion_(1) {}
  void Type(char16_t c) {
    text_ = text_.substr(0, static_cast<std::size_t>(selStart_)) + c + text_.substr(static_cast<std::size_t>(selEnd_));
    selStart_ = selEnd_ = selStart_ + 1;
    if (list_) completion_.Text1_Change(*this, *list_);
  }
  void Clear() {
    text_.clear();
    selStart_ = selEnd_ = 0;
    if (list_) completion_.Text1_Change(*this, *list_);
  }
  std::u16string Text() const override { return text_; }
  int SelStart() const override { return selStart_; }
  void SetText(const std::u16string& t) override {
    text_ = t;
    selStart_ = selEnd_ = 0;
  }
  void SetSelection(int start, int length) override {
    selStart_ = start;
    selEnd_ = start + length;
  }
  std::pair<int, int> Sel() const { return {selStart_, selEnd_}; }

 private:
  const tav::CommandList* list_;
  tav::Completion completion_;
  std::u16string text_;
  int selStart_ = 0, selEnd_ = 0;
};

std::wstring Wide(const std::u16string& s) { return std::wstring(reinterpret_cast<const wchar_t*>(s.c_str()), s.size()); }

// ---- the run ----

struct Options {
  fs::path root, out;
  std::vector<int> sizes{0, 1000, 10000, 100000};
  int rounds = 3, cycles = 30, starts = 10, typing = 200, memCycles = 1000, idleSeconds = 60;
};

using tav::kLauncherClass;
constexpr wchar_t kFloorClass[] = L"TavBenchFloor";
constexpr WORD kLauncherKey = 'O';
constexpr WORD kFloorKey = 'P';
const std::wstring kFloorArgs = L"--key 80";
constexpr WORD kFloor6Key = 'Q';
const std::wstring kFloor6Args = L"--key 81";

fs::path Installation(const Options& o, const std::string& name) { return o.root / name; }
std::string SizeName(int n) { return "n" + std::to_string(n); }
std::string Count(int n) {
  std::string s = std::to_string(n);
  for (int i = static_cast<int>(s.size()) - 3; i > 0; i -= 3) s.insert(static_cast<std::size_t>(i), ",");
  return s;
}

tav::CommandList LoadList(const fs::path& install) {
  tav::CommandList list;
  list.Build(tav::ListFileNameTable(tav::U((install / "texts").c_str())), tav::UserCollation());
  return list;
}

// 1. Start to ready, against the floor and against the floor that also lists the folder.
void StartToReady(const Options& o) {
  std::vector<std::string> installs = {"samples"};
  for (int n : o.sizes)
    if (n != 10000) installs.push_back(SizeName(n));
  for (const auto& name : installs) {
    const fs::path dir = Installation(o, name);
    Samples launcher, floor, floorListing, listing;
    for (int i = 0; i < o.starts; ++i) {
      double ms = 0;
      Target t = Start(dir / "bench_floor.exe", kFloorArgs, kFloorClass, &ms);
      if (HotkeyHeld(kFloorKey)) floor.Add(ms);
      Stop(t);
      t = Start(dir / "bench_floor.exe", kFloorArgs + L" --list", kFloorClass, &ms);
      if (HotkeyHeld(kFloorKey)) floorListing.Add(ms);
      Stop(t);
      auto t0 = Clock::now();
      auto names = BareListing((dir / "texts").wstring());
      listing.Add(MsSince(t0));
      t = Start(dir / "Tavimbra.exe", L"", kLauncherClass, &ms);
      if (HotkeyHeld(kLauncherKey)) launcher.Add(ms);
      Stop(t);
    }
    const std::string label = name == "samples" ? "the sample commands" : Count(std::stoi(name.substr(1))) + " commands";
    AddRow({"Start to ready", label, "ms", launcher, "floor program", floor, 0, ""});
    Samples sum;
    for (std::size_t i = 0; i < std::min(floor.v.size(), listing.v.size()); ++i) sum.Add(floor.v[i] + listing.v[i]);
    AddRow({"Start to ready", label, "ms", launcher, "floor + bare listing (separately)", sum, 1.2, ""});
    AddRow({"Start to ready", label, "ms", launcher, "floor listing the folder at start", floorListing, 1.2, ""});
  }
}

struct Pair {
  Target launcher, floor;
  std::unique_ptr<tav::CommandList> list;
};

// Alt+<key> from the user's window to the focused box; ms or -1.
double Summon(UserWindow& user, const Target& t, WORD key) {
  if (!user.Activate()) return -1;
  auto t0 = Clock::now();
  Send(AltKey(key));
  if (!Until([&] { return GetForegroundWindow() == t.form && FocusOf(t.form) == t.edit && IsWindowVisible(t.form); },
             5000))
    return -1;
  return MsSince(t0);
}

void Dismiss(const Target& t) {
  Send({Key(VK_ESCAPE, false), Key(VK_ESCAPE, true)});
  Until([&] { return !IsWindowVisible(t.form); }, 5000, false);
}

// One WM_CHAR posted to the box, to the expected text and selection on the screen. firstChange:
// when the text was first seen other than before (an outside probe's view), in the same polls;
// -1 when the keystroke leaves the text as it was (a typed letter that was the selected tail's).
double Keystroke(const Target& t, ExpectedBox& expected, char16_t c, bool* ok, double* firstChange) {
  expected.Type(c);
  const std::wstring want = Wide(expected.Text());
  const auto sel = expected.Sel();
  const std::wstring before = BoxText(t.edit);
  *firstChange = -1;
  auto t0 = Clock::now();
  PostMessageW(t.edit, WM_CHAR, c, 1);
  *ok = Until(
      [&] {
        const std::wstring now = BoxText(t.edit);
        if (*firstChange < 0 && now != before && want != before) *firstChange = MsSince(t0);
        return now == want && BoxSel(t.edit) == sel && !GetUpdateRect(t.edit, nullptr, FALSE) &&
               !GetUpdateRect(t.form, nullptr, FALSE);
      },
      5000);
  return MsSince(t0);
}

void HotkeyAndKeystroke(const Options& o, UserWindow& user) {
  std::vector<std::string> installs = {"samples", SizeName(o.sizes.back())};
  for (const auto& name : installs) {
    const fs::path dir = Installation(o, name);
    tav::CommandList list = LoadList(dir);
    // Tavimbra, the floor, and the floor with the launcher's manifest (the same box control).
    struct Program {
      const char* who;
      Target t;
      WORD key;
      const tav::CommandList* list;
      Samples hotkey, keystroke, change;
      int wrong = 0, failed = 0;
    } programs[3] = {
        {"Tavimbra", Start(dir / "Tavimbra.exe", L"", kLauncherClass, nullptr), kLauncherKey, &list, {}, {}},
        {"floor", Start(dir / "bench_floor.exe", kFloorArgs, kFloorClass, nullptr), kFloorKey, nullptr, {}, {}},
        {"floor (common controls 6)", Start(dir / "bench_floor_v6.exe", kFloor6Args, kFloorClass, nullptr), kFloor6Key,
         nullptr, {}, {}},
    };
    bool usable = true;
    for (auto& p : programs) usable = usable && p.t.form && p.t.edit;
    // Typed: the beginnings of names of the list, the same letters for every program.
    std::mt19937 rng(11);
    std::vector<std::u16string> words;
    for (int i = 0; i < o.cycles; ++i) {
      std::u16string w(list.Size() ? list.Item(rng() % list.Size()) : u"memo");
      words.push_back(w.substr(0, std::min<std::size_t>(w.size(), 3)));
    }
    for (int r = 0; r < o.rounds && usable; ++r) {
      for (int c = 0; c < o.cycles; ++c) {
        for (int k = 0; k < 3; ++k) {
          Program& p = programs[(k + r + c) % 3];  // each goes first in turn
          double ms = Summon(user, p.t, p.key);
          if (ms < 0) {
            ++p.failed;
            if (IsWindowVisible(p.t.form)) Dismiss(p.t);
            continue;
          }
          p.hotkey.Add(ms);
          ExpectedBox expected(p.list);
          for (char16_t ch : words[static_cast<std::size_t>(c)]) {
            bool ok = false;
            double change = -1;
            double t = Keystroke(p.t, expected, ch, &ok, &change);
            if (!ok) {
              ++p.wrong;
            } else {
              p.keystroke.Add(t);
              if (change >= 0) p.change.Add(change);
            }
          }
          Dismiss(p.t);
        }
      }
    }
    const std::string label = name == "samples" ? "the sample commands" : Count(static_cast<int>(list.Size())) + " commands";
    std::string note;
    for (auto& p : programs) {
      if (p.wrong) note += std::string(p.who) + ": " + std::to_string(p.wrong) + " keystrokes did not settle as expected in 5 s. ";
      if (p.failed)
        note += std::string(p.who) + ": " + std::to_string(p.failed) + " summons did not reach the box in 5 s (left out). ";
    }
    AddRow({"Hotkey to focused box", label, "ms", programs[0].hotkey, "floor program's hotkey", programs[1].hotkey, 1.2,
            note});
    AddRow({"Hotkey to focused box", label, "ms", programs[0].hotkey, "floor with common controls 6",
            programs[2].hotkey, 0, ""});
    AddRow({"Keystroke to settled text", label, "ms", programs[0].keystroke, "floor program's echo",
            programs[1].keystroke, name == "samples" ? 0 : 1.5, ""});
    AddRow({"Keystroke to settled text", label, "ms", programs[0].keystroke, "floor's echo, common controls 6",
            programs[2].keystroke, 0, ""});
    AddRow({"Keystroke to first text change (outside view)", label, "ms", programs[0].change, "floor program's echo",
            programs[1].change, 0, ""});
    for (auto& p : programs) Stop(p.t);
  }
}

// Enter to the start of the command's program. The launcher reads the command file, clears the
// box, hands the foreground to the desktop window, hides and starts the line; the floor clears,
// hides and starts the same line. The program started only sets an event, so both figures hold
// the same process creation, and their difference is what the launcher's own steps take.
void EnterToStart(const Options& o, UserWindow& user) {
  const fs::path dir = Installation(o, "samples");
  constexpr wchar_t kEvent[] = L"TavBenchCommandStarted";
  HANDLE started = CreateEventW(nullptr, FALSE, FALSE, kEvent);
  const std::wstring program = (dir / "bench_floor.exe").wstring();
  const std::wstring line = L"\"" + program + L"\" --signal " + kEvent;
  std::ofstream(dir / "texts" / "benchstart.txt", std::ios::binary) << tav::ToAnsi(tav::U(line.c_str())) << "\r\n";
  struct Program {
    Target t;
    WORD key;
    Samples ms;
    int failed = 0;
  } programs[2] = {
      {Start(dir / "Tavimbra.exe", L"", kLauncherClass, nullptr), kLauncherKey, {}},
      {Start(dir / "bench_floor.exe", kFloorArgs + L" --run \"\\\"" + program + L"\\\" --signal " + kEvent + L"\"",
             kFloorClass, nullptr),
       kFloorKey, {}},
  };
  const std::wstring name = L"benchstart";
  const int trials = o.rounds * o.cycles;
  std::vector<double> per[2] = {std::vector<double>(static_cast<std::size_t>(trials), -1),
                                std::vector<double>(static_cast<std::size_t>(trials), -1)};
  for (int c = 0; c < trials && programs[0].t.edit && programs[1].t.edit; ++c) {
    for (int k = 0; k < 2; ++k) {
      const int which = (k + c) % 2;
      Program& p = programs[which];
      if (Summon(user, p.t, p.key) < 0) {
        ++p.failed;
        if (IsWindowVisible(p.t.form)) Dismiss(p.t);
        continue;
      }
      for (wchar_t ch : name) PostMessageW(p.t.edit, WM_CHAR, ch, 1);
      if (!Until([&] { return BoxText(p.t.edit) == name; }, 5000)) {
        ++p.failed;
        Dismiss(p.t);
        continue;
      }
      ResetEvent(started);
      auto t0 = Clock::now();
      PostMessageW(p.t.edit, WM_CHAR, 13, 1);
      if (WaitForSingleObject(started, 5000) == WAIT_OBJECT_0) {
        per[which][static_cast<std::size_t>(c)] = MsSince(t0);
        p.ms.Add(per[which][static_cast<std::size_t>(c)]);
      } else {
        ++p.failed;
      }
      Until([&] { return !IsWindowVisible(p.t.form); }, 5000, false);
    }
  }
  std::string note;
  if (programs[0].failed || programs[1].failed)
    note = "Trials that did not start in 5 s (left out): Tavimbra " + std::to_string(programs[0].failed) + ", floor " +
           std::to_string(programs[1].failed) + ". ";
  AddRow({"Enter to process start", "the sample commands", "ms", programs[0].ms, "floor starting the same line",
          programs[1].ms, 0, note});
  // The process creation both pay is most of either figure and varies with the machine's load;
  // the difference within one cycle is what the launcher's own steps add.
  Samples added;
  for (int c = 0; c < trials; ++c)
    if (per[0][static_cast<std::size_t>(c)] >= 0 && per[1][static_cast<std::size_t>(c)] >= 0)
      added.Add(per[0][static_cast<std::size_t>(c)] - per[1][static_cast<std::size_t>(c)]);
  Row r{"Enter to process start", "Tavimbra less the floor, same cycle", "ms", added, "-", {}, 0, ""};
  r.target = "≤ 5 ms";
  r.met = added.Median() <= 5 ? "yes" : "**no**";
  AddRow(r);
  for (auto& p : programs) Stop(p.t);
  CloseHandle(started);
  fs::remove(dir / "texts" / "benchstart.txt");
}

// Names typed right behind the hotkey, without waiting for the window: every character arrives,
// in order. gapMs: from the hotkey to the first key and between keys (0: in the hotkey's own input
// batch, faster than any hand).
void TypingBursts(const Options& o, UserWindow& user, int gapMs, int trialsWanted) {
  const fs::path dir = Installation(o, SizeName(o.sizes.back()));
  tav::CommandList list = LoadList(dir);
  Target launcher = Start(dir / "Tavimbra.exe", L"", kLauncherClass, nullptr);
  Target floor = Start(dir / "bench_floor.exe", kFloorArgs, kFloorClass, nullptr);
  LARGE_INTEGER freq;
  QueryPerformanceFrequency(&freq);
  std::mt19937 rng(5);
  int okL = 0, okF = 0, trials = 0;
  std::string firstFailure;
  Samples msL, msF, fgL, fgF, arrivedF, ownF;
  // Of the trials that lost a key: how many had the foreground move only after the first key
  // was sent; for the floor, how many had the hotkey reach its thread only after that.
  int lostL = 0, lostF = 0, lateFgL = 0, lateFgF = 0, lateArrivalF = 0, skippedL = 0, skippedF = 0;
  for (int i = 0; i < trialsWanted && list.Size(); ++i) {
    const std::u16string name(list.Item(rng() % list.Size()));
    ++trials;
    for (int which = 0; which < 2; ++which) {
      const bool isLauncher = (which == i % 2);
      Target& t = isLauncher ? launcher : floor;
      ExpectedBox expected(isLauncher ? &list : nullptr);
      std::vector<INPUT> burst = AltKey(isLauncher ? kLauncherKey : kFloorKey);
      std::vector<std::vector<INPUT>> keys;
      for (char16_t c : name) {
        std::vector<INPUT> k;
        AddChar(k, static_cast<wchar_t>(c));
        if (gapMs == 0)
          burst.insert(burst.end(), k.begin(), k.end());
        else
          keys.push_back(k);
        expected.Type(c);
      }
      const std::wstring want = Wide(expected.Text());
      if (!user.Activate()) {  // the driver's window, not the program: the trial is not run
        ++(isLauncher ? skippedL : skippedF);
        continue;
      }
      SetWindowTextW(user.Edit(), L"");
      const LONG_PTR arrivedBefore = isLauncher ? 0 : GetWindowLongPtrW(t.form, GWLP_USERDATA);
      LARGE_INTEGER q0;
      QueryPerformanceCounter(&q0);
      auto t0 = Clock::now();
      Send(burst);
      // The gaps are waited out watching for the foreground to move (1 ms steps).
      double fgMs = -1, firstKeyMs = -1;
      for (auto& k : keys) {
        const auto until = Clock::now() + std::chrono::milliseconds(gapMs);
        while (Clock::now() < until) {
          if (fgMs < 0 && GetForegroundWindow() == t.form) fgMs = MsSince(t0);
          Sleep(1);
        }
        if (firstKeyMs < 0) firstKeyMs = MsSince(t0);
        Send(k);
      }
      bool ok = Until([&] { return IsWindowVisible(t.form) && BoxText(t.edit) == want; }, 3000);
      if (fgMs < 0 && GetForegroundWindow() == t.form) fgMs = MsSince(t0);
      if (fgMs >= 0) (isLauncher ? fgL : fgF).Add(fgMs);
      double arrivedMs = -1;
      if (!isLauncher) {
        const LONG_PTR arrived = GetWindowLongPtrW(t.form, GWLP_USERDATA);
        const LONG_PTR own = GetWindowLongPtrW(t.edit, GWLP_USERDATA);
        if (arrived != arrivedBefore) {
          arrivedMs = 1000.0 * static_cast<double>(arrived - q0.QuadPart) / static_cast<double>(freq.QuadPart);
          arrivedF.Add(arrivedMs);
          ownF.Add(1000.0 * static_cast<double>(own - arrived) / static_cast<double>(freq.QuadPart));
        }
      }
      if (ok) {
        (isLauncher ? msL : msF).Add(MsSince(t0));
        ++(isLauncher ? okL : okF);
      } else {
        const bool lateFg = fgMs < 0 || (firstKeyMs >= 0 && fgMs > firstKeyMs);
        if (isLauncher) {
          ++lostL;
          lateFgL += lateFg;
        } else {
          ++lostF;
          lateFgF += lateFg;
          lateArrivalF += arrivedMs < 0 || (firstKeyMs >= 0 && arrivedMs > firstKeyMs);
        }
        if (firstFailure.empty())
          firstFailure = std::string(isLauncher ? "launcher" : "floor") + ": typed \"" + tav::ToUtf8(name) +
                         "\", box \"" + tav::ToUtf8(tav::U(BoxText(t.edit).c_str())) + "\", the other window \"" +
                         tav::ToUtf8(tav::U(BoxText(user.Edit()).c_str())) + "\"";
      }
      if (IsWindowVisible(t.form)) Dismiss(t);
    }
  }
  Samples a, b;
  a.Add(okL);
  b.Add(okF);
  const std::string how = gapMs ? "keys " + std::to_string(gapMs) + " ms apart" : "keys in the hotkey's input batch";
  std::string note = firstFailure.empty() ? "" : "First miss: " + firstFailure + ". ";
  if (skippedL || skippedF)
    note += "Trials not run because the driver's own window could not be made foreground again: launcher " +
            std::to_string(skippedL) + ", floor " + std::to_string(skippedF) + ". ";
  if (gapMs && (lostL || lostF))
    note += "Trials that lost a key: launcher " + std::to_string(lostL) + ", of which the foreground moved only after the first key was sent in " +
            std::to_string(lateFgL) + "; floor " + std::to_string(lostF) + ", of which the foreground moved only after the first key in " +
            std::to_string(lateFgF) + " and the hotkey reached the floor's thread only after the first key in " +
            std::to_string(lateArrivalF) + ".";
  AddRow({"Typing right behind the hotkey",
          how + ": names arriving whole and in order, of " + std::to_string(trials) + " (" +
              Count(static_cast<int>(list.Size())) + " commands)",
          "names", a, "floor program", b, 0, note,
          gapMs ? "all " + std::to_string(trials - skippedL) + " run" : "",
          gapMs ? (okL == trials - skippedL ? "yes" : "**no**") : ""});
  if (gapMs) {
    AddRow({"Typing right behind the hotkey", how + ": hotkey + whole name to the completed text", "ms", msL,
            "floor program", msF, 0, ""});
    AddRow({"Typing right behind the hotkey", how + ": hotkey to the foreground moving (seen in 1 ms steps)", "ms", fgL,
            "floor program", fgF, 0, ""});
    AddRow({"Typing right behind the hotkey", how + ": floor: hotkey to its thread getting WM_HOTKEY", "ms", arrivedF,
            "floor: WM_HOTKEY to the foreground its own (show + foreground)", ownF, 0,
            "Both from the floor's own probes (performance counter); before WM_HOTKEY arrives no code of the program runs."});
  }
  Stop(launcher);
  Stop(floor);
}

// 4. Memory after start, per command, after many cycles; CPU while hidden.
void MemoryAndCpu(const Options& o, UserWindow& user) {
  std::map<std::string, std::pair<double, double>> ws;  // install -> launcher, floor holding its listing (bytes)
  std::map<std::string, double> residue;                // install -> floor that listed and let the names go
  std::vector<std::string> installs = {"samples", SizeName(0), SizeName(o.sizes.back())};
  for (const auto& name : installs) {
    const fs::path dir = Installation(o, name);
    Samples l, f, lp, fp, fl, fd;
    for (int i = 0; i < 3; ++i) {
      Target a = Start(dir / "Tavimbra.exe", L"", kLauncherClass, nullptr);
      Target b = Start(dir / "bench_floor.exe", kFloorArgs, kFloorClass, nullptr);
      Sleep(500);
      l.Add(WorkingSet(a.pi.hProcess) / 1024.0);
      f.Add(WorkingSet(b.pi.hProcess) / 1024.0);
      lp.Add(PrivateBytes(a.pi.hProcess) / 1024.0);
      fp.Add(PrivateBytes(b.pi.hProcess) / 1024.0);
      Stop(b);
      b = Start(dir / "bench_floor.exe", kFloorArgs + L" --list", kFloorClass, nullptr);
      Sleep(500);
      fl.Add(WorkingSet(b.pi.hProcess) / 1024.0);
      Stop(b);
      b = Start(dir / "bench_floor.exe", kFloorArgs + L" --list --drop", kFloorClass, nullptr);
      Sleep(500);
      fd.Add(WorkingSet(b.pi.hProcess) / 1024.0);
      Stop(a);
      Stop(b);
    }
    ws[name] = {l.Median() * 1024, fl.Median() * 1024};
    residue[name] = fd.Median() * 1024;
    const std::string label = name == "samples" ? "the sample commands" : Count(std::stoi(name.substr(1))) + " commands";
    AddRow({"Working set after start", label, "KiB", l, "floor program", f, name == "samples" ? 1.2 : 0, ""});
    if (lp.Median() > 0) AddRow({"Committed bytes after start", label, "KiB", lp, "floor program", fp, 0, ""});
  }
  {
    const int n = o.sizes.back();
    Samples per, zero;
    per.Add((ws[SizeName(n)].first - ws[SizeName(0)].first) / std::max(1, n));
    zero.Add((ws[SizeName(n)].second - ws[SizeName(0)].second) / std::max(1, n));
    AddRow({"Working set per command", "(" + Count(n) + " minus none) / " + Count(n), "bytes", per,
            "floor holding its bare listing, same folders", zero, 0, "", "≤ 100 bytes",
            per.Median() <= 100 ? "yes" : "**no**"});
    Samples left;
    left.Add((residue[SizeName(n)] - residue[SizeName(0)]) / std::max(1, n));
    AddRow({"Working set per command", "(" + Count(n) + " minus none) / " + Count(n), "bytes", per,
            "floor that listed the folder and let the names go (the listing's residue)", left, 0,
            "What stays in a process that only listed the folder: the platform's own, not the list's."});
  }
  // Many cycles: summon, two letters, Esc.
  {
    const fs::path dir = Installation(o, "samples");
    Target a = Start(dir / "Tavimbra.exe", L"", kLauncherClass, nullptr);
    Target b = Start(dir / "bench_floor.exe", kFloorArgs, kFloorClass, nullptr);
    // Summoned from wherever the foreground is: the hotkey works from any window.
    auto cycle = [&](Target& t, WORD key) {
      Send(AltKey(key));
      if (!Until([&] { return FocusOf(t.form) == t.edit && IsWindowVisible(t.form); }, 3000, false)) return;
      PostMessageW(t.edit, WM_CHAR, 'm', 1);
      PostMessageW(t.edit, WM_CHAR, 'e', 1);
      Until([&] { return BoxText(t.edit).size() >= 2; }, 2000, false);
      Dismiss(t);
    };
    user.Activate();
    for (int i = 0; i < 10; ++i) {
      cycle(a, kLauncherKey);
      cycle(b, kFloorKey);
    }
    const double l0 = static_cast<double>(WorkingSet(a.pi.hProcess)), f0 = static_cast<double>(WorkingSet(b.pi.hProcess));
    const int floorCycles = std::max(1, o.memCycles / 5);  // the reference, in fewer cycles to keep the run short
    for (int i = 0; i < o.memCycles; ++i) {
      cycle(a, kLauncherKey);
      if (i < floorCycles) cycle(b, kFloorKey);
    }
    Sleep(500);
    Samples gl, gf;
    gl.Add(100.0 * (static_cast<double>(WorkingSet(a.pi.hProcess)) - l0) / l0);
    gf.Add(100.0 * (static_cast<double>(WorkingSet(b.pi.hProcess)) - f0) / f0);
    AddRow({"Working set growth", "over " + std::to_string(o.memCycles) + " summon / type / Esc cycles", "%", gl,
            "floor program over " + std::to_string(floorCycles) + " cycles", gf, 0, "After 10 warm-up cycles.",
            "≤ 1%", gl.Median() <= 1.0 ? "yes" : "**no**"});
    // Hidden: CPU over the idle span, both at once.
    const double c0 = CpuMs(a.pi.hProcess), d0 = CpuMs(b.pi.hProcess);
    Sleep(static_cast<DWORD>(o.idleSeconds) * 1000);
    Samples cl, cf;
    cl.Add(CpuMs(a.pi.hProcess) - c0);
    cf.Add(CpuMs(b.pi.hProcess) - d0);
    AddRow({"CPU time while hidden", "over " + std::to_string(o.idleSeconds) + " s", "ms", cl, "floor program", cf, 0, "",
            "0", cl.Median() == 0 ? "yes" : "**no**"});
    Stop(a);
    Stop(b);
  }
}

// 3. List build and refresh, in this process, against the bare listing and the sorted list control.
void ListBuild(const Options& o) {
  for (int n : o.sizes) {
    if (n == 0) continue;
    const fs::path texts = Installation(o, SizeName(n)) / "texts";
    const std::u16string folder = tav::U(texts.c_str());
    Samples bare, listing, sortIndex, build, refresh, comboFill, comboInsert, keyOurs, keyCombo, keys;
    tav::CommandList resident;
    resident.Build(tav::ListFileNameTable(folder), tav::UserCollation());
    std::size_t mismatches = 0, queriesRun = 0;
    for (int r = 0; r < o.rounds + 2; ++r) {
      auto t0 = Clock::now();
      auto names = BareListing(texts.wstring());
      bare.Add(MsSince(t0));
      t0 = Clock::now();
      {
        tav::CommandList fresh;
        auto files = tav::ListFileNameTable(folder);
        listing.Add(MsSince(t0));
        auto t1 = Clock::now();
        fresh.Build(std::move(files), tav::UserCollation());
        sortIndex.Add(MsSince(t1));
        build.Add(MsSince(t0));
      }
      t0 = Clock::now();
      resident.Build(tav::ListFileNameTable(folder), tav::UserCollation());
      refresh.Add(MsSince(t0));
      {
        const tav::Collation c = tav::UserCollation();
        t0 = Clock::now();
        std::size_t total = 0;
        for (const auto& nm : names) total += c.sortKey(tav::U(nm.c_str())).size();
        keys.Add(MsSince(t0));
        if (total == 0 && !names.empty()) std::printf("no sort keys\n");
      }
      if (r >= o.rounds) continue;  // the control is slow: fewer rounds of it
      HWND cb = CreateWindowExW(0, L"COMBOBOX", L"", WS_POPUP | CBS_DROPDOWN | CBS_SORT | CBS_HASSTRINGS, 0, 0, 100,
                                100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
      t0 = Clock::now();
      auto listed = BareListing(texts.wstring());
      auto t1 = Clock::now();
      SendMessageW(cb, CB_INITSTORAGE, listed.size(), listed.size() * 40);
      for (const auto& f : listed) SendMessageW(cb, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(f.c_str()));
      comboInsert.Add(MsSince(t1));
      comboFill.Add(MsSince(t0));
      // Keystrokes: every prefix of a sample of names, one search each; the answers compared.
      // (The control holds the names with their extension; a prefix of a name is a prefix of either.)
      std::mt19937 rng(7 + r);
      std::vector<std::u16string> queries;
      while (queries.size() < 2000 && resident.Size() > 0) {
        const std::u16string nm(resident.Item(rng() % resident.Size()));
        for (std::size_t k = 1; k <= nm.size() && queries.size() < 2000; ++k) queries.push_back(nm.substr(0, k));
      }
      std::vector<int> ours(queries.size()), theirs(queries.size());
      t0 = Clock::now();
      for (std::size_t q = 0; q < queries.size(); ++q) ours[q] = resident.FindFirst(queries[q]);
      keyOurs.Add(MsSince(t0) / static_cast<double>(std::max<std::size_t>(1, queries.size())));
      t0 = Clock::now();
      for (std::size_t q = 0; q < queries.size(); ++q) theirs[q] = tav::mAPIDec::FindListEntry(cb, queries[q], false);
      keyCombo.Add(MsSince(t0) / static_cast<double>(std::max<std::size_t>(1, queries.size())));
      for (std::size_t q = 0; q < queries.size(); ++q) mismatches += ours[q] != theirs[q];
      queriesRun += queries.size();
      DestroyWindow(cb);
    }
    const std::string label = Count(n) + " names";
    AddRow({"List build: listing + sort + index", label, "ms", build, "bare listing", bare, 1.15, ""});
    AddRow({"List build: of which the listing", label, "ms", listing, "bare listing", bare, 0, ""});
    AddRow({"List build: of which sort + index", label, "ms", sortIndex, "CB_ADDSTRING into the sorted control",
            comboInsert, -10, ""});
    AddRow({"List build: the platform's sort keys alone", label, "ms", keys, "bare listing", bare, 0, ""});
    AddRow({"List build: listing + sort + index", label, "ms", build,
            "bare listing + CB_ADDSTRING into the sorted control", comboFill, 0, ""});
    AddRow({"List refresh over a built list", label, "ms", refresh, "bare listing", bare, 1.15, ""});
    AddRow({"Keystroke search", label, "ms", keyOurs, "CB_FINDSTRING on the sorted control", keyCombo, 0,
            std::to_string(mismatches) + " of " + std::to_string(queriesRun) + " answers differ from the control's."});
  }
}

// Where a completed keystroke's time goes: the box's own operations, timed in this process on a
// shown box in the launcher's default face and size.
void EditCosts(const Options& o) {
  const fs::path dir = Installation(o, SizeName(o.sizes.back()));
  tav::CommandList list = LoadList(dir);
  if (!list.Size()) return;
  WNDCLASSW wc{};
  wc.lpfnWndProc = DefWindowProcW;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TavBenchEditCosts";
  RegisterClassW(&wc);
  HWND form = CreateWindowExW(WS_EX_TOOLWINDOW, wc.lpszClassName, L"", WS_POPUP | WS_CLIPCHILDREN, 392, 352, 240, 64,
                              nullptr, nullptr, wc.hInstance, nullptr);
  const UINT dpi = tav::WindowDpi(form);
  const RECT r = tav::InputBoxRect(dpi);
  HWND edit = CreateWindowExW(0, L"EDIT", L"", WS_CHILD | WS_VISIBLE | ES_AUTOHSCROLL, r.left, r.top, r.right - r.left,
                              r.bottom - r.top, form, nullptr, wc.hInstance, nullptr);
  tav::InputBoxFontChoice choice;
  tav::UniqueFont font = tav::CreateInputBoxFont(choice, dpi);
  SendMessageW(edit, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  ShowWindow(form, SW_SHOW);
  UpdateWindow(form);
  const std::wstring item = Wide(std::u16string(list.Item(list.Size() / 3)));
  const int typed = 1;
  auto pump = [] {
    MSG m;
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) DispatchMessageW(&m);
  };
  auto timed = [](const std::function<void()>& f) {
    auto t0 = Clock::now();
    f();
    return MsSince(t0);
  };
  struct Step {
    const char* name;
    std::function<double()> run;  // its own time, in ms
    Samples t;
  } steps[] = {
      {"WM_CHAR (the box inserts one character)", [&] { return timed([&] { SendMessageW(edit, WM_CHAR, item[0], 1); }); }, {}},
      {"paint after it", [&] { return timed([&] { UpdateWindow(edit); }); }, {}},
      {"read the text and caret (GetWindowText, EM_GETSEL)",
       [&] {
         return timed([&] {
           wchar_t b[512];
           GetWindowTextW(edit, b, 512);
           DWORD a = 0, e = 0;
           SendMessageW(edit, EM_GETSEL, reinterpret_cast<WPARAM>(&a), reinterpret_cast<LPARAM>(&e));
         });
       },
       {}},
      {"SetWindowText of the completed name", [&] { return timed([&] { SetWindowTextW(edit, item.c_str()); }); }, {}},
      {"EM_SETSEL of the tail",
       [&] { return timed([&] { SendMessageW(edit, EM_SETSEL, typed, static_cast<LPARAM>(item.size())); }); }, {}},
      {"paint of the completed name", [&] { return timed([&] { UpdateWindow(edit); }); }, {}},
      {"EM_REPLACESEL of the tail + EM_SETSEL (instead of the whole text)",
       [&] {
         SetWindowTextW(edit, item.substr(0, typed).c_str());
         UpdateWindow(edit);
         return timed([&] {
           SendMessageW(edit, EM_SETSEL, typed, typed);
           SendMessageW(edit, EM_REPLACESEL, FALSE, reinterpret_cast<LPARAM>(item.substr(typed).c_str()));
           SendMessageW(edit, EM_SETSEL, typed, static_cast<LPARAM>(item.size()));
         });
       },
       {}},
      {"paint after it", [&] { return timed([&] { UpdateWindow(edit); }); }, {}},
      {"clear (SetWindowText empty) + paint",
       [&] {
         return timed([&] {
           SetWindowTextW(edit, L"");
           UpdateWindow(edit);
         });
       },
       {}},
  };
  for (int round = 0; round < o.cycles * o.rounds; ++round)
    for (auto& st : steps) {
      pump();
      st.t.Add(st.run());
    }
  Samples echo;  // the floor's keystroke: insert and paint
  for (std::size_t i = 0; i < steps[0].t.v.size(); ++i) echo.Add(steps[0].t.v[i] + steps[1].t.v[i]);
  for (auto& st : steps)
    AddRow({"Box operation (in process)", st.name, "ms", st.t, "WM_CHAR + paint (the echo)", echo, 0, ""});
  DestroyWindow(form);
}

// 5. A file written into texts\ while the launcher waits hidden, to its name in the completion
// list: the launcher gathers changes until the folder has been quiet a moment (0.2 s), then
// rebuilds the list. Read from the window properties the launcher keeps for this; then the name
// is typed at the next summon, and the file removed again (one more rebuild, waited for).
constexpr wchar_t kChangePending[] = L"TavimbraChangePending";
constexpr wchar_t kListRebuilds[] = L"TavimbraListRebuilds";
UINT_PTR PropOf(HWND w, const wchar_t* name) { return reinterpret_cast<UINT_PTR>(GetPropW(w, name)); }

void FileAddedToCompletion(const Options& o, UserWindow& user) {
  for (const std::string& name : {std::string("samples"), SizeName(o.sizes.back())}) {
    const fs::path dir = Installation(o, name);
    Target t = Start(dir / "Tavimbra.exe", L"", kLauncherClass, nullptr);
    if (!t.form || !t.edit) {
      Stop(t);
      continue;
    }
    Samples added, reference, perFile;
    int notInList = 0, notCompleted = 0;
    auto rebuilt = [&](UINT_PTR before) {
      return Until([&] { return PropOf(t.form, kListRebuilds) > before && !PropOf(t.form, kChangePending); }, 30000,
                   false);
    };
    for (int r = 0; r < o.rounds * 3; ++r) {
      auto t1 = Clock::now();
      LoadList(dir);
      reference.Add(MsSince(t1) + 200);
      const std::wstring added_name = L"zq-added-" + std::to_wstring(r);
      const fs::path file = dir / "texts" / (added_name + L".txt");
      const UINT_PTR before = PropOf(t.form, kListRebuilds);
      HANDLE h = CreateFileW(file.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
      DWORD written = 0;
      WriteFile(h, "x\r\n", 3, &written, nullptr);
      CloseHandle(h);
      auto t0 = Clock::now();
      if (!rebuilt(before)) {
        ++notInList;
      } else {
        added.Add(MsSince(t0));
        if (Summon(user, t, kLauncherKey) >= 0) {
          PostMessageW(t.edit, WM_CHAR, 'z', 1);
          PostMessageW(t.edit, WM_CHAR, 'q', 1);
          if (!Until([&] { return BoxText(t.edit) == added_name; }, 5000, false)) ++notCompleted;
          Dismiss(t);
        } else {
          ++notCompleted;
        }
      }
      perFile.Add(static_cast<double>(PropOf(t.form, kListRebuilds) - before));
      const UINT_PTR after = PropOf(t.form, kListRebuilds);
      fs::remove(file);
      rebuilt(after);
    }
    Stop(t);
    const std::string label = name == "samples" ? "the sample commands" : Count(std::stoi(name.substr(1))) + " commands";
    std::string note;
    if (notInList) note += std::to_string(notInList) + " added files did not reach the list in 30 s. ";
    if (notCompleted) note += std::to_string(notCompleted) + " names in the list did not complete at the next summon.";
    AddRow({"File added to completion", label + ": file written to its name in the list", "ms", added,
            "in-process list build of the folder + the 0.2 s quiet period", reference, 0, note});
    AddRow({"File added to completion", label + ": rebuilds per added file", "rebuilds", perFile, "", {}, 0, "", "1",
            perFile.Max() == 1 && perFile.Min() == 1 ? "yes" : "**no**"});
  }
}

void WriteTable(const Options& o, const std::string& header) {
  std::ofstream f(o.out, std::ios::binary);
  f << header << "\n";
  f << "| figure | Tavimbra: median (min–max) | reference | reference: median (min–max) | ratio | target | met |\n";
  f << "|---|---|---|---|---|---|---|\n";
  std::vector<std::string> notes;
  for (const auto& r : g_rows) {
    const double ratio = r.ref.Median() != 0 ? r.ours.Median() / r.ref.Median() : 0;
    std::string target = r.target.empty() ? "-" : r.target, met = r.met;
    if (r.limit > 0) {
      target = "≤ " + Fmt(r.limit) + "x";
      met = ratio <= r.limit ? "yes" : "**no**";
    } else if (r.limit < 0) {
      target = Fmt(-r.limit) + "x faster";
      met = ratio * -r.limit <= 1 ? "yes" : "**no**";
    }
    std::string fig = r.section + ": " + r.figure + " (" + r.unit + ")";
    if (!r.note.empty()) {
      notes.push_back(r.note);
      fig += " [" + std::to_string(notes.size()) + "]";
    }
    f << "| " << fig << " | " << Cell(r.ours) << " | " << r.reference << " | " << Cell(r.ref) << " | "
      << (r.ref.Median() != 0 ? Fmt(ratio) + "x" : "-") << " | " << target << " | " << met << " |\n";
  }
  if (!notes.empty()) {
    f << "\n";
    for (std::size_t i = 0; i < notes.size(); ++i) f << "[" << i + 1 << "] " << notes[i] << "\n";
  }
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  Options o;
  std::string only;
  for (int i = 1; i + 1 < argc; i += 2) {
    std::wstring a = argv[i], v = argv[i + 1];
    if (a == L"--root") o.root = v;
    else if (a == L"--out") o.out = v;
    else if (a == L"--rounds") o.rounds = _wtoi(v.c_str());
    else if (a == L"--cycles") o.cycles = _wtoi(v.c_str());
    else if (a == L"--starts") o.starts = _wtoi(v.c_str());
    else if (a == L"--typing") o.typing = _wtoi(v.c_str());
    else if (a == L"--mem-cycles") o.memCycles = _wtoi(v.c_str());
    else if (a == L"--idle") o.idleSeconds = _wtoi(v.c_str());
    else if (a == L"--only") only = tav::ToUtf8(tav::U(v.c_str()));
    else if (a == L"--sizes") {
      o.sizes.clear();
      std::wstringstream ss(v);
      std::wstring item;
      while (std::getline(ss, item, L',')) o.sizes.push_back(_wtoi(item.c_str()));
    }
  }
  if (o.root.empty() || o.out.empty() || o.sizes.empty()) {
    std::printf("usage: launcher_bench --root <folder> --out <file.md> [--sizes 0,1000,10000,100000] ...\n");
    return 2;
  }
  auto want = [&](const char* part) { return only.empty() || only.find(part) != std::string::npos; };
  auto start = Clock::now();
  UserWindow user;
  if (want("start")) StartToReady(o);
  if (want("hotkey")) HotkeyAndKeystroke(o, user);
  if (want("enter")) EnterToStart(o, user);
  if (want("typing")) {
    TypingBursts(o, user, 20, o.typing);
    TypingBursts(o, user, 0, std::max(1, o.typing / 10));
  }
  if (want("list")) ListBuild(o);
  if (want("edit")) EditCosts(o);
  if (want("memory")) MemoryAndCpu(o, user);
  if (want("added")) FileAddedToCompletion(o, user);
  char header[512];
  std::snprintf(header, sizeof header,
                "Rounds %d x %d cycles for the hotkey and keystroke figures, %d starts per program and size, "
                "%d typing trials, %d memory cycles, %d s idle. Whole run: %.0f s.\n",
                o.rounds, o.cycles, o.starts, o.typing, o.memCycles, o.idleSeconds, MsSince(start) / 1000);
  WriteTable(o, header);
  std::printf("%s", header);
  return 0;
}
