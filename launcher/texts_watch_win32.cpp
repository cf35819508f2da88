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

bool TextsWatch::RebuildDue(bool shown) {
  if (schedule_.RetryDue(Now(), shown)) Reopen();
  return schedule_.MsUntilRebuild(Now(), shown) == 0;
}

void TextsWatch::Rebuilt(HWND window) {
  schedule_.Rebuilt();
  SetPropW(window, kListRebuildsProperty, reinterpret_cast<HANDLE>(++rebuilds_));
  SetPropW(window, kChangePendingProperty, nullptr);
}

TextsWatch::Wait TextsWatch::NextWait(bool shown) const {
  Wait w;
  for (HANDLE h : {texts_, folder_})
    if (h != INVALID_HANDLE_VALUE) w.handles[w.count++] = h;
  // While a watch is lost, a slow timer tries it again; otherwise only a change or a due rebuild
  // wakes the loop.
  const std::int64_t rebuild = schedule_.MsUntilRebuild(Now(), shown);
  const std::int64_t retry = schedule_.MsUntilRetry(Now());
  const std::int64_t sleep =
      retry == RebuildSchedule::kForever || (rebuild != RebuildSchedule::kForever && rebuild < retry) ? rebuild : retry;
  if (sleep != RebuildSchedule::kForever) w.timeout = static_cast<DWORD>(sleep);
  return w;
}

void TextsWatch::Woken(DWORD waitResult, const Wait& wait, HWND window) {
  if (waitResult >= WAIT_OBJECT_0 && waitResult < WAIT_OBJECT_0 + wait.count) {
    Signalled(wait.handles[waitResult - WAIT_OBJECT_0]);
    SetPropW(window, kChangePendingProperty, reinterpret_cast<HANDLE>(1));
  } else if (waitResult == WAIT_FAILED) {
    // Never seen; without the watch the loop must not spin (tried again on the slow timer). The
    // menu's refresh still works.
    Close(texts_);
    Close(folder_);
    NoteIfLost();
  }
}

void TextsWatch::Detach(HWND window) {
  RemovePropW(window, kChangePendingProperty);
  RemovePropW(window, kListRebuildsProperty);
}

}  // namespace tav
