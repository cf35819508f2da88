// The command list at scale: building it from a texts folder of many files and completing one
// keystroke, ours against a hidden sorted combo box filled with CB_ADDSTRING and searched with
// CB_FINDSTRING.
// Usage: launcher_list_bench [folder [count]]: the command files in folder (make_texts.py makes
// them quickly outside Wine); when it holds none, count files (default 100000) are created first.
#include <windows.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cwchar>
#include <random>
#include <string>
#include <vector>

#include "command_list.h"
#include "list_search_win32.h"
#include "text_encoding.h"

namespace {

using Clock = std::chrono::steady_clock;
double Ms(Clock::duration d) { return std::chrono::duration<double, std::milli>(d).count(); }

// Names like a user's: words, mixed case, digits, separators, kana and kanji.
std::vector<std::u16string> MakeNames(std::size_t count) {
  const std::vector<std::u16string> parts = {u"calc", u"Calendar", u"memo", u"Mail", u"web", u"Search", u"note",
                                             u"メモ", u"計算", u"ブラウザ", u"drive", u"Photo", u"ｆｕｌｌ", u"x"};
  std::mt19937 rng(12345);
  std::vector<std::u16string> names;
  names.reserve(count);
  for (std::size_t i = 0; i < count; ++i) {
    std::u16string n = parts[rng() % parts.size()];
    if (rng() % 2) n += (rng() % 3 ? u"-" : u" ") + parts[rng() % parts.size()];
    n += tav::FromUtf8(std::to_string(i));
    names.push_back(n);
  }
  return names;
}

}  // namespace

int wmain(int argc, wchar_t** argv) {
  using namespace tav;
  wchar_t tempPath[MAX_PATH];
  GetTempPathW(MAX_PATH, tempPath);
  const std::u16string folder = argc > 1 ? U(argv[1]) : U(tempPath) + u"tav-bench-texts";
  const std::size_t count = argc > 2 ? static_cast<std::size_t>(_wtoi(argv[2])) : 100000;
  CreateDirectoryW(W(folder), nullptr);
  const bool created = ListFileNames(folder).empty();
  if (created) {
    std::printf("creating %zu command files...\n", count);
    for (const auto& n : MakeNames(count)) {
      HANDLE f = CreateFileW(W(folder + u"\\" + n + u".txt"), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                             FILE_ATTRIBUTE_NORMAL, nullptr);
      if (f != INVALID_HANDLE_VALUE) CloseHandle(f);
    }
  }

  // Ours: listing, one sort key per name, one sort, the search index.
  auto t0 = Clock::now();
  std::vector<std::u16string> files = ListFileNames(folder);
  auto t1 = Clock::now();
  CommandList list;
  list.Build(files, UserCollation());
  auto t2 = Clock::now();

  // The straightforward design: a hidden sorted combo box (the cut in place is left out,
  // which only favours it).
  HWND combo = CreateWindowExW(0, L"COMBOBOX", L"", WS_POPUP | CBS_DROPDOWN | CBS_SORT | CBS_HASSTRINGS, 0, 0, 100,
                               100, nullptr, nullptr, GetModuleHandleW(nullptr), nullptr);
  if (!combo) {
    std::printf("no combo box (is there a display?)\n");
    return 1;
  }
  auto t3 = Clock::now();
  std::vector<std::u16string> files2 = ListFileNames(folder);
  SendMessageW(combo, CB_INITSTORAGE, files2.size(), files2.size() * 40);
  for (const auto& f : files2) SendMessageW(combo, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(W(f)));
  auto t4 = Clock::now();

  // Keystrokes: every prefix of a sample of names, as typed one character at a time.
  std::mt19937 rng(7);
  std::vector<std::u16string> queries;
  while (queries.size() < 2000 && list.Size() > 0) {
    const auto& n = list.Item(rng() % list.Size());
    for (std::size_t k = 1; k <= n.size() && queries.size() < 2000; ++k) queries.push_back(n.substr(0, k));
  }
  queries.push_back(u"zzz-no-such-name");
  std::vector<int> ours(queries.size()), theirs(queries.size());
  auto t5 = Clock::now();
  for (std::size_t q = 0; q < queries.size(); ++q) ours[q] = list.FindFirst(queries[q]);
  auto t6 = Clock::now();
  for (std::size_t q = 0; q < queries.size(); ++q) theirs[q] = mAPIDec::FindListEntry(combo, queries[q], false);
  auto t7 = Clock::now();

  std::size_t mismatches = 0;
  for (std::size_t q = 0; q < queries.size(); ++q)
    if (ours[q] != theirs[q]) ++mismatches;

  const double n = static_cast<double>(queries.size());
  std::printf("files listed: %zu, list items: %zu, combo items: %d\n", files.size(), list.Size(),
              static_cast<int>(SendMessageW(combo, CB_GETCOUNT, 0, 0)));
  std::printf("list build   ours: listing %.0f ms + sort and index %.0f ms = %.0f ms\n", Ms(t1 - t0), Ms(t2 - t1),
              Ms(t2 - t0));
  std::printf("list build  combo: listing + CB_ADDSTRING = %.0f ms\n", Ms(t4 - t3));
  std::printf("keystroke    ours: %.4f ms each (%zu keystrokes)\n", Ms(t6 - t5) / n, queries.size());
  std::printf("keystroke   combo: %.4f ms each (CB_FINDSTRING)\n", Ms(t7 - t6) / n);
  std::printf("answers that differ: %zu of %zu\n", mismatches, queries.size());

  DestroyWindow(combo);
  if (created) {
    for (const auto& f : files) DeleteFileW(W(folder + u"\\" + f));
    RemoveDirectoryW(W(folder));
  }
  return mismatches == 0 ? 0 : 2;
}
