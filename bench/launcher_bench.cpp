// The launcher against the floor: the real Tavimbra.exe and bench_floor.exe started from fresh
// installation folders (scripts/bench.sh lays them out), alternated within one run, every figure
// repeated and given with its reference and the ratio. Writes a Markdown table.
// Usage: launcher_bench.exe --root <folder of installations n<count>\ and samples\> --out <file.md>
//          [--sizes 0,1000,10000,100000] [--rounds 3] [--cycles 30] [--starts 10] [--typing 200]
//          [--mem-cycles 1000] [--idle 60]
#include <algorithm>
#include <cstdio>
#include <sstream>

#include "bench_run.h"
#include "text_encoding.h"

using namespace tav::bench;

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
  // The application the user works in; its title begins with "Program" and its class is the
  // desktop's, so the launcher's Esc hands the foreground back here.
  tav::e2e::ForegroundWindow user(L"Program Manager (bench)", true);
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
