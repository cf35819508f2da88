// The launcher's sequences of effects, written once against the window's side so their order
// is fixed in one place: start-up, running a command (Enter), dismissal (Esc) and the exit.
#pragma once
#include <optional>
#include <string>
#include <string_view>

#include "launcher_settings.h"

namespace tav {

class StartupSteps {
 public:
  virtual ~StartupSteps() = default;
  virtual Settings ReadSettings() = 0;
  // The window takes the setup from now on: completion, colours and font of the box, focus keeping.
  virtual void ApplySetup(const LauncherSetup& setup) = 0;
  virtual void LoadCommandList() = 0;
  virtual void LoadSkin() = 0;
  virtual bool AnotherCopyRunning() = 0;
  virtual void ShowAlreadyRunning() = 0;
  virtual void FillTrayData() = 0;
  virtual void HideWindow() = 0;
  virtual void AddTrayIcon() = 0;
  virtual void AddHotkeys(Hotkey first, Hotkey second) = 0;  // atoms, then the registrations
  virtual void HookWindow() = 0;
};

// Runs start-up in its order; nullopt when another copy runs (after its message), in which case
// nothing visible was done.
std::optional<LauncherSetup> RunStartup(StartupSteps& steps);

// How a command line is started: as the user started the launcher, or as administrator
// (Ctrl+Shift+Enter, through the shell's elevation prompt).
enum class StartAs { usual, administrator };

class CommandSteps {
 public:
  virtual ~CommandSteps() = default;
  // The command file's bytes; nullopt when there is no such file (or it could not be read,
  // which the window's side reports itself).
  virtual std::optional<std::string> ReadCommandFile(const std::u16string& name) = 0;
  // The environment the started programs get ("NAME=value" strings, each ended by a zero): the
  // command file's line is expanded with it.
  virtual std::u16string EnvironmentBlock() = 0;
  // The clipboard's text for {clipboard}; empty when it holds none.
  virtual std::u16string ClipboardText() = 0;
  virtual void ClearInput() = 0;
  virtual void FocusWindow() = 0;
  virtual bool ActivateDesktop() = 0;  // false when there is no desktop window to activate
  // Waits, briefly, until the desktop window has the foreground: keystrokes sent next must reach
  // it. Only Esc needs it; the program that Enter starts takes the foreground anyway.
  virtual void AwaitDesktop() = 0;
  virtual void DisableTimer() = 0;
  virtual void SendAltEsc() = 0;
  virtual void HideWindow() = 0;
  // Lets the started program take the foreground; granted only for a process about to start.
  virtual void AllowForeground() = 0;
};

class ProcessStart;

// Enter (Ctrl+Shift+Enter: as administrator): looks up the command file of the typed name and
// starts its command line with start (StartCommandLine): the file's line with its environment
// variables expanded, then the typed argument placed (PlaceArgument). False when there is no
// command file or the name could be no file directly in texts\ (then nothing at all has
// happened). An empty command line is not started.
bool RunCommand(std::u16string_view text, CommandSteps& steps, ProcessStart& start, StartAs as = StartAs::usual);

// Esc: clears and hides, handing the foreground back.
void Dismiss(CommandSteps& steps);

// Starting a command line, and the platform's answers that decide what follows.
class ProcessStart {
 public:
  static constexpr unsigned long kElevationRequired = 740;  // ERROR_ELEVATION_REQUIRED
  static constexpr unsigned long kCancelled = 1223;         // ERROR_CANCELLED

  virtual ~ProcessStart() = default;
  // Starts the line as a new process; 0 when it started, else the system's error code.
  virtual unsigned long StartDirectly(const std::u16string& commandLine) = 0;
  // Whether path names an existing file, as the platform tries the words of an unquoted program
  // name that holds blanks (".exe" appended when it has no extension).
  virtual bool NamesProgramFile(const std::u16string& path) = 0;
  // Starts program with parameters through the shell, which asks for elevation (usual: the
  // default action, which asks when the program requires it; administrator: the verb "runas",
  // which always asks); 0 or the error.
  virtual unsigned long StartThroughShell(const std::u16string& program, const std::u16string& parameters,
                                          StartAs as) = 0;
  virtual void ShowStartFailure(const std::u16string& commandLine, unsigned long error) = 0;
  // The line is not handed to the platform at all, for reason.
  virtual void ShowCannotRun(const std::u16string& commandLine, const std::u16string& reason) = 0;
};

// Starts a command line: a line the platform could not be handed whole (a NUL, over its length
// limit) is refused with the reason; as administrator it goes to StartAsAdministrator, else to
// StartElevatingWhenRequired.
void StartCommandLine(const std::u16string& commandLine, ProcessStart& start, StartAs as);

// A program that must run elevated cannot be started directly: it is started again through the
// shell, which shows the elevation prompt. A prompt the user refuses shows nothing more.
void StartElevatingWhenRequired(const std::u16string& commandLine, ProcessStart& start);

// Starts the program of the command line as administrator, through the shell's prompt. A prompt
// the user refuses shows nothing; another failure is told.
void StartAsAdministrator(const std::u16string& commandLine, ProcessStart& start);

// The program part of a command line as the platform's start of a process finds it, and the rest
// of the line (after the blanks that follow the program part) unchanged. Quoted: what the quotes
// hold. Unquoted: the words up to the first blank, or, when that names no file, the shortest run
// of words up to a later blank that does, as the platform tries them.
struct ProgramAndParameters {
  std::u16string program, parameters;
};
ProgramAndParameters SplitProgram(std::u16string_view commandLine, ProcessStart& start);

class ExitSteps {
 public:
  virtual ~ExitSteps() = default;
  virtual void UnregisterHotkeys() = 0;  // hotkey 1, then 2
  virtual void DeleteAtoms() = 0;        // atom 1, then 2
  virtual void UnhookWindow() = 0;
  virtual void RemoveTrayIcon() = 0;
  virtual void DestroyForm() = 0;
};

// Closing: what start-up took, released in its fixed order; the icon goes last.
void RunExit(ExitSteps& steps);

// Where the launcher is in its life. The exit sequence releases what a finished start-up took,
// so a close request that arrives earlier (the second copy's message box runs a message loop over
// its hidden window) waits for the end of start-up, and one that never ends is never served.
class Lifetime {
 public:
  // A close or end-of-session request: true when the exit sequence is to run now.
  bool CloseRequested();
  // Start-up has finished and the launcher stays: true when a close came in meanwhile and the
  // exit sequence is to run now.
  bool Started();
  bool Resident() const { return phase_ == Phase::resident; }

 private:
  enum class Phase { starting, resident, closed } phase_ = Phase::starting;
  bool closePending_ = false;
};

}  // namespace tav
