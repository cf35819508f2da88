#include "dialogs_win32.h"

#include "text_encoding.h"

namespace tav::settings {

void MessageBoxDialogs::Message(const std::u16string& text) { MessageBoxW(owner_, W(text), kDialogCaption, MB_OK); }

void MessageBoxDialogs::Error(const std::u16string& text) {
  MessageBoxW(owner_, W(text), kDialogCaption, MB_OK | MB_ICONWARNING);
}

bool MessageBoxDialogs::AskYesNo(const std::u16string& text) {
  return MessageBoxW(owner_, W(text), kDialogCaption, MB_YESNO | MB_ICONQUESTION) == IDYES;
}

}  // namespace tav::settings
