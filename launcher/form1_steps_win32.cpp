// Form1's side of the launcher's start-up and exit sequences (launcher_sequences.h): each step a
// call into the module that owns it, in the order the sequences give.
#include <oleacc.h>

#include "collation_win32.h"
#include "folder_listing_win32.h"
#include "form1_win32.h"
#include "hotkeys_win32.h"
#include "install_folder.h"
#include "profile_file.h"
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
  MessageBoxW(nullptr, L"このアプリケーションは既に起動しています", L"Tavimbra", MB_ICONEXCLAMATION | MB_OK);
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
