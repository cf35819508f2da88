#include "launcher_sequences.h"

#include "command_file.h"

namespace tav {

std::optional<LauncherSetup> RunStartup(StartupSteps& steps) {
  LauncherSetup setup = InterpretSettings(steps.ReadSettings());
  steps.ApplyLook(setup);
  steps.LoadCommandList();
  if (setup.useSkin) steps.LoadSkin();
  if (steps.AnotherCopyRunning()) {
    steps.ShowAlreadyRunning();
    return std::nullopt;
  }
  steps.FillTrayData();
  steps.HideWindow();
  steps.AddTrayIcon();
  steps.AddHotkeys(setup.key1, setup.key2);
  steps.HookWindow();
  return setup;
}

bool RunCommand(std::u16string_view text, CommandSteps& steps) {
  const CommandInput input = SplitCommandInput(text);
  // "..\settings\tavimbra", "C:\x", "memo:s" or a device would be read from outside texts\; no
  // command file has such a name, so they are not found, like any name not in the list.
  if (!NamesFileInTexts(input.name)) return false;
  std::optional<std::string> file = steps.ReadCommandFile(input.name);
  if (!file) return false;
  const std::u16string commandLine = ComposeCommandLine(DecodeCommandFile(*file), input);
  steps.ClearInput();
  steps.ActivateDesktop();
  steps.DisableTimer();
  steps.HideWindow();
  if (!commandLine.empty()) {
    steps.AllowForeground();
    steps.StartCommandLine(commandLine);
  }
  return true;
}

void Dismiss(CommandSteps& steps) {
  steps.ClearInput();
  steps.FocusWindow();
  steps.DisableTimer();
  // Alt+Esc passes the foreground on from the desktop window; without one it would send away
  // whichever window the system activates when the launcher hides.
  bool desktop = steps.ActivateDesktop();
  if (desktop) steps.SendAltEsc();
  steps.HideWindow();
}

void RunExit(ExitSteps& steps) {
  steps.UnregisterHotkeys();
  steps.DeleteAtoms();
  steps.UnhookWindow();
  steps.RemoveTrayIcon();
  steps.DestroyWindow();
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
