// The figures of what the programs cost: memory and processor time, building the list, the box's
// edits, a file added to completion.
#include "bench_run.h"

#include <psapi.h>

#include <fstream>
#include <map>
#include <random>

#include "bare_listing.h"
#include "collation_win32.h"
#include "folder_listing_win32.h"
#include "input_box_look_win32.h"
#include "list_control_search_win32.h"
#include "settings.h"
#include "text_encoding.h"

namespace tav::bench {

void MemoryAndCpu(const Options& o, e2e::ForegroundWindow& user) {
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
      if (!Until([&] { return e2e::FocusOf(t.form) == t.edit && IsWindowVisible(t.form); }, 3000, false)) return;
      PostMessageW(t.edit, WM_CHAR, 'm', 1);
      PostMessageW(t.edit, WM_CHAR, 'e', 1);
      Until([&] { return e2e::WindowText(t.edit).size() >= 2; }, 2000, false);
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

void FileAddedToCompletion(const Options& o, e2e::ForegroundWindow& user) {
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
          if (!Until([&] { return e2e::WindowText(t.edit) == added_name; }, 5000, false)) ++notCompleted;
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


}  // namespace tav::bench
