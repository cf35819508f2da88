// The launcher's start of a command line, the platform's side of StartCommandLine: directly as a
// new process, or through the shell, which shows the elevation prompt; and the messages when it
// cannot start.
#pragma once
#include <windows.h>

#include <shellapi.h>

#include <functional>
#include <string>

#include "desktop_window_win32.h"
#include "launcher_sequences.h"
#include "user_environment_win32.h"

namespace tav {

// The platform's calls of a start through the shell; a test hands fakes.
struct ShellCalls {
  std::function<BOOL(SHELLEXECUTEINFOW*)> execute = [](SHELLEXECUTEINFOW* info) { return ShellExecuteExW(info); };
  std::function<HWND()> foreground = [] { return GetForegroundWindow(); };
};

class LauncherProcessStart final : public ProcessStart {
 public:
  // folder: the installation folder, the started programs' working folder; desktop: where the
  // launcher hands the foreground. All three are the window's and outlive this object.
  LauncherProcessStart(const std::u16string& folder, const UserEnvironment& environment,
                       const DesktopHandOver& desktop, ShellCalls calls = {})
      : folder_(folder), environment_(environment), desktop_(desktop), calls_(std::move(calls)) {}
  // The launcher's own window, hidden when a command starts: never the prompt's owner.
  void SetWindow(HWND own) { own_ = own; }

  unsigned long StartDirectly(const std::u16string& commandLine) override;
  bool NamesProgramFile(const std::u16string& path) override;
  unsigned long StartThroughShell(const std::u16string& program, const std::u16string& parameters,
                                  StartAs as) override;
  void ShowStartFailure(const std::u16string& commandLine, unsigned long error) override;
  void ShowCannotRun(const std::u16string& commandLine, const std::u16string& reason) override;

 private:
  const std::u16string& folder_;
  const UserEnvironment& environment_;
  const DesktopHandOver& desktop_;
  ShellCalls calls_;
  HWND own_ = nullptr;
};

}  // namespace tav
