// Message boxes owned by a window of the settings program.
#pragma once
#include <windows.h>

#include "registration.h"
#include "window_win32.h"

namespace tav::settings {

inline constexpr const wchar_t* kDialogCaption = kSettingsCaption;

class MessageBoxDialogs : public Dialogs {
 public:
  explicit MessageBoxDialogs(HWND owner) : owner_(owner) {}
  void Message(const std::u16string& text) override;
  void Error(const std::u16string& text) override;
  bool AskYesNo(const std::u16string& text) override;

 private:
  HWND owner_;
};

}  // namespace tav::settings
