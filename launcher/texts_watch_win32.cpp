#include "texts_watch_win32.h"

#include <utility>

#include "install_folder.h"
#include "text_encoding.h"

namespace tav {

namespace {

HANDLE Watch(const std::u16string& folder, DWORD filter) {
  return FindFirstChangeNotificationW(W(folder), FALSE, filter);
}

}  // namespace

TextsWatch::TextsWatch(std::u16string installFolder, RebuildSchedule schedule)
    : installFolder_(std::move(installFolder)), schedule_(schedule) {
  folder_ = Watch(installFolder_, FILE_NOTIFY_CHANGE_DIR_NAME);
  WatchTexts();
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

void TextsWatch::Signalled(HANDLE h) {
  // Rearmed before the list is read, so a change made while it is read is seen again.
  if (h == folder_) {
    if (!FindNextChangeNotification(folder_)) Close(folder_);
    WatchTexts();
  } else if (!FindNextChangeNotification(texts_)) {
    Close(texts_);  // the folder is gone; its reappearance is seen in the installation folder
  }
  schedule_.Changed(static_cast<std::int64_t>(GetTickCount64()));
}

int TextsWatch::RunMessageLoop(HWND window, const std::function<void()>& rebuild) {
  MSG msg;
  for (;;) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    const std::int64_t wait =
        schedule_.MsUntilRebuild(static_cast<std::int64_t>(GetTickCount64()), IsWindowVisible(window) != FALSE);
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
    const DWORD timeout = wait == RebuildSchedule::kForever ? INFINITE : static_cast<DWORD>(wait);
    // MWMO_INPUTAVAILABLE: input already in the queue but seen by an earlier peek wakes it too.
    const DWORD r = MsgWaitForMultipleObjectsEx(count, handles, timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE);
    if (r >= WAIT_OBJECT_0 && r < WAIT_OBJECT_0 + count) {
      Signalled(handles[r - WAIT_OBJECT_0]);
      SetPropW(window, kChangePendingProperty, reinterpret_cast<HANDLE>(1));
    } else if (r == WAIT_FAILED) {
      // Never seen; without the watch the loop must not spin. The menu's refresh still works.
      Close(texts_);
      Close(folder_);
    }
  }
}

void TextsWatch::Detach(HWND window) {
  RemovePropW(window, kChangePendingProperty);
  RemovePropW(window, kListRebuildsProperty);
}

}  // namespace tav
