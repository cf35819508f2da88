// The environment of the programs the launcher starts. The launcher stays resident for weeks;
// when the user changes a variable in the system settings, the system announces it with
// WM_SETTINGCHANGE "Environment", and programs started afterwards see the user's current
// environment, as with the shell's own start menu.
#pragma once
#include <windows.h>

#include <string>

namespace tav {

// True for the announcement of a changed environment (lParam of WM_SETTINGCHANGE).
bool IsEnvironmentChange(LPARAM lParam);

class UserEnvironment {
 public:
  UserEnvironment() = default;
  UserEnvironment(const UserEnvironment&) = delete;
  UserEnvironment& operator=(const UserEnvironment&) = delete;
  ~UserEnvironment();

  // Builds the user's environment afresh from the system and user variables (expanded, PATH of
  // the system followed by the user's). The launcher's own PATH follows it, because that is the
  // one CreateProcessW searches for a program named without a folder. Kept as it was when the
  // block cannot be built.
  void Refresh();
  // For CreateProcessW together with CreationFlags(): null (inherit the launcher's own) until
  // the first change.
  void* Block() const { return block_; }
  DWORD CreationFlags() const { return block_ ? CREATE_UNICODE_ENVIRONMENT : 0; }
  // A copy of the environment a program started now gets (the launcher's own until the first
  // change), its strings each ended by a zero.
  std::u16string CurrentBlock() const;

 private:
  void* block_ = nullptr;
};

}  // namespace tav
