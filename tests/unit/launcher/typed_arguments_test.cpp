#include <gtest/gtest.h>

#include <map>

#include "launcher_sequences.h"
#include "text_encoding.h"

namespace tav {
namespace {

using namespace std::string_literals;

struct Steps final : CommandSteps, ProcessStart {
  std::map<std::u16string, std::string> files;
  std::vector<std::u16string> read, started;
  std::optional<std::string> ReadCommandFile(const std::u16string& name) override {
    read.push_back(name);
    auto it = files.find(name);
    return it == files.end() ? std::nullopt : std::optional<std::string>(it->second);
  }
  std::u16string EnvironmentBlock() override { return u"TAV_W=C:\\W\0SystemRoot=C:\\Windows\0"s; }
  std::u16string ClipboardText() override { return u"{arg}"; }
  void ClearInput() override {}
  void FocusWindow() override {}
  bool ActivateDesktop() override { return true; }
  void AwaitDesktop() override {}
  void DisableTimer() override {}
  void SendAltEsc() override {}
  void HideWindow() override {}
  void AllowForeground() override {}
  unsigned long StartDirectly(const std::u16string& cl) override { return started.push_back(cl), 0; }
  bool NamesProgramFile(const std::u16string&) override { return false; }
  unsigned long StartThroughShell(const std::u16string&, const std::u16string&, StartAs) override { return 0; }
  void ShowStartFailure(const std::u16string&, unsigned long) override {}
  void ShowCannotRun(const std::u16string&, const std::u16string&) override {}
};

// Whatever is typed after the "/" (a command interpreter's operators, variables, quotes, line
// ends) is appended as it stands after the stored line and one space: the program started is the
// one stored in the command file, and nothing puts an interpreter in front of it. Only the stored
// line has its environment variables expanded.
TEST(TypedArguments, StayArgumentsOfTheStoredProgram) {
  struct Case {
    std::u16string typed;
    std::u16string started;
    bool lookedUp = true;  // false: the name could be no file directly in texts\, so no file is read
  };
  const Case cases[] = {
      {u"memo/a.txt & del /q *", u"\"C:\\W\\notepad.exe\" a.txt & del /q *"},
      {u"memo/| calc", u"\"C:\\W\\notepad.exe\" | calc"},
      {u"memo/\" & calc & \"", u"\"C:\\W\\notepad.exe\" \" & calc & \""},
      {u"memo/%SystemRoot%\\system32\\cmd.exe /c calc", u"\"C:\\W\\notepad.exe\" %SystemRoot%\\system32\\cmd.exe /c calc"},
      {u"memo/^&calc", u"\"C:\\W\\notepad.exe\" ^&calc"},
      {u"memo/a\r\ncalc.exe", u"\"C:\\W\\notepad.exe\" a\r\ncalc.exe"},
      {u"memo/`calc` $(calc)", u"\"C:\\W\\notepad.exe\" `calc` $(calc)"},
      {u"memo&calc/x", u""},  // no command file of that name: nothing starts
      {u"memo & calc", u""},
      {u"memo/..\\settings\\tavimbra", u"\"C:\\W\\notepad.exe\" ..\\settings\\tavimbra"},  // arguments may hold paths
      {u"memo ./x", u""},  // the file "memo ..txt": inside texts\, just not there
      {u"...", u""},
      // Names that lead out of texts\ are not looked up, even where such a file exists.
      {u"..\\settings\\tavimbra", u"", false},
      {u"..\\settings\\tavimbra/x", u"", false},
      {u"sub\\memo", u"", false},
      {u"C:\\Windows\\win", u"", false},
      {u"C:memo", u"", false},
      {u"\\\\server\\share\\memo", u"", false},
      {u"\\\\?\\C:\\memo", u"", false},
      {u"memo:stream", u"", false},
      {u"memo::$DATA/x", u"", false},
      {u"CON", u"", false},
      {u"com1", u"", false},
      {u"nul /x", u"", false},
      {u"memo\t", u"", false},
      {u"mem?", u"", false},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Steps s;
    s.files[u"memo"] = "\"%TAV_W%\\notepad.exe\"\r\n";
    const std::u16string name = cases[i].typed.substr(0, cases[i].typed.find(u'/'));
    if (!cases[i].lookedUp) s.files[name] = "calc.exe\r\n";  // what such a name would reach
    EXPECT_EQ(RunCommand(cases[i].typed, s, s), !cases[i].started.empty()) << "case " << i;
    if (cases[i].lookedUp) {
      ASSERT_EQ(s.read.size(), 1u) << "case " << i;
      EXPECT_EQ(s.read[0], name) << "case " << i;
    } else {
      EXPECT_TRUE(s.read.empty()) << "case " << i;
    }
    if (cases[i].started.empty()) {
      EXPECT_TRUE(s.started.empty()) << "case " << i;
    } else {
      ASSERT_EQ(s.started.size(), 1u) << "case " << i;
      EXPECT_EQ(ToUtf8(s.started[0]), ToUtf8(cases[i].started)) << "case " << i;
    }
  }
}

}  // namespace
}  // namespace tav
