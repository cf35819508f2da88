// The launcher's window: the input box and what it receives (completion, Tab, Up and Down, Enter
// and Esc, an input method's composition), the picture, the scale, the menu and the focus timer.
// What a key or an entry means beyond the box is the application's (Form1Events).
#pragma once
#include <windows.h>
#include <oleacc.h>
#include <wrl/client.h>

#include <string>

#include "command_list.h"
#include "completion.h"
#include "handles_win32.h"
#include "input_box_look_win32.h"
#include "launcher_sequences.h"
#include "launcher_window.h"
#include "session_history.h"
#include "window_win32.h"

namespace tav {

// What the window hands on to the application.
class Form1Events {
 public:
  // Enter (as administrator: Ctrl+Shift+Enter) on text; true when a command file was found.
  virtual bool Enter(const std::u16string& text, StartAs as) = 0;
  virtual void Escape() = 0;
  virtual void CloseRequested() = 0;  // the menu's 閉じる, a close message, the session's end
  virtual void RefreshList() = 0;     // the menu's refresh
  // The icon's menu closed with the window hidden: the focus goes back to the notification area.
  virtual void IconMenuClosed() = 0;
  // Messages the application answers itself (the shell's restart, the environment's change);
  // true when answered (0).
  virtual bool AppMessage(UINT m, WPARAM w, LPARAM l) = 0;

 protected:
  ~Form1Events() = default;
};

class Form1 final : public Window, private EditBox {
 public:
  enum ControlId : int { Text1 = 1, m_Close = 101, m_Reflesh = 102 };
  static constexpr UINT_PTR kTimer1 = 1;
  static constexpr UINT kTimer1Interval = 100;

  // list: the names completion offers, the application's, which outlives the window.
  Form1(const CommandList& list, Form1Events& events) : list_(list), events_(events) {}

  // Creates the hidden window with its box and menu, centred on the primary monitor; false when
  // the system made none.
  bool Create(HINSTANCE instance);
  // The box's completion mode, colours and font, and focus keeping, from the settings.
  void ApplySetup(const LauncherSetup& setup);
  void LoadSkin(const std::u16string& path) { skin_.Load(path); }  // missing: no picture

  // The hotkey's summon sequence.
  void Summon();
  void ClearInput() { SetWindowTextW(text1_, L""); }
  void FocusWindow() { SetFocus(hwnd_); }
  void Hide() { ShowWindow(hwnd_, SW_HIDE); }
  void SetTimer1(bool enabled);
  // The last step of the exit: the window goes, and with it the program.
  void Destroy();

 private:
  static LRESULT CALLBACK Text1Proc(HWND h, UINT m, WPARAM w, LPARAM l);
  LRESULT HandleMessage(UINT m, WPARAM w, LPARAM l) override;
  bool OnCommand(int id, int code, HWND control) override;
  LRESULT OnDpiChanged(WPARAM w, LPARAM l);

  void Text1_Change();
  bool Text1_KeyDown(WPARAM key);    // true: the key is consumed
  bool Text1_KeyPress(wchar_t key);  // true: the key is consumed
  bool Text1_TypeCompleted(wchar_t key);  // true: the key completed a name, shown already
  void Run(StartAs as);  // Enter: the box's line to the application, into the session's lines
  void Timer1_Timer();
  void Form_MouseMove(WPARAM wParam, LPARAM lParam);
  void Form_MouseUp(int button) {
    if (button == 2) ShowMenu(false);
  }
  void m_Close_Click() { events_.CloseRequested(); }
  void m_Reflesh_Click() { events_.RefreshList(); }
  void ShowMenu(bool fromIcon);
  void PlaceForSummon();  // on the monitor in use, at its scale
  void ApplyDpi(UINT dpi);
  void Paint();

  // The input box for completion.
  std::u16string Text() const override;
  int SelStart() const override;
  void SetText(const std::u16string& text) override;
  void SetSelection(int start, int length) override;
  void ShowOffer(const std::u16string& text, int selStart, int selLength);

  const CommandList& list_;
  Form1Events& events_;
  HWND text1_ = nullptr;
  WNDPROC text1Proc_ = nullptr;  // the box's own procedure
  LauncherSetup setup_;
  Completion completion_{1};
  SessionHistory history_;
  InputBoxColours colours_;
  UniqueFont font_;
  Skin skin_;
  UniqueMenu menuBar_;  // holds m_Menu "メニュー(&M)"
  Microsoft::WRL::ComPtr<IAccPropServices> accProps_;  // holds the box's accessible name
  UINT dpi_ = 96;
  bool placing_ = false;  // the window is being moved to the place a summon chose
  bool showingCompletion_ = false;  // its own change notification is not a user's change
};

}  // namespace tav
