#include "launcher_app_win32.h"

#include "hotkeys_win32.h"
#include "install_folder.h"
#include "single_instance_win32.h"
#include "text_encoding.h"
#include "tray_icon_win32.h"
#include "user_environment_win32.h"

namespace tav {

namespace {

constexpr wchar_t kInstanceMutexName[] = L"Local\\Tavimbra.Launcher.SingleInstance";

}  // namespace

LauncherApp::LauncherApp() : installFolder_(InstallFolder()), watch_(installFolder_) {}

bool LauncherApp::Start(HINSTANCE instance) {
  instance_ = instance;
  // Command files and relative program names resolve against the installation folder, however
  // the launcher was started.
  SetCurrentDirectoryW(W(installFolder_));
  // Taken at once so two copies started together cannot both miss each other.
  InstanceLock lock = TakeInstanceLock(kInstanceMutexName);
  instanceMutex_ = std::move(lock.mutex);
  anotherCopy_ = lock.anotherCopy;

  if (!form_.Create(instance)) return false;
  processStart_.SetWindow(form_.Hwnd());
  taskbarCreated_ = RegisterWindowMessageW(L"TaskbarCreated");
  // Run elevated, the launcher would not receive the restarted shell's broadcast otherwise.
  Module1::taskbarMessageFilter(form_.Hwnd(), taskbarCreated_, MSGFLT_ALLOW, nullptr);

  if (!RunStartup(*this)) {
    DestroyWindow(form_.Hwnd());  // nothing of start-up's later steps to release
    return false;
  }
  if (hotkeyNotice_) {
    // Also in the tip, for as long as the hotkey is missing: a balloon the system kept back
    // (notifications off, Focus Assist) would otherwise leave nothing to find.
    Module1::SetTip(trayData_, W(*hotkeyNotice_));
    SayHotkeyNotice();
  }
  if (lifetime_.Started()) RunExit(*this);  // closed while starting
  return true;
}

int LauncherApp::RunMessageLoop() {
  MSG msg;
  for (;;) {
    while (PeekMessageW(&msg, nullptr, 0, 0, PM_REMOVE)) {
      if (msg.message == WM_QUIT) return static_cast<int>(msg.wParam);
      TranslateMessage(&msg);
      DispatchMessageW(&msg);
    }
    const HWND window = form_.Hwnd();
    const bool shown = IsWindowVisible(window) != FALSE;
    if (watch_.RebuildDue(shown) && IsWindow(window)) {
      try {
        LoadCommandList();
      } catch (...) {
        // Out of memory for a huge folder: the launcher keeps running, as when the menu's
        // refresh fails; the next change or refresh builds the list again.
      }
      watch_.Rebuilt(window);
      continue;  // what came in meanwhile first
    }
    const TextsWatch::Wait wait = watch_.NextWait(shown);
    // MWMO_INPUTAVAILABLE: input already in the queue but seen by an earlier peek wakes it too.
    watch_.Woken(MsgWaitForMultipleObjectsEx(wait.count, wait.handles, wait.timeout, QS_ALLINPUT, MWMO_INPUTAVAILABLE),
                 wait, window);
  }
}

// ---- what the window hands on ----

bool LauncherApp::Enter(const std::u16string& text, StartAs as) {
  return RunCommand(text, *this, processStart_, as);
}

void LauncherApp::CloseRequested() {
  if (lifetime_.CloseRequested()) RunExit(*this);
}

void LauncherApp::IconMenuClosed() { Module1::ReturnFocus(trayData_); }

bool LauncherApp::AppMessage(UINT m, WPARAM, LPARAM l) {
  // Not answered here: the same message also announces changes the window's look follows.
  if (m == WM_SETTINGCHANGE && IsEnvironmentChange(l)) environment_.Refresh();
  if (!taskbarCreated_ || m != taskbarCreated_) return false;
  // Explorer restarted: without this the icon and its menu would be gone for the rest of the run.
  if (!lifetime_.Resident()) return true;
  Module1::AddTrayIcon(trayData_);
  // The icon was not there at start (the taskbar came up after the launcher): said now.
  if (hotkeyNotice_ && !noticeSaid_) SayHotkeyNotice();
  return true;
}

void LauncherApp::SayHotkeyNotice() {
  noticeSaid_ = Module1::ShowBalloon(trayData_, kLauncherCaption, W(*hotkeyNotice_));
}

}  // namespace tav
