// Every example line of the README's command tables, in both languages, runs as written: each
// program a line names is a probe here, where the line names it (the installation folder, which
// Windows searches first, or below user folders pointed at a temporary one), and the probe
// records the command line that reached it.
#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <tuple>
#include <vector>

#include "driver.h"
#include "launcher/running_launcher.h"
#include "temp_dir.h"
#include "text_encoding.h"

namespace tav::e2e {
namespace {

struct Example {
  std::wstring file, line, typed, runs;  // runs: the exact command line when the README gives one
  bool operator<(const Example& o) const { return std::tie(file, line, typed) < std::tie(o.file, o.line, o.typed); }
};

std::wstring Code(const std::wstring& cell) {
  return cell.size() > 1 && cell.front() == L'`' && cell.back() == L'`' ? cell.substr(1, cell.size() - 2) : L"";
}

// The rows of every table headed "file | line | typing | runs" (or its Japanese heading).
std::set<Example> ReadmeExamples() {
  std::stringstream bytes;
  bytes << std::ifstream(DistFolder().parent_path().parent_path() / "README.md", std::ios::binary).rdbuf();
  const std::u16string text = FromUtf8(bytes.str());
  std::wstringstream lines(std::wstring(text.begin(), text.end()));
  std::set<Example> examples;
  bool inTable = false;
  for (std::wstring row; std::getline(lines, row);) {
    std::vector<std::wstring> c;
    for (std::size_t at = 1, bar; row[0] == L'|' && (bar = row.find(L" |", at)) != std::wstring::npos; at = bar + 2)
      c.push_back(row.substr(row.find_first_not_of(L' ', at), bar - row.find_first_not_of(L' ', at)));
    if (c.size() == 4 && ((c[0] == L"file" && c[3] == L"runs") || (c[0] == L"ファイル" && c[3] == L"実行されるもの")))
      inTable = true;
    else if (c.size() == 4 && inTable)
      examples.insert({Code(c[0]), Code(c[1]), Code(c[2]), Code(c[3])});
    else
      inTable = inTable && row.rfind(L"|-", 0) == 0;  // the line under the heading
  }
  return examples;
}

// A variable of this process (and so of the launcher it starts) for the test's length.
struct ProcessVariable {
  const wchar_t* name;
  wchar_t old[MAX_PATH] = {};
  ProcessVariable(const wchar_t* n, const fs::path& value) : name(n) {
    GetEnvironmentVariableW(n, old, MAX_PATH);
    SetEnvironmentVariableW(n, value.c_str());
  }
  ~ProcessVariable() { SetEnvironmentVariableW(name, old); }
};

std::wstring Expanded(const std::wstring& line) {
  wchar_t out[4096];
  return ExpandEnvironmentStringsW(line.c_str(), out, 4096) ? out : L"";
}

// The program part of a line as the platform finds it: what the quotes hold, or the first word.
std::wstring ProgramOf(const std::wstring& line) {
  return line[0] == L'"' ? line.substr(1, line.find(L'"', 1) - 1) : line.substr(0, line.find(L' '));
}

// The probe where the line's program is; fails when the line names no program to stand in for.
::testing::AssertionResult PlaceProbe(const std::wstring& line, const fs::path& installation, const fs::path& users) {
  const fs::path program = Expanded(ProgramOf(line));
  if (lstrcmpiW(program.extension().c_str(), L".exe") != 0 ||
      (program.is_absolute() && program.wstring().rfind(users.wstring(), 0) != 0))
    return ::testing::AssertionFailure() << "no program to stand in for: " << program.string();
  const fs::path at = program.is_absolute() ? program : installation / program;
  fs::create_directories(at.parent_path());
  std::error_code ec;
  fs::copy_file(ProbeExe(), at, fs::copy_options::overwrite_existing, ec);
  return ec ? ::testing::AssertionFailure() << "cannot copy the probe to " << at.string() : ::testing::AssertionSuccess();
}

TEST(ReadmeExamples, EveryExampleLineRunsAsWritten) {
  const std::set<Example> examples = ReadmeExamples();
  ASSERT_GE(examples.size(), 6u) << "the README's example tables were not found";
  Installation inst;
  test::TempDir users;
  ProcessVariable profile(L"USERPROFILE", users.path() / L"user");
  ProcessVariable local(L"LOCALAPPDATA", users.path() / L"user" / L"AppData" / L"Local");
  for (const Example& e : examples) {
    ASSERT_TRUE(PlaceProbe(e.line, inst.Root(), users.path())) << ToUtf8(U(e.line.c_str()));
    inst.WriteCommand(e.file.substr(0, e.file.size() - 4), e.line);
  }
  RunningLauncher l(inst);
  ASSERT_TRUE(l.started);
  std::size_t runs = 0;
  for (const Example& e : examples) {
    const std::string what = ToUtf8(U((e.file + L": " + e.typed).c_str()));
    ASSERT_TRUE(l.Summon()) << what;
    TypeText(e.typed);
    SendKey(VK_RETURN);
    ASSERT_TRUE(inst.WaitForProbe(++runs)) << what << ": nothing started";
    // The exact line where the README gives it; else the line's own program, as written.
    const std::wstring started = inst.ProbeLog().back().commandLine;
    const std::wstring program = (e.line[0] == L'"' ? L"\"" : L"") + Expanded(ProgramOf(e.line));
    if (!e.runs.empty())
      EXPECT_EQ(started, e.runs) << what;
    else
      EXPECT_EQ(started.rfind(program, 0), 0u) << what << ": " << ToUtf8(U(started.c_str()));
    EXPECT_TRUE(l.WaitHidden()) << what;
  }
}

}  // namespace
}  // namespace tav::e2e
