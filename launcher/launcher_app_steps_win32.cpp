// The application's side of the launcher's start-up, Enter and Esc, and exit sequences
// (launcher_sequences.h): each step a call into the module or window that owns it, in the order
// the sequences give.
#include "collation_win32.h"
#include "command_file.h"
#include "file_io.h"
#include "folder_listing_win32.h"
#include "hotkeys_win32.h"
#include "install_folder.h"
#include "launcher_app_win32.h"
#include "profile_file.h"
#include "system_message_win32.h"
#include "text_encoding.h"
#include "tray_icon_win32.h"

namespace tav {

// ---- start-up steps ----

Settings LauncherApp::ReadSettings() {
  auto file = OpenWin32Profile(SettingsFilePath(installFolder_), std::u16string(kSettingsSection));
  return ReadLauncherSettings(*file);
}

void LauncherApp::LoadCommandList() {
  list_.Build(ListFileNameTable(TextsFolderPath(installFolder_)), UserCollation());
}

void LauncherApp::LoadSkin() { form_.LoadSkin(SkinFilePath(installFolder_)); }

void LauncherApp::ShowAlreadyRunning() {
  MessageBoxW(nullptr, L"このアプリケーションは既に起動しています", kLauncherCaption, MB_ICONEXCLAMATION | MB_OK);
}

void LauncherApp::FillTrayData() {
  smallIcon_.reset(static_cast<HICON>(LoadImageW(instance_, MAKEINTRESOURCEW(1), IMAGE_ICON,
                                                 GetSystemMetrics(SM_CXSMICON), GetSystemMetrics(SM_CYSMICON), 0)));
  trayData_ = Module1::MakeTrayData(form_.Hwnd(), smallIcon_.get());
}

void LauncherApp::AddTrayIcon() { Module1::AddTrayIcon(trayData_); }

void LauncherApp::AddHotkeys(Hotkey first, Hotkey second) {
  const Module3::HotkeyResults r = Module3::AddHotkeys(form_.Hwnd(), first, second);
  hotkeyNotice_ = HotkeyNotice(r.first, r.second);
}

void LauncherApp::HookWindow() {
  Module3::SetSummon([this](HWND) { form_.Summon(); });
  Module3::HookWindow(form_.Hwnd());
}

// ---- Enter and Esc ----

std::optional<std::string> LauncherApp::ReadCommandFile(const std::u16string& name) {
  const std::u16string path = CommandFilePath(installFolder_, name);
  const auto tell = [&](DWORD error) {
    const std::u16string text =
        u"コマンドファイルを読み込めません。\n\n" + ShortenedForMessage(path) + u"\n\n" + SystemMessage(error, path);
    MessageBoxW(form_.Hwnd(), W(text), kLauncherCaption, MB_ICONEXCLAMATION | MB_OK);
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

std::u16string LauncherApp::ClipboardText() {
  if (!IsClipboardFormatAvailable(CF_UNICODETEXT)) return {};
  // Another program may hold it for a moment.
  for (int attempt = 0; !OpenClipboard(form_.Hwnd()); ++attempt) {
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

void LauncherApp::SendAltEsc() { tav::SendAltEsc(); }

void LauncherApp::AllowForeground() {
  // The launcher has handed the foreground to the desktop by now, but it received the last input
  // (the Enter), so it may still pass the right on.
  AllowSetForegroundWindow(ASFW_ANY);
}

// ---- exit steps ----

void LauncherApp::UnregisterHotkeys() { Module3::UnregisterHotkeys(form_.Hwnd()); }

void LauncherApp::DeleteAtoms() { Module3::DeleteAtoms(); }

void LauncherApp::UnhookWindow() { Module3::UnhookWindow(form_.Hwnd()); }

void LauncherApp::RemoveTrayIcon() { Module1::RemoveTrayIcon(trayData_); }

void LauncherApp::DestroyForm() {
  TextsWatch::Detach(form_.Hwnd());
  form_.Destroy();
}

}  // namespace tav
