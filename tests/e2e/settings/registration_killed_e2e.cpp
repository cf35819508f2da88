// Tavimset killed at varied instants while it replaces a command file: texts\ holds the old file
// or the new one, whole, and no other file (the launcher lists every file there); what the killed
// saves left in their own folder goes later.
// TAV_KILL_ROUNDS sets the number of kills (default 30; the long run takes 300).
#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "dialogs_helpers.h"
#include "driver.h"
#include "registration_controls.h"
#include "temp_dir.h"
#include "text_encoding.h"

namespace tav::e2e {
namespace {

using enum settings::RegistrationId;

int KillRounds() {
  const char* v = std::getenv("TAV_KILL_ROUNDS");
  int n = v ? std::atoi(v) : 0;
  return n > 0 ? n : 30;
}

bool IsTemporary(const std::wstring& name) { return name.rfind(L"tavimset-new", 0) == 0 && name.size() > 16; }

std::vector<std::wstring> Names(const fs::path& folder, bool filesOnly = false) {
  std::vector<std::wstring> names;
  if (!fs::is_directory(folder)) return names;
  for (const auto& e : fs::directory_iterator(folder))
    if (!filesOnly || !e.is_directory()) names.push_back(e.path().filename().wstring());
  return names;
}

unsigned long long Now() {
  FILETIME t;
  GetSystemTimeAsFileTime(&t);
  return static_cast<unsigned long long>(t.dwHighDateTime) << 32 | t.dwLowDateTime;
}

// A file of folder written at or after since (a later save reuses the names of the temporary
// files it removed as stale, so a name alone does not tell).
bool WrittenSince(const fs::path& folder, unsigned long long since) {
  for (const std::wstring& n : Names(folder)) {
    WIN32_FILE_ATTRIBUTE_DATA a{};
    if (GetFileAttributesExW((folder / n).c_str(), GetFileExInfoStandard, &a) &&
        (static_cast<unsigned long long>(a.ftLastWriteTime.dwHighDateTime) << 32 | a.ftLastWriteTime.dwLowDateTime) >= since)
      return true;
  }
  return false;
}

double Microseconds(LARGE_INTEGER from, LARGE_INTEGER to) {
  LARGE_INTEGER f;
  QueryPerformanceFrequency(&f);
  return static_cast<double>(to.QuadPart - from.QuadPart) * 1e6 / static_cast<double>(f.QuadPart);
}

// One registration of memo with a line that is long enough for the write to take a while. The
// replace question is answered with Yes; kill (microseconds after the instant from, < 0: never)
// stops the program there. Returns the microseconds from the answer to the confirmation (0 if
// killed, -1 if the instant never came); an undisturbed save also gives when its temporary file
// was first seen and when the command file changed (0: not seen).
// kHeldWritten: memo.txt is kept open meanwhile, as a virus scanner would, so the save cannot move
// its temporary file over it and retries for a while: the kill comes after the temporary file was
// first seen, certainly between its writing and the move. kMoved: after memo.txt changed.
struct SaveSeen {
  double write = 0, moved = 0;
};
enum class From { kAnswer, kHeldWritten, kMoved };
double RegisterOnce(Installation& inst, const std::wstring& program, double killAfter, SaveSeen* seen = nullptr,
                    From from = From::kAnswer) {
  const bool held = from == From::kHeldWritten;
  Process p = inst.Start(L"Tavimset.exe");
  HWND form = WaitForTopWindow(p.Id(), settings::kForm1Class, true);
  if (!form) return -1;
  SetControlText(form, Text9, L"memo");
  SetControlText(form, Text10, program);
  SetControlText(form, Text11, L"");
  for (int quote : {Check4, Check5}) SendMessageW(GetDlgItem(form, quote), BM_SETCHECK, BST_UNCHECKED, 0);
  ClickButton(form, Command4);
  HWND question = WaitForMessageBox(p.Id());
  if (!question || !HasButton(question, IDYES)) return -1;
  const fs::path tempFolder = inst.Texts() / "tavimset-temp", target = inst.Texts() / "memo.txt";
  HANDLE hold = INVALID_HANDLE_VALUE;
  if (held) {
    // Readers and writers welcome; no one may delete or replace it.
    hold = CreateFileW(target.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING, 0,
                       nullptr);
    if (hold == INVALID_HANDLE_VALUE) return -1;
  }
  auto stamp = [&] {
    WIN32_FILE_ATTRIBUTE_DATA a{};
    GetFileAttributesExW(target.c_str(), GetFileExInfoStandard, &a);
    return (static_cast<unsigned long long>(a.ftLastWriteTime.dwHighDateTime) << 32 | a.ftLastWriteTime.dwLowDateTime) ^
           a.nFileSizeLow;
  };
  const unsigned long long before = stamp();
  LARGE_INTEGER start, now;
  QueryPerformanceCounter(&start);
  const unsigned long long answered = Now();
  PostMessageW(question, WM_COMMAND, MAKEWPARAM(IDYES, BN_CLICKED), reinterpret_cast<LPARAM>(GetDlgItem(question, IDYES)));
  if (from != From::kAnswer) {
    bool came = false;
    for (const DWORD deadline = GetTickCount() + 10000; !came && GetTickCount() < deadline;)
      came = held ? WrittenSince(tempFolder, answered) : stamp() != before;
    QueryPerformanceCounter(&start);
    if (came) {
      do QueryPerformanceCounter(&now);
      while (Microseconds(start, now) < killAfter);
    }
    p.Kill();
    if (held) CloseHandle(hold);
    return came ? 0 : -1;
  }
  if (killAfter >= 0) {
    do QueryPerformanceCounter(&now);
    while (Microseconds(start, now) < killAfter);
    p.Kill();
    return 0;
  }
  // Polled tightly: the span measured bounds the kill instants.
  HWND done = nullptr;
  const DWORD deadline = GetTickCount() + 10000;
  while (!done && GetTickCount() < deadline) {
    if (seen) {
      QueryPerformanceCounter(&now);
      std::error_code e;
      if (!seen->write && fs::directory_iterator(tempFolder, e) != fs::directory_iterator()) seen->write = Microseconds(start, now);
      if (!seen->moved && stamp() != before) seen->moved = Microseconds(start, now);
    }
    HWND b = FindMessageBox(p.Id());
    if (b && b != question) done = b;
    else if (!seen) Sleep(1);
  }
  QueryPerformanceCounter(&now);
  if (!done || MessageBoxText(done).find(L"コマンドが登録されました") == std::wstring::npos) return -1;
  AnswerMessageBox(done, IDOK);
  PostMessageW(form, WM_CLOSE, 0, 0);
  p.Wait();
  return Microseconds(start, now);
}

TEST(RegistrationKilled, TextsHoldsTheOldOrTheNewFileWhereverTheSaveStops) {
  Installation inst;
  const std::string padding(20000, 'p');
  auto line = [&](int round) { return "new" + std::to_string(round) + "-" + padding + ".exe "; };
  inst.WriteRaw(L"texts\\memo.txt", line(-1) + "\r\n");

  // One save that runs to its end gives the span of the kill instants.
  SaveSeen seen;
  const double saveTime =
      RegisterOnce(inst, std::wstring(L"new0-") + std::wstring(padding.begin(), padding.end()) + L".exe", -1, &seen);
  ASSERT_GT(saveTime, 0) << "the undisturbed save did not confirm";
  std::string current = inst.ReadRaw(L"texts\\memo.txt");
  ASSERT_TRUE(current == line(0) + "\r\n") << current.size() << " bytes: " << current.substr(0, 40);

  const int rounds = KillRounds();
  // Each kill lands before the write (old file, nothing left), inside it (old file, and the
  // temporary file it was writing left in its folder) or after the move (new file).
  int keptOld = 0, insideWrite = 0, tookNew = 0;
  std::vector<std::wstring> temporaries;  // left by the kills so far (later saves remove old ones)
  const std::vector<std::wstring> layout = Names(inst.Root());
  const fs::path tempFolder = inst.Texts() / "tavimset-temp";
  // The write lasts a few milliseconds of the save, and a kill aimed at it may land elsewhere: the
  // last rounds hold memo.txt open, so the save waits with its temporary file written and the
  // kill meets it there for certain (at once, and later while the move is refused).
  const double heldKills[] = {0, 200000, 800000};
  const int total = rounds + static_cast<int>(std::size(heldKills));
  int round = 1, heldInside = 0;
  for (; round <= total; ++round) {
    const bool held = round > rounds;
    // Half the kills around the write and the move as the undisturbed save showed them (a few
    // milliseconds either side: the kill and the polls take time to land), a quarter before, the
    // rest once memo.txt changed, up to the confirmation: those come after the move however slow
    // this save is. Without that sighting: denser early on.
    const double share = static_cast<double>((round - 1) % rounds) / rounds;
    double killAfter = saveTime * share * share;
    From from = From::kAnswer;
    if (share >= 0.75) {
      from = From::kMoved;
      killAfter = (saveTime - std::min(saveTime, seen.moved)) * (share - 0.75) / 0.25;
    } else if (seen.moved > 0) {
      const double lo = std::max(0.0, (seen.write > 0 ? seen.write : seen.moved) - 3000);
      const double hi = std::min(saveTime, seen.moved + 3000);
      killAfter = share < 0.25 ? lo * share / 0.25 : lo + (hi - lo) * (share - 0.25) / 0.5;
    }
    const std::string next = line(round) + "\r\n";
    const std::wstring program = L"new" + std::to_wstring(round) + L"-" + std::wstring(padding.begin(), padding.end()) + L".exe";
    if (held) killAfter = heldKills[round - rounds - 1], from = From::kHeldWritten;
    const unsigned long long roundStart = Now();
    ASSERT_EQ(RegisterOnce(inst, program, killAfter, nullptr, from), 0)
        << "round " << round << (held ? ": no question to answer, or no temporary file while memo.txt was held"
                                      : ": no question to answer, or no move seen");
    EXPECT_EQ(Names(inst.Texts(), true), std::vector<std::wstring>{L"memo.txt"}) << "round " << round;
    const std::string now = inst.ReadRaw(L"texts\\memo.txt");
    for (const std::wstring& n : Names(inst.Root()))
      EXPECT_NE(std::find(layout.begin(), layout.end(), n), layout.end()) << "round " << round << ": " << ToUtf8(U(n.c_str()));
    bool newTemporary = WrittenSince(tempFolder, roundStart);
    std::vector<std::wstring> nowTemporaries;
    for (const std::wstring& n : Names(tempFolder)) {
      EXPECT_TRUE(IsTemporary(n)) << "round " << round << ": " << ToUtf8(U(n.c_str()));
      nowTemporaries.push_back(n);
      newTemporary |= std::find(temporaries.begin(), temporaries.end(), n) == temporaries.end();
    }
    if (held) {
      EXPECT_TRUE(now == current && newTemporary) << "round " << round << ": killed while the save waited to move";
      heldInside += now == current && newTemporary;
    }
    if (now == current) {
      ++(newTemporary ? insideWrite : keptOld);
    } else {
      EXPECT_FALSE(newTemporary) << "round " << round << ": the moved file stays behind as well";
      EXPECT_EQ(now.size(), next.size()) << "round " << round << ": neither the old line nor the new one, whole";
      EXPECT_TRUE(now == next) << "round " << round;
      ++tookNew;
    }
    current = now;
    temporaries = nowTemporaries;
  }
  std::printf("[ kills ] %d rounds after a %.0f us save (temporary file seen at %.0f us, moved at %.0f us): %d before the write, %d inside it "
              "(%d of them held), %d after the move; %d temporary files left\n",
              round - 1, saveTime, seen.write, seen.moved, keptOld, insideWrite, heldInside, tookNew,
              static_cast<int>(temporaries.size()));
  // Kills that never met the write would show nothing of what the replacement guards against.
  EXPECT_EQ(heldInside, static_cast<int>(std::size(heldKills))) << "a held save was not killed between its write and its move";
  EXPECT_GT(keptOld + insideWrite - heldInside, 0) << "every unheld kill came after the move";
  EXPECT_GT(tookNew, 0) << "no kill came after the move";

  // Later (an hour, as if after a restart): the next save removes what the killed ones left.
  for (const std::wstring& n : Names(tempFolder)) test::Age(tempFolder / n, 3600);
  ASSERT_GT(RegisterOnce(inst, L"final.exe", -1), 0);
  EXPECT_EQ(inst.ReadRaw(L"texts\\memo.txt"), "final.exe \r\n");
  EXPECT_EQ(Names(inst.Texts()), std::vector<std::wstring>{L"memo.txt"}) << "the temporary files and their folder are gone";
}

}  // namespace
}  // namespace tav::e2e
