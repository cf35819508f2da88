#include "launcher_sequences.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <map>

#include "readme_examples.h"
#include "text_encoding.h"

namespace tav {
namespace {

using Log = std::vector<std::string>;
using namespace std::string_literals;

// The start itself records the line as it would be started: directly, or as administrator
// through the shell (program and parameters joined again).
struct Recorder final : StartupSteps, CommandSteps, ExitSteps, ProcessStart {
  Settings settings;
  bool anotherCopy = false, desktop = true;
  std::map<std::u16string, std::string> files;  // command name -> bytes
  std::u16string environment{u"T=tee\0", 6};
  Log log;

  void Add(const std::string& s) { log.push_back(s); }
  // The entries that begin with prefix, without it.
  Log Logged(const std::string& prefix) const {
    Log found;
    for (const std::string& s : log)
      if (s.rfind(prefix, 0) == 0) found.push_back(s.substr(prefix.size()));
    return found;
  }
  Settings ReadSettings() override { return Add("read"), settings; }
  void ApplySetup(const LauncherSetup&) override { Add("setup"); }
  void LoadCommandList() override { Add("list"); }
  void LoadSkin() override { Add("skin"); }
  bool AnotherCopyRunning() override { return Add("check"), anotherCopy; }
  void ShowAlreadyRunning() override { Add("message"); }
  void FillTrayData() override { Add("tray data"); }
  void HideWindow() override { Add("hide"); }
  void AddTrayIcon() override { Add("icon"); }
  void AddHotkeys(Hotkey a, Hotkey b) override {
    Add("hotkeys " + std::to_string(a.modifiers) + "+" + std::to_string(a.key) + " " + std::to_string(b.modifiers) +
        "+" + std::to_string(b.key));
  }
  void HookWindow() override { Add("hook"); }
  std::optional<std::string> ReadCommandFile(const std::u16string& name) override {
    Add("read " + ToUtf8(name));
    auto it = files.find(name);
    return it == files.end() ? std::nullopt : std::optional<std::string>(it->second);
  }
  std::u16string EnvironmentBlock() override { return environment; }
  std::u16string ClipboardText() override { return u"{arg:url} %T%"; }
  void ClearInput() override { Add("clear"); }
  void FocusWindow() override { Add("focus"); }
  bool ActivateDesktop() override { return Add("desktop"), desktop; }
  void AwaitDesktop() override { Add("await desktop"); }
  void DisableTimer() override { Add("timer off"); }
  void SendAltEsc() override { Add("alt+esc"); }
  void AllowForeground() override { Add("allow foreground"); }
  unsigned long StartDirectly(const std::u16string& cl) override { return Add("start " + ToUtf8(cl)), 0; }
  bool NamesProgramFile(const std::u16string&) override { return false; }
  unsigned long StartThroughShell(const std::u16string& program, const std::u16string& parameters,
                                  StartAs as) override {
    Add(std::string(as == StartAs::administrator ? "start as administrator " : "start ") + ToUtf8(program) +
        (parameters.empty() ? "" : " " + ToUtf8(parameters)));
    return 0;
  }
  void ShowStartFailure(const std::u16string&, unsigned long error) override { Add("failure " + std::to_string(error)); }
  void ShowCannotRun(const std::u16string& cl, const std::u16string&) override {
    Add("cannot run " + std::to_string(cl.size()));
  }
  void UnregisterHotkeys() override { Add("unregister"); }
  void DeleteAtoms() override { Add("atoms"); }
  void UnhookWindow() override { Add("unhook"); }
  void RemoveTrayIcon() override { Add("remove icon"); }
  void DestroyForm() override { Add("destroy"); }
};

TEST(Startup, StepsInTheirOrder) {
  // Mod2=0 with W, a key that types: Alt.
  const Log tail = {"tray data", "hide", "icon", "hotkeys 6+65 1+87", "hook"};
  struct Case {
    int useSkin;
    bool anotherCopy;
    Log expected;
  } cases[] = {
      {1, false, {"read", "setup", "list", "skin", "check"}},
      {2, false, {"read", "setup", "list", "check"}},  // skin only for exactly 1
      {1, true, {"read", "setup", "list", "skin", "check", "message"}},  // a second copy stops here
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Recorder r;
    r.settings.key1 = 65;
    r.settings.mod1 = kModControl | kModShift;
    r.settings.mod2 = 0;
    r.settings.useSkin = cases[i].useSkin;
    r.anotherCopy = cases[i].anotherCopy;
    Log expected = cases[i].expected;
    if (!cases[i].anotherCopy) expected.insert(expected.end(), tail.begin(), tail.end());
    EXPECT_EQ(RunStartup(r).has_value(), !cases[i].anotherCopy) << "case " << i;
    EXPECT_EQ(r.log, expected) << "case " << i;
  }
}

TEST(RunCommand, StepsInTheirOrderAndNothingWithoutAFile) {
  // Never waits for the desktop window: the started program takes the foreground anyway.
  const Log hidden = {"clear", "desktop", "timer off", "hide"};
  constexpr StartAs admin = StartAs::administrator;
  struct Case {
    const char16_t* typed;
    bool desktop;
    bool found;
    Log tail;  // after the read, and after hiding when found
    StartAs as = StartAs::usual;
  } cases[] = {
      {u"memo", true, true, {"allow foreground", "start notepad.exe"}},
      // Ctrl+Shift+Enter: the same steps, the same line.
      {u"memo/C:\a.txt", true, true, {"allow foreground", "start as administrator notepad.exe C:\a.txt"}, admin},
      {u"memo", false, true, {"allow foreground", "start as administrator notepad.exe"}, admin},
      {u"empty", true, true, {}, admin},
      {u"zzz", true, false, {}, admin},
      {u"memo/C:\\a.txt", true, true, {"allow foreground", "start notepad.exe C:\\a.txt"}},
      {u"memo", false, true, {"allow foreground", "start notepad.exe"}},  // no desktop window: still hides and starts
      {u"empty", true, true, {}},  // an empty command line: hidden, nothing started, no foreground right
      {u"zzz", true, false, {}},   // no command file: nothing at all
      {u"zzz/memo", true, false, {}},
      // Tokens take the argument in place, after %VAR% expansion; what they put in stays as it is.
      {u"search/京都 天気", true, true,
       {"allow foreground", "start web.exe https://x.test/?q=%E4%BA%AC%E9%83%BD%20%E5%A4%A9%E6%B0%97&t=tee"}},
      {u"clip/%T% {arg}", true, true, {"allow foreground", "start echo.exe tee {arg:url} %T% [%T% {arg}]"}},
      {u"clip", true, true, {"allow foreground", "start echo.exe tee {arg:url} %T% []"}},
      // A line the platform could not be handed whole is refused, in either way of starting.
      {u"long", true, true, {"allow foreground", "cannot run 32768"}},
      {u"long", true, true, {"allow foreground", "cannot run 32768"}, admin},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Recorder r;
    r.files = {{u"memo", "ignored\r\nnotepad.exe\r\n"},
               {u"empty", ""},
               {u"search", "web.exe https://x.test/?q={arg:url}&t=%T%"},
               {u"clip", "echo.exe %T% {clipboard} [{arg}]"},
               {u"long", std::string(32768, 'x')}};
    r.desktop = cases[i].desktop;
    EXPECT_EQ(RunCommand(cases[i].typed, r, r, cases[i].as), cases[i].found) << "case " << i;
    const std::u16string typed = cases[i].typed;
    Log expected = {"read " + ToUtf8(typed.substr(0, typed.find(u'/')))};
    if (cases[i].found) expected.insert(expected.end(), hidden.begin(), hidden.end());
    expected.insert(expected.end(), cases[i].tail.begin(), cases[i].tail.end());
    EXPECT_EQ(r.log, expected) << "case " << i;
  }
}

TEST(Exit, HotkeysAtomsHookThenTheIcon) {
  Recorder r;
  RunExit(r);
  EXPECT_EQ(r.log, (Log{"unregister", "atoms", "unhook", "remove icon", "destroy"}));
}

TEST(Lifetime, ACloseIsServedOnceAndOnlyAfterStartUp) {
  // c: a close request, s: start-up finished; '1' where the exit sequence runs.
  struct Case {
    const char* events;
    const char* runs;
  } cases[] = {
      {"sc", "01"},   {"scc", "010"}, {"cs", "01"},  // a close during start-up waits for its end
      {"ccs", "001"}, {"c", "0"},     {"cc", "00"},  // a second copy never finishes start-up
      {"scsc", "0100"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Lifetime life;
    std::string runs;
    for (const char* e = cases[i].events; *e; ++e)
      runs += (*e == 'c' ? life.CloseRequested() : life.Started()) ? '1' : '0';
    EXPECT_EQ(runs, cases[i].runs) << "case " << i << " " << cases[i].events;
  }
}

TEST(Dismiss, AltEscOnlyAfterTheDesktopWindow) {
  for (bool desktop : {true, false}) {
    Recorder r;
    r.desktop = desktop;
    Dismiss(r);
    Log expected = {"clear", "focus", "timer off", "desktop", "await desktop", "alt+esc", "hide"};
    if (!desktop) expected.erase(expected.begin() + 4, expected.begin() + 6);
    EXPECT_EQ(r.log, expected) << "desktop " << desktop;
  }
}

// The platform's answers as a table: what the direct start and the shell answer, and which files
// exist for the search of an unquoted program name.
struct FakeStart final : ProcessStart {
  unsigned long direct = 0, shell = 0;
  std::vector<std::u16string> files;
  Log log;
  unsigned long StartDirectly(const std::u16string& cl) override {
    log.push_back("direct " + ToUtf8(cl));
    return direct;
  }
  bool NamesProgramFile(const std::u16string& path) override {
    return std::find(files.begin(), files.end(), path) != files.end();
  }
  unsigned long StartThroughShell(const std::u16string& program, const std::u16string& parameters,
                                  StartAs as) override {
    log.push_back(std::string(as == StartAs::administrator ? "runas [" : "shell [") + ToUtf8(program) + "] [" +
                  ToUtf8(parameters) + "]");
    return shell;
  }
  void ShowStartFailure(const std::u16string& cl, unsigned long error) override {
    log.push_back("failure " + std::to_string(error) + " " + ToUtf8(cl));
  }
  void ShowCannotRun(const std::u16string& cl, const std::u16string&) override { log.push_back("cannot run " + ToUtf8(cl)); }
};

TEST(StartElevatingWhenRequired, ElevationRequiredStartsTheSameProgramThroughTheShell) {
  struct Case {
    const char16_t* line;
    std::vector<std::u16string> files;
    const char* program;
    const char* parameters;
  } cases[] = {
      {uR"("C:\Program Files\Tool\setup.exe" /S /D="C:\x y")", {}, R"(C:\Program Files\Tool\setup.exe)",
       R"(/S /D="C:\x y")"},
      {uR"(admin.exe --mode "a b" c/d)", {}, "admin.exe", R"(--mode "a b" c/d)"},
      {uR"(C:\Tools\admin.exe)", {}, R"(C:\Tools\admin.exe)", ""},
      {uR"("C:\a b\admin.exe")", {}, R"(C:\a b\admin.exe)", ""},
      {uR"("C:\a b\admin.exe"/x)", {}, R"(C:\a b\admin.exe)", "/x"},
      {u"admin.exe \t two  blanks  ", {}, "admin.exe", "two  blanks  "},
      {uR"(plugins\kovrand\kovrand.exe "C:\My Docs\a.txt")", {}, R"(plugins\kovrand\kovrand.exe)",
       R"("C:\My Docs\a.txt")"},
      // Unquoted with blanks: the shortest run of words that names a file, as the platform tried.
      {uR"(C:\Program Files\Tool\setup.exe /S)", {uR"(C:\Program Files\Tool\setup.exe)"},
       R"(C:\Program Files\Tool\setup.exe)", "/S"},
      {uR"(C:\Program Files\Tool\setup /S)", {uR"(C:\Program Files\Tool\setup)"}, R"(C:\Program Files\Tool\setup)",
       "/S"},
      {uR"(C:\Program Files\My Tool)", {uR"(C:\Program Files\My Tool)"}, R"(C:\Program Files\My Tool)", ""},
      {uR"(C:\Program Files\Tool\setup.exe /S)", {uR"(C:\Program)", uR"(C:\Program Files\Tool\setup.exe)"},
       R"(C:\Program)", R"(Files\Tool\setup.exe /S)"},
      {uR"(setup.exe /S)", {u"setup.exe", uR"(setup.exe /S)"}, "setup.exe", "/S"},  // the first word, when a file
      {u"\"C:\\unclosed quote", {}, R"(C:\unclosed quote)", ""},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    FakeStart f;
    f.direct = ProcessStart::kElevationRequired;
    f.files = cases[i].files;
    StartElevatingWhenRequired(cases[i].line, f);
    EXPECT_EQ(f.log, (Log{"direct " + ToUtf8(cases[i].line),
                          std::string("shell [") + cases[i].program + "] [" + cases[i].parameters + "]"}))
        << "case " << i;
  }
}

TEST(StartElevatingWhenRequired, OnlyElevationGoesThroughTheShellAndARefusedPromptSaysNothing) {
  const std::u16string line = uR"("C:\a b\x.exe" /q)";
  const Log direct = {"direct " + ToUtf8(line)};
  const std::string shell = R"(shell [C:\a b\x.exe] [/q])";
  struct Case {
    unsigned long direct, shell;
    Log tail;
  } cases[] = {
      {0, 0, {}},
      {2, 0, {"failure 2 " + ToUtf8(line)}},
      {5, 0, {"failure 5 " + ToUtf8(line)}},  // access denied is no elevation request
      {193, 0, {"failure 193 " + ToUtf8(line)}},
      {740, 0, {shell}},
      {740, ProcessStart::kCancelled, {shell}},
      {740, 5, {shell, "failure 5 " + ToUtf8(line)}},
      {740, 740, {shell, "failure 740 " + ToUtf8(line)}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    FakeStart f;
    f.direct = cases[i].direct;
    f.shell = cases[i].shell;
    StartElevatingWhenRequired(line, f);
    Log expected = direct;
    expected.insert(expected.end(), cases[i].tail.begin(), cases[i].tail.end());
    EXPECT_EQ(f.log, expected) << "case " << i;
  }
}

TEST(StartAsAdministrator, TheShellsRunasWithTheLineSplitAsTheFallbackSplitsIt) {
  struct Case {
    const char16_t* line;
    std::vector<std::u16string> files;
    unsigned long shell;
    Log expected;
  } cases[] = {
      {uR"("C:\a b\x.exe" /q "c d")", {}, 0, {R"(runas [C:\a b\x.exe] [/q "c d"])"}},
      {uR"(C:\Program Files\Tool\setup.exe /S)", {uR"(C:\Program Files\Tool\setup.exe)"}, 0,
       {R"(runas [C:\Program Files\Tool\setup.exe] [/S])"}},
      {u"cmd.exe", {}, 0, {"runas [cmd.exe] []"}},
      {u"cmd.exe /k", {}, ProcessStart::kCancelled, {"runas [cmd.exe] [/k]"}},  // refused: nothing more
      {u"cmd.exe /k", {}, 2, {"runas [cmd.exe] [/k]", "failure 2 cmd.exe /k"}},
      {u"cmd.exe /k", {}, 5, {"runas [cmd.exe] [/k]", "failure 5 cmd.exe /k"}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    FakeStart f;
    f.files = cases[i].files;
    f.shell = cases[i].shell;
    StartAsAdministrator(cases[i].line, f);
    EXPECT_EQ(f.log, cases[i].expected) << "case " << i;
  }
}

TEST(LauncherSettings, Interpretation) {
  struct Case {
    const char16_t *back, *text;
    int fontSize, bold, onOff;  // onOff: KeepFocus, UseSkin and Italic
    std::uint32_t backColour, textColour;
    int points;
    bool on;
  } cases[] = {
      {u"FFFFFF", u"000000", 11, 0, 1, 0xFFFFFF, 0, 11, true},
      {u"0000FF", u"FFFFFF", 14, 1, 0, 0x0000FF, 0xFFFFFF, 14, false},
      {u"0F00FF", u"ff0000", 10, 2, 2, 0x0F00FF, 0xFF0000, 10, false},
      {u"", u"", 11, -1, -1, 0, 0, 11, false},               // empty: black
      {u"GG00FF", u"12345678", 0, 0, 1, 0xFFFFFF, 0, 11, true},  // not colours: the defaults
      {u"F", u"00FF", -3, 0, 1, 0x00000F, 0x0000FF, 11, true},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Settings s;
    s.back = cases[i].back;
    s.text = cases[i].text;
    s.fontSize = cases[i].fontSize;
    s.bold = cases[i].bold;
    s.keepFocus = s.useSkin = s.italic = cases[i].onOff;
    LauncherSetup got = InterpretSettings(s);
    EXPECT_EQ(got.backColour, cases[i].backColour) << "case " << i;
    EXPECT_EQ(got.textColour, cases[i].textColour) << "case " << i;
    EXPECT_EQ(got.fontPoints, cases[i].points) << "case " << i;
    EXPECT_EQ(got.bold, cases[i].bold == 1) << "case " << i;
    EXPECT_EQ(got.keepFocus && got.useSkin && got.italic, cases[i].on) << "case " << i;
    EXPECT_EQ(got.keepFocus || got.useSkin || got.italic, cases[i].on) << "case " << i;
  }
}

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
    Recorder s;
    s.environment = u"TAV_W=C:\\W\0SystemRoot=C:\\Windows\0"s;
    s.files[u"memo"] = "\"%TAV_W%\\notepad.exe\"\r\n";
    const std::u16string name = cases[i].typed.substr(0, cases[i].typed.find(u'/'));
    if (!cases[i].lookedUp) s.files[name] = "calc.exe\r\n";  // what such a name would reach
    EXPECT_EQ(RunCommand(cases[i].typed, s, s), !cases[i].started.empty()) << "case " << i;
    EXPECT_EQ(s.Logged("read "), cases[i].lookedUp ? Log{ToUtf8(name)} : Log{}) << "case " << i;
    EXPECT_EQ(s.Logged("start "), cases[i].started.empty() ? Log{} : Log{ToUtf8(cases[i].started)}) << "case " << i;
  }
}

// Every example line of the README's command tables, in both languages, starts the command line
// the table gives; where the table describes it, the program as the line names it (with the user
// folders its variables name) and the part the table shows. (One runs end to end in
// readme_examples_e2e.cpp.)
TEST(ReadmeExamples, EveryExampleLineRunsAsWritten) {
  const auto examples = test::ReadmeExamples(TAV_README);
  ASSERT_GE(examples.size(), 6u) << "the README's example tables were not found";
  const std::u16string profile = u"C:\\Users\\ta v", local = profile + u"\\AppData\\Local";
  for (const auto& e : examples) {
    Recorder s;
    s.environment = u"USERPROFILE=" + profile + u"\0LOCALAPPDATA="s + local + u"\0"s;
    s.files[e.file.substr(0, e.file.size() - 4)] = ToAnsi(e.line) + "\r\n";
    ASSERT_TRUE(RunCommand(e.typed, s, s)) << ToUtf8(e.file + u": " + e.typed);
    const Log started = s.Logged("start ");
    ASSERT_EQ(started.size(), 1u) << ToUtf8(e.file + u": " + e.typed);
    std::u16string program = e.line.substr(0, e.line[0] == u'"' ? e.line.find(u'"', 1) + 1 : e.line.find(u' '));
    for (const auto& [name, value] : {std::pair{u"%USERPROFILE%"s, profile}, std::pair{u"%LOCALAPPDATA%"s, local}})
      if (const auto at = program.find(name); at != std::u16string::npos) program.replace(at, name.size(), value);
    if (e.exact) {
      EXPECT_EQ(started[0], ToUtf8(e.runs)) << ToUtf8(e.file);
    } else {
      EXPECT_EQ(started[0].rfind(ToUtf8(program), 0), 0u) << ToUtf8(e.file) << ": " << started[0];
      EXPECT_NE(started[0].find(ToUtf8(e.runs)), std::string::npos) << ToUtf8(e.file) << ": " << started[0];
    }
  }
}

}  // namespace
}  // namespace tav
