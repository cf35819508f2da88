// New command files join completion without a refresh: texts\ is watched for file names coming
// and going, on the window's own thread, in its message loop. With no texts\ yet, the installation
// folder is watched for its appearance. Nothing runs while nothing changes.
#pragma once
#include <windows.h>

#include <functional>
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

  // The thread's message loop until WM_QUIT (its exit code). rebuild runs when gathered changes
  // are due and window is hidden.
  int RunMessageLoop(HWND window, const std::function<void()>& rebuild);

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
