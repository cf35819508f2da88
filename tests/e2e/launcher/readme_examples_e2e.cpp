// Every example line of the README's command-file tables, in both languages, runs as written:
// each program a line names is a probe here, at the place the line names it (the installation
// folder, which Windows searches first, or below a user folder pointed at a temporary one), and
// the probe records the command line that reached it.
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
  if (cell.size() < 2 || cell.front() != L'`' || cell.back() != L'`') return L"";
  return cell.substr(1, cell.size() - 2);
}

// The rows of every table headed "file | line | typing | runs" (or its Japanese heading).
std::set<Example> ReadmeExamples() {
  std::ifstream f(DistFolder().parent_path().parent_path() / "README.md", std::ios::binary);
  std::stringstream text;
  text << f.rdbuf();
  const std::u16string readme = FromUtf8(text.str());
  std::wstringstream lines(std::wstring(readme.begin(), readme.end()));
  std::set<Example> examples;
  bool inTable = false;
  for (std::wstring row; std::getline(lines, row);) {
    std::vector<std::wstring> cells;
    for (std::size_t at = 1, bar; row.rfind(L"|", 0) == 0 && (bar = row.find(L" |", at)) != std::wstring::npos; at = bar + 2) {
      std::wstring cell = row.substr(at, bar - at);
      cells.push_back(cell.substr(cell.find_first_not_of(L' ')));
    }
    if (cells == std::vector<std::wstring>{L"file", L"line", L"typing", L"runs"} ||
        cells == std::vector<std::wstring>{L"ファイル", L"内容", L"入力", L"実行されるもの"}) {
      inTable = true;
    } else if (cells.size() != 4) {
      inTable = inTable && row.rfind(L"|-", 0) == 0;  // the line under the heading
    } else if (inTable && !Code(cells[0]).empty()) {
      examples.insert({Code(cells[0]), Code(cells[1]), Code(cells[2]), Code(cells[3])});
    }
  }
  return examples;
}

struct ProcessVariable {
  const wchar_t* name;
  ProcessVariable(const wchar_t* n, const std::wstring& value) : name(n) { SetEnvironmentVariableW(n, value.c_str()); }
  ~ProcessVariable() { SetEnvironmentVariableW(name, nullptr); }
};

std::wstring Expanded(const std::wstring& line) {
  wchar_t out[4096];
  return ExpandEnvironmentStringsW(line.c_str(), out, 4096) ? out : L"";
}

// Puts the probe where the line's program is; false (with the reason) when the line names no
// program the test can stand in for.
::testing::AssertionResult PlaceProbe(const std::wstring& line, const fs::path& installation, const fs::path& users) {
  std::wstring program = line[0] == L'"' ? line.substr(1, line.find(L'"', 1) - 1) : line.substr(0, line.find(L' '));
  program = Expanded(program);
  if (program.size() < 4 || lstrcmpiW(program.c_str() + program.size() - 4, L".exe") != 0)
    return ::testing::AssertionFailure() << "no program: " << ToUtf8(U(program.c_str()));
  fs::path at = fs::path(program).is_absolute() ? fs::path(program) : installation / program;
  if (fs::path(program).is_absolute() && program.rfind(users.wstring(), 0) != 0)
    return ::testing::AssertionFailure() << "outside the test's folders: " << ToUtf8(U(program.c_str()));
  fs::create_directories(at.parent_path());
  std::error_code ec;
  fs::copy_file(ProbeExe(), at, fs::copy_options::overwrite_existing, ec);
  if (ec) return ::testing::AssertionFailure() << "cannot copy the probe to " << at.string();
  return ::testing::AssertionSuccess();
}

TEST(ReadmeExamples, EveryExampleLineRunsAsWritten) {
  const std::set<Example> examples = ReadmeExamples();
  ASSERT_GE(examples.size(), 6u) << "the README's example tables were not found";
  Installation inst;
  test::TempDir users;
  ProcessVariable profile(L"USERPROFILE", (users.path() / L"user").wstring());
  ProcessVariable local(L"LOCALAPPDATA", (users.path() / L"user" / L"AppData" / L"Local").wstring());
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
    const std::size_t slash = e.typed.find(L'/');
    const std::wstring expected =
        !e.runs.empty() ? e.runs : Expanded(e.line) + (slash == std::wstring::npos ? L"" : L" " + e.typed.substr(slash + 1));
    EXPECT_EQ(inst.ProbeLog().back().commandLine, expected) << what;
    EXPECT_TRUE(l.WaitHidden()) << what;
  }
}

}  // namespace
}  // namespace tav::e2e
