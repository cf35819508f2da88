// The end-to-end driver: fresh installation folders, real processes, real input.
#pragma once
#include <windows.h>

#include <chrono>
#include <filesystem>
#include <functional>
#include <initializer_list>
#include <string>
#include <vector>

#include "private_prefix.h"

namespace tav::e2e {

namespace fs = std::filesystem;

// How long a freshly started program may take to show its window or be ready, under Wine on a
// loaded machine.
inline constexpr std::chrono::milliseconds kStartTimeout = std::chrono::seconds(20);

// dist\Tavimbra as laid out by the install step (TAV_DIST, else found from this program's folder).
fs::path DistFolder();
fs::path ProbeExe();

// Polls cond every 20 ms until it holds or timeout passes.
bool WaitUntil(const std::function<bool()>& cond, std::chrono::milliseconds timeout = std::chrono::seconds(10));

// Puts the pointer in the middle of a window and waits until it is there. (Under Wine a motion
// report of an earlier move can arrive after the warp and put the pointer back.)
void PointerTo(HWND w);

class Process {
 public:
  Process() = default;
  Process(const fs::path& exe, const std::wstring& args, const fs::path& cwd);
  Process(Process&&) noexcept;
  Process& operator=(Process&&) noexcept;
  ~Process();
  bool Running() const;
  // Waits for the end; returns the exit code, or -1 on time-out.
  int Wait(std::chrono::milliseconds timeout = std::chrono::seconds(10));
  void Kill();
  DWORD Id() const { return pid_; }
  explicit operator bool() const { return handle_ != nullptr; }

 private:
  HANDLE handle_ = nullptr;
  DWORD pid_ = 0;
};

struct ProbeRecord {
  std::wstring commandLine;
  std::wstring currentFolder;
  int showWindow = -1;
  std::wstring echo;  // TAV_PROBE_ECHO, "<unset>" when the probe had none
  std::wstring path;  // PATH
};

// A fresh installation folder below %TEMP% with the programs, the skin and empty texts\.
class Installation {
 public:
  explicit Installation(bool withSampleCommands = false);
  ~Installation();
  Installation(const Installation&) = delete;
  Installation& operator=(const Installation&) = delete;

  const fs::path& Root() const { return root_; }
  fs::path Texts() const { return root_ / "texts"; }
  // texts\<name>.txt holding line + CR LF in the ANSI code page.
  void WriteCommand(const std::wstring& name, const std::wstring& line) const;
  void WriteRaw(const fs::path& relative, const std::string& bytes) const;
  std::string ReadRaw(const fs::path& relative) const;
  // settings\tavimbra.ini from lines like L"Back=0000FF" (section added).
  void WriteSettings(const std::vector<std::wstring>& lines) const;

  // The probe's full path in quotes: a command line that records itself.
  std::wstring ProbeCommand() const;
  std::vector<ProbeRecord> ProbeLog() const;
  bool WaitForProbe(std::size_t records, std::chrono::milliseconds timeout = std::chrono::seconds(10)) const;

  // Starts a program of the installation with the installation folder as current folder.
  Process Start(const std::wstring& exeName, const std::wstring& args = L"") const;

 private:
  fs::path root_;
  fs::path probeLog_;
};

// Windows of a process (top-level), found by class name (or any class when cls is empty).
HWND FindTopWindow(DWORD pid, const std::wstring& cls = L"", bool visibleOnly = false);
HWND WaitForTopWindow(DWORD pid, const std::wstring& cls = L"", bool visibleOnly = false,
                      std::chrono::milliseconds timeout = kStartTimeout);
std::wstring WindowText(HWND w);
std::wstring ClassName(HWND w);
HWND FindChild(HWND parent, const std::wstring& cls, int index = 0);

// Input as a user gives it: Alt+key, single keys, typed text.
void SendAltKey(WORD vk);
void SendKey(WORD vk, bool shift = false);
void TypeText(const std::wstring& text);
// The focused window of another thread's input queue (the GUI thread of pid's foreground).
HWND FocusOf(HWND topLevel);
std::pair<int, int> EditSelection(HWND edit);

// Waits until the launcher whose window is form has finished its start-up: its atoms
// "HOTKEY1"/"HOTKEY2" exist (added just before the hotkeys are registered and the hook
// installed) and, after that, the window answers a message (nothing between the atoms and the
// message loop serves messages). Never registers a hotkey of its own, which would take it away
// from a launcher registering at that moment.
bool WaitForLauncherReady(HWND form, std::chrono::milliseconds timeout = kStartTimeout);
// A launcher runs in this session (its single-instance mutex exists): the user's own, or one a
// test left running.
bool LauncherRunning();
// Atoms "HOTKEY1"/"HOTKEY2" left by a launcher that was killed (they outlive it): they would pass
// for the next launcher's. Nothing while a launcher runs.
void RemoveLeftoverLauncherAtoms();
// A message round trip behind whatever was posted to the thread of edit (an edit box) so far: a
// change of its text limit is posted, and seen, then the limit is put back. Every message posted
// to that thread before (a hotkey, a click, a timer tick) has been handled by then. Keyboard input
// still waiting is not: posted messages go first.
bool PostedMessagesHandled(HWND edit, std::chrono::milliseconds timeout = std::chrono::seconds(10));
// The foreground window described for failure messages: handle, class, process.
std::wstring DescribeForeground();

// A visible top-level window of the driver's own, with an edit box, on its own thread: the
// application the user works in before calling a program up.
class ForegroundWindow {
 public:
  // A desktop stand-in answers Alt+Esc as Windows does: it goes to the bottom of the stacking
  // order and the next window there is activated. (Wine's default window procedure ignores
  // Alt+Esc.)
  explicit ForegroundWindow(const std::wstring& title = L"e2e other application", bool desktopStandIn = false);
  ~ForegroundWindow();
  ForegroundWindow(const ForegroundWindow&) = delete;
  ForegroundWindow& operator=(const ForegroundWindow&) = delete;
  HWND Hwnd() const { return hwnd_; }
  // Brings it to the foreground with the focus in its edit box; true when it got there.
  bool Activate();

