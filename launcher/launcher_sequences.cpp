#include "launcher_sequences.h"

#include <algorithm>

#include "command_file.h"
#include "environment_block.h"

namespace tav {

std::optional<LauncherSetup> RunStartup(StartupSteps& steps) {
  LauncherSetup setup = InterpretSettings(steps.ReadSettings());
  steps.ApplySetup(setup);
  steps.LoadCommandList();
  if (setup.useSkin) steps.LoadSkin();
  if (steps.AnotherCopyRunning()) {
    steps.ShowAlreadyRunning();
    return std::nullopt;
  }
  steps.FillTrayData();
  steps.HideWindow();
  steps.AddTrayIcon();
  steps.AddHotkeys({setup.mod1, setup.key1}, {setup.mod2, setup.key2});
  steps.HookWindow();
  return setup;
}

bool RunCommand(std::u16string_view text, CommandSteps& steps, ProcessStart& start, StartAs as) {
  const CommandInput input = SplitCommandInput(text);
  // "..\settings\tavimbra", "C:\x", "memo:s" or a device would be read from outside texts\; no
  // command file has such a name, so they are not found, like any name not in the list.
  if (!NamesFileInTexts(input.name)) return false;
  std::optional<std::string> file = steps.ReadCommandFile(input.name);
  if (!file) return false;
  std::u16string commandLine;
  if (std::optional<std::u16string> line = LastLine(DecodeCommandFile(*file)))
    commandLine = PlaceArgument(ExpandEnvironmentText(*line, steps.EnvironmentBlock().c_str()), input,
                                [&] { return steps.ClipboardText(); });
  steps.ClearInput();
  steps.ActivateDesktop();
  steps.DisableTimer();
  steps.HideWindow();
  if (!commandLine.empty()) {
    steps.AllowForeground();
    StartCommandLine(commandLine, start, as);
  }
  return true;
}

void Dismiss(CommandSteps& steps) {
  steps.ClearInput();
  steps.FocusWindow();
  steps.DisableTimer();
  // Alt+Esc passes the foreground on from the desktop window; without one it would send away
  // whichever window the system activates when the launcher hides.
  if (steps.ActivateDesktop()) {
    steps.AwaitDesktop();
    steps.SendAltEsc();
  }
  steps.HideWindow();
}

void StartCommandLine(const std::u16string& commandLine, ProcessStart& start, StartAs as) {
  // Checked before the call: the platform would start the line only up to a NUL, and its own
  // refusal of an overlong line does not say why.
  if (std::u16string problem = CommandLineProblem(commandLine); !problem.empty())
    start.ShowCannotRun(commandLine, problem);
  else if (as == StartAs::administrator)
    StartAsAdministrator(commandLine, start);
  else
    StartElevatingWhenRequired(commandLine, start);
}

void StartElevatingWhenRequired(const std::u16string& commandLine, ProcessStart& start) {
  unsigned long error = start.StartDirectly(commandLine);
  if (error == ProcessStart::kElevationRequired) {
    const ProgramAndParameters p = SplitProgram(commandLine, start);
    error = start.StartThroughShell(p.program, p.parameters, StartAs::usual);
    if (error == ProcessStart::kCancelled) return;  // the user said no to the prompt
  }
  if (error != 0) start.ShowStartFailure(commandLine, error);
}

void StartAsAdministrator(const std::u16string& commandLine, ProcessStart& start) {
  const ProgramAndParameters p = SplitProgram(commandLine, start);
  const unsigned long error = start.StartThroughShell(p.program, p.parameters, StartAs::administrator);
  if (error != 0 && error != ProcessStart::kCancelled) start.ShowStartFailure(commandLine, error);
}

ProgramAndParameters SplitProgram(std::u16string_view line, ProcessStart& start) {
  auto blank = [](char16_t c) { return c == u' ' || c == u'\t'; };
  auto rest = [&](std::size_t from) {
    while (from < line.size() && blank(line[from])) ++from;
    return std::u16string(line.substr(std::min(from, line.size())));
  };
  if (!line.empty() && line[0] == u'"') {
    const std::size_t close = line.find(u'"', 1);
    if (close == std::u16string_view::npos) return {std::u16string(line.substr(1)), u""};
    return {std::u16string(line.substr(1, close - 1)), rest(close + 1)};
  }
  std::size_t first = 0;
  while (first < line.size() && !blank(line[first])) ++first;
  if (first < line.size() && !start.NamesProgramFile(std::u16string(line.substr(0, first)))) {
    // "C:\Program Files\Tool\setup.exe /S" unquoted: the platform took the first run of words
    // that names a file.
    for (std::size_t end = first + 1; end < line.size(); ++end) {
      if (!blank(line[end]) || blank(line[end - 1])) continue;
      const std::u16string candidate(line.substr(0, end));
      if (start.NamesProgramFile(candidate)) return {candidate, rest(end)};
    }
    std::size_t end = line.size();
    while (end > first && blank(line[end - 1])) --end;
    const std::u16string whole(line.substr(0, end));
    if (end > first && start.NamesProgramFile(whole)) return {whole, u""};
  }
  return {std::u16string(line.substr(0, first)), rest(first)};
}

void RunExit(ExitSteps& steps) {
  steps.UnregisterHotkeys();
  steps.DeleteAtoms();
  steps.UnhookWindow();
  steps.RemoveTrayIcon();
  steps.DestroyForm();
}

bool Lifetime::CloseRequested() {
  switch (phase_) {
    case Phase::starting:
      closePending_ = true;
      return false;
    case Phase::resident:
      phase_ = Phase::closed;
      return true;
    case Phase::closed:
      break;
  }
  return false;
}

bool Lifetime::Started() {
  if (phase_ != Phase::starting) return false;
  phase_ = Phase::resident;
  return closePending_ && CloseRequested();
}

}  // namespace tav
