// The benchmark's shared pieces: the table of figures, the programs under test (started,
// summoned, typed into, stopped) and the expected box. Input, window search and the user's window
// come from the end-to-end driver.
#pragma once
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "command_list.h"
#include "completion.h"
#include "driver/foreground_window.h"
#include "driver/input.h"
#include "driver/top_windows.h"
#include "launcher_window.h"

namespace tav::bench {

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

double MsSince(Clock::time_point t);

struct Samples {
  std::vector<double> v;
  void Add(double x) { v.push_back(x); }
  bool Empty() const { return v.empty(); }
  double Median() const;
  double Min() const;
  double Max() const;
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
// Prints the row and keeps it for the table.
void AddRow(Row r);

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

fs::path Installation(const Options& o, const std::string& name);
std::string SizeName(int n);
std::string Count(int n);
tav::CommandList LoadList(const fs::path& install);

struct Target {
  PROCESS_INFORMATION pi{};
  HWND form = nullptr, edit = nullptr;
  explicit operator bool() const { return pi.hProcess != nullptr; }
};

bool HotkeyHeld(UINT vk);
// Starts exe in its folder and waits until its thread waits for input (start-up done, the
// message loop entered); ms gets the time from the call to that moment.
Target Start(const fs::path& exe, const std::wstring& args, const wchar_t* cls, double* ms);
void Stop(Target& t);
std::size_t WorkingSet(HANDLE p);
std::size_t PrivateBytes(HANDLE p);
double CpuMs(HANDLE p);

void Send(std::vector<INPUT> v);
std::vector<INPUT> AltKey(WORD vk);
// Polls cond until it holds. Timed waits spin (yielding); the others sleep, so the driver leaves
// the two programs the processor.
bool Until(const std::function<bool()>& cond, int timeoutMs, bool spin = true);

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

inline std::wstring Wide(const std::u16string& s) { return std::wstring(reinterpret_cast<const wchar_t*>(s.c_str()), s.size()); }

// Alt+<key> from the user's window to the focused box; ms or -1.
double Summon(e2e::ForegroundWindow& user, const Target& t, WORD key);
void Dismiss(const Target& t);
// One WM_CHAR posted to the box, to the expected text and selection on the screen (Keystroke in
// bench_run.cpp says more).
double Keystroke(const Target& t, ExpectedBox& expected, char16_t c, bool* ok, double* firstChange);

// The figures, each adding its rows.
void StartToReady(const Options& o);
void HotkeyAndKeystroke(const Options& o, e2e::ForegroundWindow& user);
void EnterToStart(const Options& o, e2e::ForegroundWindow& user);
void TypingBursts(const Options& o, e2e::ForegroundWindow& user, int gapMs, int trialsWanted);
void MemoryAndCpu(const Options& o, e2e::ForegroundWindow& user);
void ListBuild(const Options& o);
void EditCosts(const Options& o);
void FileAddedToCompletion(const Options& o, e2e::ForegroundWindow& user);

void WriteTable(const Options& o, const std::string& header);

}  // namespace tav::bench
