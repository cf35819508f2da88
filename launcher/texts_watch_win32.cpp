#include "texts_watch_win32.h"

#include <utility>

#include "install_folder.h"
#include "long_path_win32.h"
#include "text_encoding.h"

namespace tav {

namespace {

HANDLE Watch(const std::u16string& folder, DWORD filter) {
  return FindFirstChangeNotificationW(W(ExtendedPath(folder)), FALSE, filter);
}

std::int64_t Now() { return static_cast<std::int64_t>(GetTickCount64()); }

}  // namespace

TextsWatch::TextsWatch(std::u16string installFolder, RebuildSchedule schedule)
    : installFolder_(std::move(installFolder)), schedule_(schedule) {
  folder_ = Watch(installFolder_, FILE_NOTIFY_CHANGE_DIR_NAME);
  WatchTexts();
  NoteIfLost();
}

TextsWatch::~TextsWatch() {
  Close(texts_);
  Close(folder_);
}

void TextsWatch::Close(HANDLE& h) {
  if (h != INVALID_HANDLE_VALUE) FindCloseChangeNotification(std::exchange(h, INVALID_HANDLE_VALUE));
}

void TextsWatch::WatchTexts() {
  // Anew: the folder may have been removed, or replaced by another one under the same name.
  Close(texts_);
  texts_ = Watch(TextsFolderPath(installFolder_), FILE_NOTIFY_CHANGE_FILE_NAME);
}

bool TextsWatch::Lost() const {
  if (folder_ == INVALID_HANDLE_VALUE) return true;
  if (texts_ != INVALID_HANDLE_VALUE) return false;
  const DWORD a = GetFileAttributesW(W(ExtendedPath(TextsFolderPath(installFolder_))));
  return a != INVALID_FILE_ATTRIBUTES && (a & FILE_ATTRIBUTE_DIRECTORY);
}

void TextsWatch::NoteIfLost() {
  if (Lost()) schedule_.WatchLost(Now());
}

void TextsWatch::Reopen() {
  if (folder_ == INVALID_HANDLE_VALUE) folder_ = Watch(installFolder_, FILE_NOTIFY_CHANGE_DIR_NAME);
  if (texts_ == INVALID_HANDLE_VALUE) WatchTexts();
  if (!Lost()) schedule_.WatchBack(Now());
}

void TextsWatch::Signalled(HANDLE h) {
  // Rearmed before the list is read, so a change made while it is read is seen again.
  if (h == folder_) {
    if (!FindNextChangeNotification(folder_)) Close(folder_);
    WatchTexts();
  } else if (!FindNextChangeNotification(texts_)) {
    Close(texts_);  // the folder is gone (its reappearance is seen in the installation folder), or lost
  }
  NoteIfLost();
  schedule_.Changed(Now());
}

int TextsWatch::RunMessageLoop(HWND window, const std::function<void()>& rebuild) {
  MSG msg;
  for (;;) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    const bool shown = IsWindowVisible(window) != FALSE;
    if (schedule_.RetryDue(Now(), shown)) Reopen();
    const std::int64_t wait = schedule_.MsUntilRebuild(Now(), shown);
    if (wait == 0 && IsWindow(window)) {
      try {
        rebuild();
      } catch (...) {
        // Out of memory for a huge folder: the launcher keeps running, as when the menu's
        // refresh fails; the next change or refresh builds the list again.
      }
      schedule_.Rebuilt();
      SetPropW(window, kListRebuildsProperty, reinterpret_cast<HANDLE>(++rebuilds_));
      SetPropW(window, kChangePendingProperty, nullptr);
      continue;  // what came in meanwhile first
    }
    HANDLE handles[2];
    DWORD count = 0;
    for (HANDLE h : {texts_, folder_})
      if (h != INVALID_HANDLE_VALUE) handles[count++] = h;
    // While a watch is lost, a slow timer tries it again; otherwise nothing wakes the loop.
    const std::int64_t retry = schedule_.MsUntilRetry(Now());
    const std::int64_t sleep = retry == RebuildSchedule::kForever || (wait != RebuildSchedule::kForever && wait < retry)
                                   ? wait
                                   : retry;
    const DWORD timeout = sleep == RebuildSchedule::kForever ? INFINITE : static_cast<DWORD>(sleep);
    // MWMO_INPUTAVAILABLE: input already in the queue but seen by an earlier peek wakes it too.
    const DWORD r = MsgWaitForMultipleObjectsEx(count, handles, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (r >= WAIT_OBJECT_0 && r < WAIT_OBJECT_0 + count) {
      Signalled(handles[r - WAIT_OBJECT_0]);
      SetPropW(window, kChangePendingProperty, reinterpret_cast<HANDLE>(1));
    } else if (r == WAIT_FAILED) {
      // Never seen; without the watch the loop must not spin (tried again on the slow timer). The
      // menu's refresh still works.
      Close(texts_);
      Close(folder_);
      NoteIfLost();
    }
  }
}

void TextsWatch::Detach(HWND window) {
  RemovePropW(window, kChangePendingProperty);
  RemovePropW(window, kListRebuildsProperty);
}

}  // namespace tav
