#include "texts_watch_win32.h"

#include <algorithm>
#include <utility>

#include "install_folder.h"
#include "long_path_win32.h"
#include "text_encoding.h"
#include "window_win32.h"

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
  Disarm();
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

namespace {
constexpr UINT kSignalled = WM_APP + 1;  // lParam: the folder's handle
constexpr UINT_PTR kTurnTimer = 1;
}  // namespace

void TextsWatch::Arm() {
  HANDLE handles[2] = {texts_, folder_};
  for (int i = 0; i < 2; ++i) {
    Wait& w = waits_[i];
    w = {this, handles[i], nullptr};
    if (w.handle == INVALID_HANDLE_VALUE) continue;
    RegisterWaitForSingleObject(
        &w.registered, w.handle,
        [](void* p, BOOLEAN) {
          auto* w = static_cast<Wait*>(p);
          PostMessageW(w->watch->own_, kSignalled, 0, reinterpret_cast<LPARAM>(w->handle));
        },
        &w, INFINITE, WT_EXECUTEONLYONCE | WT_EXECUTEINWAITTHREAD);
  }
}

void TextsWatch::Disarm() {
  // Waits for a callback that is running: no wait outlives the handle it watches.
  for (Wait& w : waits_)
    if (w.registered) UnregisterWaitEx(std::exchange(w.registered, nullptr), INVALID_HANDLE_VALUE);
}

void TextsWatch::OnSignalled(HANDLE h) {
  Disarm();
  if (h == texts_ || h == folder_) {
    Signalled(h);
    SetPropW(window_, kChangePendingProperty, reinterpret_cast<HANDLE>(1));
  }
  Arm();
  Turn();
}

void TextsWatch::Turn() {
  const bool shown = IsWindowVisible(window_) != FALSE;
  if (schedule_.RetryDue(Now(), shown)) {
    Disarm();
    Reopen();
    Arm();
  }
  const std::int64_t wait = schedule_.MsUntilRebuild(Now(), shown);
  if (wait == 0 && IsWindow(window_)) {
    try {
      rebuild_();
    } catch (...) {
      // Out of memory for a huge folder: the launcher keeps running, as when the menu's refresh
      // fails; the next change or refresh builds the list again.
    }
    schedule_.Rebuilt();
    SetPropW(window_, kListRebuildsProperty, reinterpret_cast<HANDLE>(++rebuilds_));
    SetPropW(window_, kChangePendingProperty, nullptr);
  }
  // While a watch is lost, a slow timer tries it again; otherwise only a change wakes anything.
  const std::int64_t rebuild = wait == 0 ? RebuildSchedule::kForever : wait;
  const std::int64_t retry = schedule_.MsUntilRetry(Now());
  const std::int64_t sleep =
      retry == RebuildSchedule::kForever || (rebuild != RebuildSchedule::kForever && rebuild < retry) ? rebuild : retry;
  if (sleep == RebuildSchedule::kForever) {
    if (std::exchange(timerSet_, false)) KillTimer(own_, kTurnTimer);
  } else {
    timerSet_ = SetTimer(own_, kTurnTimer, static_cast<UINT>(std::max<std::int64_t>(sleep, USER_TIMER_MINIMUM)),
                         nullptr) != 0;
  }
}

LRESULT CALLBACK TextsWatch::WatchWindowProc(HWND h, UINT m, WPARAM w, LPARAM l) {
  auto* self = reinterpret_cast<TextsWatch*>(GetWindowLongPtrW(h, GWLP_USERDATA));
  if (self && m == kSignalled) return AnswerOrDefault([&] { self->OnSignalled(reinterpret_cast<HANDLE>(l)); },
                                                      [] { return LRESULT{0}; });
  if (self && m == WM_TIMER && w == kTurnTimer)
    return AnswerOrDefault([&] { self->Turn(); }, [] { return LRESULT{0}; });
  return DefWindowProcW(h, m, w, l);
}

int TextsWatch::RunMessageLoop(HWND window, std::function<void()> rebuild) {
  window_ = window;
  rebuild_ = std::move(rebuild);
  WNDCLASSW wc{};
  wc.lpfnWndProc = &TextsWatch::WatchWindowProc;
  wc.hInstance = GetModuleHandleW(nullptr);
  wc.lpszClassName = L"TavimbraTextsWatch";
  RegisterClassW(&wc);
  own_ = CreateWindowExW(0, wc.lpszClassName, L"", 0, 0, 0, 0, 0, HWND_MESSAGE, nullptr, wc.hInstance, nullptr);
  SetWindowLongPtrW(own_, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(this));
  Arm();
  Turn();
  MSG msg;
  BOOL got;
  while ((got = GetMessageW(&msg, nullptr, 0, 0)) != 0 && got != -1) {
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
    // A hide (Enter, Esc) may make a gathered rebuild or a retry due; nothing to look at while
    // nothing is gathered or lost.
    if (schedule_.Pending() || schedule_.MsUntilRetry(Now()) != RebuildSchedule::kForever) Turn();
  }
  Disarm();
  DestroyWindow(own_);
  return got == 0 ? static_cast<int>(msg.wParam) : 0;
}

void TextsWatch::Detach(HWND window) {
  RemovePropW(window, kChangePendingProperty);
  RemovePropW(window, kListRebuildsProperty);
}

}  // namespace tav
