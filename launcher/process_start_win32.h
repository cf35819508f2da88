// Starting a command line for the launcher: directly as a new process, or through the shell,
// which shows the elevation prompt; and the message when it cannot start.
#pragma once
#include <windows.h>

#include <string>

#include "launcher_sequences.h"
#include "user_environment_win32.h"

namespace tav {

class LauncherProcessStart final : public ProcessStart {
 public:
  // folder: the installation folder, the started programs' working folder. Both are the
  // window's and outlive this object.
  LauncherProcessStart(const std::u16string& folder, const UserEnvironment& environment)
      : folder_(folder), environment_(environment) {}
  void SetOwner(HWND owner) { owner_ = owner; }

  // Starts the command line (see StartElevatingWhenRequired), after checking that the platform
  // can be handed it at all.
  void Start(const std::u16string& commandLine);

  unsigned long StartDirectly(const std::u16string& commandLine) override;
  bool NamesProgramFile(const std::u16string& path) override;
  unsigned long StartThroughShell(const std::u16string& program, const std::u16string& parameters) override;
  void ShowStartFailure(const std::u16string& commandLine, unsigned long error) override;

 private:
  const std::u16string& folder_;
  const UserEnvironment& environment_;
  HWND owner_ = nullptr;
};

}  // namespace tav
