// The launcher's window: the input box, completion, Enter and Esc, the icon callbacks, the menu,
// the focus timer and the exit sequence.
#pragma once
#include <windows.h>
#include <oleacc.h>
#include <shellapi.h>
#include <wrl/client.h>

#include <string>

#include "command_list.h"
#include "completion.h"
#include "desktop_window_win32.h"
#include "handles_win32.h"
#include "hotkey_notice.h"
#include "launcher_window.h"
#include "input_box_look_win32.h"
#include "launcher_sequences.h"
#include "process_start_win32.h"
#include "session_history.h"
#include "user_environment_win32.h"
#include "window_win32.h"

namespace tav {

class Form1 final : public Window,
                    private StartupSteps,
                    private CommandSteps,
                    private ExitSteps,
                    private EditBox {
 public:
  enum ControlId : int { Text1 = 1, m_Close = 101, m_Reflesh = 102 };
  static constexpr UINT_PTR kTimer1 = 1;
  static constexpr UINT kTimer1Interval = 100;

  // Creates the (hidden) window and runs start-up; false when the program is to end at once.
  bool Load(HINSTANCE instance);
  // The hotkey's summon sequence.
  void Summon();
  // The command list from texts\ as it stands now, as the menu's refresh makes it.
  void RebuildCommandList() { LoadCommandList(); }

 private:
  static LRESULT CALLBACK Text1Proc(HWND h, UINT m, WPARAM w, LPARAM l);
  LRESULT HandleMessage(UINT m, WPARAM w, LPARAM l) override;
  bool OnCommand(int id, int code, HWND control) override;

  void Text1_Change();
  bool Text1_KeyDown(WPARAM key);    // true: the key is consumed
  bool Text1_KeyPress(wchar_t key);  // true: the key is consumed
  bool Text1_TypeCompleted(wchar_t key);  // true: the key completed a name, shown already
  void Timer1_Timer();
  void SetTimer1(bool enabled);
  void Form_MouseMove(WPARAM wParam, LPARAM lParam);
  void Form_MouseUp(int button);
  void ShowMenu(bool fromIcon);
  void PlaceForSummon();  // on the monitor in use, at its scale
  void m_Close_Click();
  void m_Reflesh_Click();
  void Close();  // a close request: the exit sequence, once start-up has finished
  void ApplyDpi(UINT dpi);
  void Paint();

  // Start-up steps.
  Settings ReadSettings() override;
  void ApplySetup(const LauncherSetup& setup) override;
  void LoadCommandList() override;
  void LoadSkin() override;
  bool AnotherCopyRunning() override;
  void ShowAlreadyRunning() override;
  void FillTrayData() override;
  void HideWindow() override;
  void AddTrayIcon() override;
  void AddHotkeys(Hotkey first, Hotkey second) override;
  void HookWindow() override;

  // Enter and Esc.
  std::optional<std::string> ReadCommandFile(const std::u16string& name) override;
  std::u16string EnvironmentBlock() override { return environment_.CurrentBlock(); }
  std::u16string ClipboardText() override;
  void ClearInput() override;
  void FocusWindow() override;
  bool ActivateDesktop() override;
  void AwaitDesktop() override;
  void DisableTimer() override;
  void SendAltEsc() override;
  void AllowForeground() override;
  void StartCommandLine(const std::u16string& commandLine, StartAs as) override;

  // The exit sequence.
  void UnregisterHotkeys() override;
  void DeleteAtoms() override;
  void UnhookWindow() override;
  void RemoveTrayIcon() override;
  void DestroyForm() override;

  // The input box for completion.
  std::u16string Text() const override;
  int SelStart() const override;
  void SetText(const std::u16string& text) override;
  void SetSelection(int start, int length) override;

  HINSTANCE instance_ = nullptr;
  HWND text1_ = nullptr;
  WNDPROC text1Proc_ = nullptr;  // the box's own procedure
  std::u16string installFolder_;
  LauncherSetup setup_;
  Completion completion_{1};
  CommandList list_;
  SessionHistory history_;
  InputBoxColours colours_;
  UniqueFont font_;
  Skin skin_;
  UniqueMenu menuBar_;  // holds m_Menu "メニュー(&M)"
  UniqueKernelHandle instanceMutex_;
  bool anotherCopy_ = false;
  UserEnvironment environment_;
  NOTIFYICONDATAW trayData_{};
  UniqueIcon smallIcon_;
  DesktopHandOver desktop_;
  LauncherProcessStart processStart_{installFolder_, environment_, desktop_};
  UINT taskbarCreated_ = 0;
  Microsoft::WRL::ComPtr<IAccPropServices> accProps_;  // holds the box's accessible name
  UINT dpi_ = 96;
  bool timer1Enabled_ = false;
  bool placing_ = false;  // the window is being moved to the place a summon chose
  std::optional<std::u16string> hotkeyNotice_;  // said once, when start-up has finished
  bool noticeSaid_ = false;  // the shell took the notice's balloon
  bool showingCompletion_ = false;  // its own change notification is not a user's change
  Lifetime lifetime_;
};

}  // namespace tav