 private:
  HANDLE thread_ = nullptr;
  HWND hwnd_ = nullptr;
};

// What a program asked of the notification area, as the shell receives it.
struct TrayCall {
  DWORD message = 0;  // NIM_ADD, NIM_MODIFY, NIM_DELETE...
  HWND window = nullptr;
  UINT id = 0, flags = 0, callbackMessage = 0;
  bool icon = false;  // an icon came with it
  std::wstring tip;
  std::wstring info, infoTitle;  // a balloon's text and title (with NIF_INFO)
};

// A notification area of the driver's own: a window of the shell tray's class that records every
// Shell_NotifyIcon call (they reach it as WM_COPYDATA) and keeps the icons added and not deleted,
// so NIM_MODIFY answers for them as the shell does. Made before the program under test starts,
// it is the first such window the program finds (the topmost, newest one).
class RecordingTray {
 public:
  RecordingTray();
  ~RecordingTray();
  RecordingTray(const RecordingTray&) = delete;
  RecordingTray& operator=(const RecordingTray&) = delete;
  HWND Hwnd() const { return hwnd_; }
  std::vector<TrayCall> Calls() const;

 private:
  static LRESULT CALLBACK Proc(HWND, UINT, WPARAM, LPARAM);
  static DWORD WINAPI Thread(void*);
  HANDLE thread_ = nullptr, ready_ = nullptr;
  HWND hwnd_ = nullptr;
  mutable CRITICAL_SECTION lock_;
  std::vector<TrayCall> calls_;
};

// Another program (hotkey_holder.exe) holding Alt plus each of the keys, for as long as this lives.
class HeldHotkeys {
 public:
  explicit HeldHotkeys(std::initializer_list<WORD> keys);
  // True once the program holds them all (it stops at once when one is refused).
  bool Held() const { return window_ != nullptr; }

 private:
  Process proc_;
  HWND window_ = nullptr;
};

// A variable of the environment as the system settings store it, the user's (HKEY_CURRENT_USER)
// or the system's (HKEY_LOCAL_MACHINE), the earlier value restored when it goes.
class StoredVariable {
 public:
  StoredVariable(HKEY root, const std::wstring& name, const std::wstring& value, DWORD type = REG_SZ);
  ~StoredVariable();
  StoredVariable(const StoredVariable&) = delete;
  StoredVariable& operator=(const StoredVariable&) = delete;

 private:
  HKEY root_;
  const wchar_t* key_;
  std::wstring name_;
  bool existed_ = false;
  DWORD oldType_ = 0;
  std::vector<BYTE> old_;
};
// Announces a changed environment to every top-level window, as the system settings do.
void BroadcastEnvironmentChange();
// The system's PATH (HKLM ... Session Manager\Environment), expanded.
std::wstring SystemPath();

// WM_DPICHANGED as Windows sends it: the new scale, and a pointer to the suggested window
// rectangle, which the message does not carry between processes. The rectangle is put into the
// window's own process. False when it could not be.
bool SendDpiChanged(HWND w, UINT dpi, const RECT& suggested);

// Colour on the screen at a point of a window's client area.
COLORREF ScreenPixel(HWND w, int x, int y);

// Saves a screenshot of the whole (virtual) screen as a BMP (for looking at, not for asserting).
void SaveScreenshot(const fs::path& file);

}  // namespace tav::e2e
