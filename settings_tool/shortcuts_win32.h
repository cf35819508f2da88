// Start-up and Send To shortcuts through the shell's link object.
#pragma once
#include <windows.h>
#include <shlobj.h>

#include <optional>
#include <string>

#include "settings_form.h"

namespace tav::settings {

// The current user's special folder (FOLDERID_Startup, FOLDERID_SendTo, ...).
std::optional<std::u16string> KnownFolder(REFKNOWNFOLDERID id);

// Sets a shortcut file's target and working folder: a new file, or the existing one updated.
HRESULT CreateShortcut(const std::u16string& linkPath, const std::u16string& target,
                       const std::u16string& workingFolder);
// Deletes the shortcut when a normal file of that name exists; true when none is left.
bool RemoveShortcut(const std::u16string& linkPath);

// One save step: wanted -> shortcut folder\fileName written afresh; not wanted -> removed.
void ShortcutStep(bool wanted, const std::u16string& folder, std::u16string_view fileName,
                  const std::u16string& target, const std::u16string& workingFolder);

// A shortcut file's target and working folder, read back through the shell.
struct ShortcutInfo {
  std::u16string target, workingFolder;
};
std::optional<ShortcutInfo> ReadShortcut(const std::u16string& linkPath);

// The save's shortcut work for the real special folders: the Send To entry starts the
// running program, the Start-up entry the launcher beside it; both work in its folder.
class ShellShortcuts : public ShortcutWork {
 public:
  void SendTo(bool wanted) override;
  void StartUp(bool wanted) override;
  bool StartUpTurnedOff() override;
};

// Where Task Manager's and Settings' start-up switch keeps its state for a Start-up folder entry.
inline constexpr wchar_t kStartupApprovedKey[] =
    L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\StartupApproved\\StartupFolder";
// The switch's state for that shortcut file is off (the registry is only read).
bool StartupApprovedOff(std::u16string_view shortcutFile);

}  // namespace tav::settings
