// The figures of the programs as a user meets them: start to ready, hotkey and keystroke, Enter
// to the command's start, typing right behind the hotkey.
#include <fstream>
#include <random>

#include "bare_listing.h"
#include "bench_run.h"
#include "text_encoding.h"

namespace tav::bench {

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

void HotkeyAndKeystroke(const Options& o, e2e::ForegroundWindow& user) {
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
void EnterToStart(const Options& o, e2e::ForegroundWindow& user) {
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
      if (!Until([&] { return e2e::WindowText(p.t.edit) == name; }, 5000)) {
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
void TypingBursts(const Options& o, e2e::ForegroundWindow& user, int gapMs, int trialsWanted) {
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
        e2e::AppendChar(k, static_cast<wchar_t>(c));
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
      bool ok = Until([&] { return IsWindowVisible(t.form) && e2e::WindowText(t.edit) == want; }, 3000);
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
                         "\", box \"" + tav::ToUtf8(tav::U(e2e::WindowText(t.edit).c_str())) + "\", the other window \"" +
                         tav::ToUtf8(tav::U(e2e::WindowText(user.Edit()).c_str())) + "\"";
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

}  // namespace tav::bench
