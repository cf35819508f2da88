#include "bench_run.h"

#include <psapi.h>

#include <algorithm>
#include <cstdio>
#include <fstream>

#include "collation_win32.h"
#include "folder_listing_win32.h"
#include "text_encoding.h"

namespace tav::bench {

namespace {
std::vector<Row> g_rows;
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
}  // namespace

double MsSince(Clock::time_point t) { return std::chrono::duration<double, std::milli>(Clock::now() - t).count(); }

double Samples::Median() const {
  if (v.empty()) return 0;
  std::vector<double> s = v;
  std::sort(s.begin(), s.end());
  return s.size() % 2 ? s[s.size() / 2] : (s[s.size() / 2 - 1] + s[s.size() / 2]) / 2;
}
double Samples::Min() const { return v.empty() ? 0 : *std::min_element(v.begin(), v.end()); }
double Samples::Max() const { return v.empty() ? 0 : *std::max_element(v.begin(), v.end()); }

void AddRow(Row r) {
  std::printf("%-60s %10.3f %s  ref %10.3f  (%s)\n", (r.section + ": " + r.figure).c_str(), r.ours.Median(),
              r.unit.c_str(), r.ref.Median(), r.reference.c_str());
  std::fflush(stdout);
  g_rows.push_back(std::move(r));
}

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


bool HotkeyHeld(UINT vk) {
  constexpr int kProbeId = 0x3FF1;
  if (!RegisterHotKey(nullptr, kProbeId, MOD_ALT, vk)) return true;
  UnregisterHotKey(nullptr, kProbeId);
  return false;
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
  for (int i = 0; i < 500 && !(t.form = e2e::FindTopWindow(t.pi.dwProcessId, cls)); ++i) Sleep(10);
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

void Send(std::vector<INPUT> v) { SendInput(static_cast<UINT>(v.size()), v.data(), sizeof(INPUT)); }
std::vector<INPUT> AltKey(WORD vk) {
  using e2e::KeyInput;
  return {KeyInput(VK_MENU, false), KeyInput(vk, false), KeyInput(vk, true), KeyInput(VK_MENU, true)};
}

bool Until(const std::function<bool()>& cond, int timeoutMs, bool spin) {
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

// Alt+<key> from the user's window to the focused box; ms or -1.
double Summon(e2e::ForegroundWindow& user, const Target& t, WORD key) {
  if (!user.Activate()) return -1;
  auto t0 = Clock::now();
  Send(AltKey(key));
  if (!Until([&] { return GetForegroundWindow() == t.form && e2e::FocusOf(t.form) == t.edit && IsWindowVisible(t.form); },
             5000))
    return -1;
  return MsSince(t0);
}

void Dismiss(const Target& t) {
  Send({e2e::KeyInput(VK_ESCAPE, false), e2e::KeyInput(VK_ESCAPE, true)});
  Until([&] { return !IsWindowVisible(t.form); }, 5000, false);
}

// One WM_CHAR posted to the box, to the expected text and selection on the screen. firstChange:
// when the text was first seen other than before (an outside probe's view), in the same polls;
// -1 when the keystroke leaves the text as it was (a typed letter that was the selected tail's).
double Keystroke(const Target& t, ExpectedBox& expected, char16_t c, bool* ok, double* firstChange) {
  expected.Type(c);
  const std::wstring want = Wide(expected.Text());
  const auto sel = expected.Sel();
  const std::wstring before = e2e::WindowText(t.edit);
  *firstChange = -1;
  auto t0 = Clock::now();
  PostMessageW(t.edit, WM_CHAR, c, 1);
  *ok = Until(
      [&] {
        const std::wstring now = e2e::WindowText(t.edit);
        if (*firstChange < 0 && now != before && want != before) *firstChange = MsSince(t0);
        return now == want && e2e::EditSelection(t.edit) == sel && !GetUpdateRect(t.edit, nullptr, FALSE) &&
               !GetUpdateRect(t.form, nullptr, FALSE);
      },
      5000);
  return MsSince(t0);
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


}  // namespace tav::bench
