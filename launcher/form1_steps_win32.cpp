// Form1's side of the launcher's start-up, Enter and Esc, and exit sequences (launcher_sequences.h):
// each step a call into the module that owns it, in the order the sequences give.
#include <oleacc.h>

#include "collation_win32.h"
#include "command_file.h"
#include "file_io.h"
#include "folder_listing_win32.h"
#include "form1_win32.h"
#include "hotkeys_win32.h"
#include "install_folder.h"
#include "profile_file.h"
#include "system_message_win32.h"
#include "text_encoding.h"
#include "texts_watch_win32.h"
#include "tray_icon_win32.h"

namespace tav {

// ---- start-up steps ----

Settings Form1::ReadSettings() {
  auto file = OpenWin32Profile(SettingsFilePath(installFolder_), std::u16string(kSettingsSection));
  return ReadLauncherSettings(*file);
}

void Form1::ApplySetup(const LauncherSetup& setup) {
  setup_ = setup;
  completion_ = Completion(setup.autoComplete);
  colours_.Set(setup.backColour, setup.textColour);
  ApplyDpi(dpi_);
}

std::u16string Form1::ClipboardText() {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return {};
  // Another program may hold it for a moment.
  for (int attempt = 0; !OpenClipboard(hwnd_); ++attempt) {
    if (attempt == 10) return {};
    Sleep(10);
  }
  std::u16string text;
  if (HANDLE data = GetClipboardData(CF_UNICODETEXT)) {
    if (const auto* chars = static_cast<const char16_t*>(GlobalLock(data))) {
      text = chars;
      GlobalUnlock(data);
    }
  }
  CloseClipboard();
  return text;
}

void Form1::LoadCommandList() {
  list_.Build(ListFileNameTable(TextsFolderPath(installFolder_)), UserCollation());
}

void Form1::LoadSkin() { skin_.Load(SkinFilePath(installFolder_)); }  // missing: no picture

bool Form1::AnotherCopyRunning() { return anotherCopy_; }

void Form1::ShowAlreadyRunning() {
  MessageBoxW(nullptr, L"このアプリケーションは既に起動しています", kLauncherCaption, MB_ICONEXCLAMATION | MB_OK);
}

void Form1::FillTrayData() {
  smallIcon_.reset(static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
  trayData_ = Module1::MakeTrayData(hwnd_, smallIcon_.get());
}

void Form1::HideWindow() { ShowWindow(hwnd_, SW_HIDE); }

void Form1::AddTrayIcon() { Module1::AddTrayIcon(trayData_); }

void Form1::AddHotkeys(Hotkey first, Hotkey second) {
  const Module3::HotkeyResults r = Module3::AddHotkeys(hwnd_, first, second);
  hotkeyNotice_ = HotkeyNotice(r.first, r.second);
}

void Form1::HookWindow() {
  Module3::SetSummon([this](HWND) { Summon(); });
  Module3::HookWindow(hwnd_);
}

// ---- Enter and Esc ----

std::optional<std::string> Form1::ReadCommandFile(const std::u16string& name) {
  const std::u16string path = CommandFilePath(installFolder_, name);
  const auto tell = [&](DWORD error) {
    const std::u16string text =
        u"コマンドファイルを読み込めません。\n\n" + ShortenedForMessage(path) + u"\n\n" + SystemMessage(error, path);
    MessageBoxW(hwnd_, W(text), kLauncherCaption, MB_ICONEXCLAMATION | MB_OK);
  };
  SetLastError(ERROR_SUCCESS);  // a folder of that name leaves no error
  if (!IsRegularFile(path)) {
    // A name not in the list is a typing slip and goes unsaid; a listed command whose file went
    // away since the listing, or cannot be reached, is a failure like any other start.
    const DWORD error = GetLastError();
    if (list_.Contains(name)) tell(error == ERROR_SUCCESS ? ERROR_FILE_NOT_FOUND : error);
    return std::nullopt;
  }
  std::optional<std::string> bytes = ReadFileBytes(path);
  if (!bytes) tell(GetLastError());
  return bytes;
}

void Form1::ClearInput() { SetWindowTextW(text1_, L""); }

void Form1::FocusWindow() { SetFocus(hwnd_); }

bool Form1::ActivateDesktop() { return desktop_.Activate(); }

void Form1::AwaitDesktop() { desktop_.Await(); }

void Form1::DisableTimer() { SetTimer1(false); }

void Form1::SendAltEsc() { tav::SendAltEsc(); }

void Form1::AllowForeground() {
  // The launcher has handed the foreground to the desktop by now, but it received the last input
  // (the Enter), so it may still pass the right on.
  AllowSetForegroundWindow(ASFW_ANY);
}

void Form1::StartCommandLine(const std::u16string& commandLine, StartAs as) { processStart_.Start(commandLine, as); }

// ---- exit steps ----

void Form1::UnregisterHotkeys() { Module3::UnregisterHotkeys(hwnd_); }

void Form1::DeleteAtoms() { Module3::DeleteAtoms(); }

void Form1::UnhookWindow() { Module3::UnhookWindow(hwnd_); }

void Form1::RemoveTrayIcon() { Module1::RemoveTrayIcon(trayData_); }

void Form1::DestroyForm() {
  KillTimer(hwnd_, kTimer1);
  if (accProps_) accProps_->ClearHwndProps(text1_, static_cast<DWORD>(OBJID_CLIENT), CHILDID_SELF, &PROPID_ACC_NAME, 1);
  TextsWatch::Detach(hwnd_);
  DestroyWindow(hwnd_);  // then the program ends
}

}  // namespace tav
