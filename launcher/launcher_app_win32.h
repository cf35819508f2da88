// The launcher as an application: start-up and exit, the single instance, the icon, the hotkeys,
// the environment the started programs get, the command list and the folder watch that keeps it
// fresh, and the message loop. Its window (Form1) hands it Enter, Esc and the menu's entries.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <optional>
#include <string>

#include "command_list.h"
#include "desktop_window_win32.h"
#include "form1_win32.h"
#include "handles_win32.h"
#include "launcher_sequences.h"
#include "process_start_win32.h"
#include "texts_watch_win32.h"
#include "user_environment_win32.h"

namespace tav {

class LauncherApp final : private Form1Events, private StartupSteps, private CommandSteps, private ExitSteps {
 public:
  // Starts watching texts\ at once: a file added while the list is first built is not missed.
  LauncherApp();

  // Creates the (hidden) window and runs start-up; false when the program is to end at once.
  bool Start(HINSTANCE instance);
  // The thread's messages until the window has gone (the exit code); the command list is built
  // again when the watch's gathered changes are due and the window is hidden.
  int RunMessageLoop();

  Form1& Window() { return form_; }

 private:
  // What the window hands on.
  bool Enter(const std::u16string& text, StartAs as) override;
  void Escape() override { Dismiss(*this); }
  void CloseRequested() override;
  void RefreshList() override { LoadCommandList(); }
  void IconMenuClosed() override;
  bool AppMessage(UINT m, WPARAM w, LPARAM l) override;

  // Start-up steps.
  Settings ReadSettings() override;
  void ApplySetup(const LauncherSetup& setup) override { form_.ApplySetup(setup); }
  void LoadCommandList() override;
  void LoadSkin() override;
  bool AnotherCopyRunning() override { return anotherCopy_; }
  void ShowAlreadyRunning() override;
  void FillTrayData() override;
  void HideWindow() override { form_.Hide(); }
  void AddTrayIcon() override;
  void AddHotkeys(Hotkey first, Hotkey second) override;
  void HookWindow() override;

  // Enter and Esc.
  std::optional<std::string> ReadCommandFile(const std::u16string& name) override;
  std::u16string EnvironmentBlock() override { return environment_.CurrentBlock(); }
  std::u16string ClipboardText() override;
  void ClearInput() override { form_.ClearInput(); }
  void FocusWindow() override { form_.FocusWindow(); }
  bool ActivateDesktop() override { return desktop_.Activate(); }
  void AwaitDesktop() override { desktop_.Await(); }
  void DisableTimer() override { form_.SetTimer1(false); }
  void SendAltEsc() override;
  void AllowForeground() override;

  // The exit sequence.
  void UnregisterHotkeys() override;
  void DeleteAtoms() override;
  void UnhookWindow() override;
  void RemoveTrayIcon() override;
  void DestroyForm() override;

  void SayHotkeyNotice();

  HINSTANCE instance_ = nullptr;
  std::u16string installFolder_;
  TextsWatch watch_;
  CommandList list_;
  Form1 form_{list_, *this};
  UniqueKernelHandle instanceMutex_;
  bool anotherCopy_ = false;
  UserEnvironment environment_;
  NOTIFYICONDATAW trayData_{};
  UniqueIcon smallIcon_;
  DesktopHandOver desktop_;
  LauncherProcessStart processStart_{installFolder_, environment_, desktop_};
  UINT taskbarCreated_ = 0;
  std::optional<std::u16string> hotkeyNotice_;  // said once, when start-up has finished
  bool noticeSaid_ = false;  // the shell took the notice's balloon
  Lifetime lifetime_;
};

}  // namespace tav
