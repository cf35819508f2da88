// New command files join completion without a refresh: texts\ is watched for file names coming
// and going, on the window's own thread, by its message loop. With no texts\ yet, the installation
// folder is watched for its appearance. Nothing runs while nothing changes.
#pragma once
#include <windows.h>

#include <string>

#include "rebuild_schedule.h"

namespace tav {

// Window properties of the launcher window, for whoever checks that the watch works (the tests):
// 1 while a change of texts\ has been seen and is not in the list yet, and how many rebuilds the
// changes caused.
inline constexpr wchar_t kChangePendingProperty[] = L"TavimbraChangePending";
inline constexpr wchar_t kListRebuildsProperty[] = L"TavimbraListRebuilds";

class TextsWatch {
 public:
  // Starts watching at once: made before the list is first built, a file added meanwhile is not
  // missed (it only costs one more rebuild).
  explicit TextsWatch(std::u16string installFolder, RebuildSchedule schedule = {});
  ~TextsWatch();
  TextsWatch(const TextsWatch&) = delete;
  TextsWatch& operator=(const TextsWatch&) = delete;

  // The message loop's side, each time it has no message left. shown: whether the window is
  // (nothing is rebuilt while it is). True when the gathered changes are due now; a lost watch is
  // tried again first when its time has come.
  bool RebuildDue(bool shown);
  // The list was built again (or failed to be): noted on the window.
  void Rebuilt(HWND window);
  // What the loop waits for besides messages: the folders' change handles, and how long until the
  // watch wants the loop back (a rebuild due later, a lost watch's retry); INFINITE when nothing is.
  struct Wait {
    HANDLE handles[2];
    DWORD count = 0;
    DWORD timeout = INFINITE;
  };
  Wait NextWait(bool shown) const;
  // The wait's result: one of its handles signalled (rearmed, the change noted on the window), or
  // the wait failed.
  void Woken(DWORD waitResult, const Wait& wait, HWND window);

  // Takes the properties off the window; before it is destroyed.
  static void Detach(HWND window);

 private:
  void WatchTexts();
  void Close(HANDLE& h);
  void Signalled(HANDLE h);
  // A watch is missing that should be there (texts\ unwatched while it does not exist is not).
  bool Lost() const;
  void NoteIfLost();
  void Reopen();

  std::u16string installFolder_;
  RebuildSchedule schedule_;
  HANDLE texts_ = INVALID_HANDLE_VALUE;   // file names in texts\ (non-recursive)
  HANDLE folder_ = INVALID_HANDLE_VALUE;  // folder names in the installation folder: texts\ made, removed or replaced
  UINT_PTR rebuilds_ = 0;
};

}  // namespace tav
