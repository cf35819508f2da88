// The plumbing every window of both programs shares: the window object behind a handle, its
// text as std::u16string, placement inside the work area and starting a process.
#pragma once
#include <windows.h>

#include <string>
#include <type_traits>

#include "handles_win32.h"

namespace tav {

// The one policy for an exception in code the system calls back (a window, subclass or hook
// procedure): it never crosses into the system, and the message gets its default answer
// (DefWindowProc, DefSubclassProc, the previous procedure, the next hook) as if nothing had
// handled it. A handler that returns nothing lets the message go on to that answer anyway.
template <typename Handler, typename ByDefault>
LRESULT AnswerOrDefault(Handler&& handler, ByDefault&& byDefault) noexcept {
  try {
    if constexpr (std::is_void_v<std::invoke_result_t<Handler&>>)
      handler();
    else
      return handler();
  } catch (...) {
  }
  return byDefault();
}

// The new scale a WM_DPICHANGED brings. Both halves of wParam hold it (X and Y are equal for
// Windows programs); the Y half, as the monitors' scales are read elsewhere.
inline UINT DpiChangedTo(WPARAM wParam) { return HIWORD(wParam); }

// A window object: WindowProc, set as its class's procedure, finds the object passed as the
// creation parameter and hands it every message from WM_NCCREATE on. A handler that throws is
// answered by DefWindowProcW (AnswerOrDefault).
class Window {
 public:
  Window() = default;
  Window(const Window&) = delete;
  Window& operator=(const Window&) = delete;
  HWND Hwnd() const { return hwnd_; }

  static LRESULT CALLBACK WindowProc(HWND h, UINT m, WPARAM w, LPARAM l);

 protected:
  ~Window() = default;
  virtual LRESULT HandleMessage(UINT m, WPARAM w, LPARAM l) = 0;
  // WM_COMMAND, split once here: the control's or menu entry's id, the notification code and the
  // control (null for a menu entry). True when handled (answered 0); else HandleMessage gets it.
  virtual bool OnCommand(int /*id*/, int /*code*/, HWND /*control*/) { return false; }

  // A window class of such objects: the program's icon, the arrow, and background (nullptr: the
  // window paints all of it).
  struct Class {
    const wchar_t* name;
    HBRUSH background = nullptr;
  };
  // Creates the window with this object behind it, registering its class on first use in the
  // process; false when the system made none.
  bool Create(HINSTANCE instance, const Class& windowClass, DWORD exStyle, const wchar_t* caption, DWORD style, int x,
              int y, int width, int height, HWND owner = nullptr);

  HWND hwnd_ = nullptr;
};

// The programs' names as their windows and messages show them.
inline constexpr wchar_t kLauncherCaption[] = L"Tavimbra";
inline constexpr wchar_t kSettingsCaption[] = L"Tavimset";

// Design units to pixels at dpi: device-independent pixels (1/96 inch) and twips (1/1440 inch).
inline constexpr int kTwipsPerDip = 15;
inline int Px(int dip, UINT dpi) { return MulDiv(dip, static_cast<int>(dpi), 96); }
inline int TwipsToPixels(int twips, UINT dpi) { return MulDiv(twips, static_cast<int>(dpi), 1440); }
// A window's scale: its monitor's for a per-monitor aware program, else the system's (also for
// no window at all).
UINT WindowDpi(HWND w);

// Whether w's window class is name (compared without case, as the system does).
bool IsClass(HWND w, const wchar_t* name);

// No input method for box: every key reaches it as a plain key, no composition starts there.
void DisableInputMethod(HWND box);

// A window's whole text.
std::u16string WindowText(HWND w);
// windows.h makes SetWindowText the wide call; this is its overload for std::u16string.
inline BOOL SetWindowText(HWND w, const std::u16string& text) {
  return ::SetWindowTextW(w, reinterpret_cast<const wchar_t*>(text.c_str()));
}

// Clicks w when it is an enabled push button, as Enter on a dialog's default button does; false
// for another control.
bool ClickPushButton(HWND w);

// The work area of target's monitor (the nearest), else of the window's own (the primary when
// it stands on none).
RECT WorkAreaOf(HWND w, const RECT* target);

// Sizes w to frame (no larger than work) at target's top-left, else centred in work, and keeps
// it inside work. client is the client area the frame is meant to give; fitHeight false leaves
// the height alone (a window whose content scrolls).
void PlaceInWorkArea(HWND w, const RECT& work, SIZE frame, SIZE client, const RECT* target, bool fitHeight = true);

// The owner to hand a shell request whose prompt must come up in front (the elevation prompt,
// the "open with" choice): Windows shows such a prompt only for an owner in the foreground, and
// for any other it only flashes a button in the taskbar while the call waits. foreground is
// GetForegroundWindow() taken just before the call. The first that is a visible window and not
// own (the caller's hidden window): foreground, handedTo (the window the caller gave the
// foreground to), the desktop's shell window; else none.
HWND PromptOwner(HWND foreground, HWND own = nullptr, HWND handedTo = nullptr);

// A started process's handles, or the system's error (then both are empty).
struct StartedProcess {
  UniqueKernelHandle process;
  UniqueKernelHandle thread;
  DWORD error = 0;
};

// CreateProcessW of commandLine shown normally. program, environment and folder may be null
// (then: the first word of the line, the caller's environment and current folder).
StartedProcess CreateProcessShownNormally(const wchar_t* program, const std::u16string& commandLine, DWORD flags = 0,
                            void* environment = nullptr, const wchar_t* folder = nullptr);

}  // namespace tav
