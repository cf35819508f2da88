#include "process_start_win32.h"

#include <shellapi.h>

#include "com_win32.h"
#include "command_file.h"
#include "file_io.h"
#include "system_message_win32.h"
#include "text_encoding.h"
#include "window_win32.h"

namespace tav {

unsigned long LauncherProcessStart::StartDirectly(const std::u16string& commandLine) {
  return CreateProcessShownNormally(nullptr, commandLine, environment_.CreationFlags(), environment_.Block(),
                                    W(folder_))
      .error;
}

bool LauncherProcessStart::NamesProgramFile(const std::u16string& path) {
  // Relative names resolve against the installation folder, the current directory.
  if (IsRegularFile(path)) return true;
  const std::size_t slash = path.find_last_of(u"\\/:");
  const std::size_t name = slash == std::u16string::npos ? 0 : slash + 1;
  return path.find(u'.', name) == std::u16string::npos && IsRegularFile(path + u".exe");
}

unsigned long LauncherProcessStart::StartThroughShell(const std::u16string& program,
                                                      const std::u16string& parameters, StartAs as) {
  // The shell shows the elevation prompt (consent runs outside this process). The elevated
  // program gets the environment the system gives it, not the launcher's refreshed block.
  const ComApartment com;
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_FLAG_NO_UI;  // failures are told in the launcher's own words
  // Taken at the call: the launcher is hidden by now, and Windows shows the prompt in front only
  // for an owner in the foreground (else it flashes in the taskbar while this thread waits).
  info.hwnd = PromptOwner(calls_.foreground(), own_, desktop_.HandedTo());
  // The default action runs a program (asking when its manifest requires it); "runas" always asks.
  info.lpVerb = as == StartAs::administrator ? L"runas" : nullptr;
  info.lpFile = W(program);
  info.lpParameters = parameters.empty() ? nullptr : W(parameters);
  info.lpDirectory = W(folder_);
  info.nShow = SW_SHOWNORMAL;
  return calls_.execute(&info) ? 0 : GetLastError();
}

void LauncherProcessStart::ShowStartFailure(const std::u16string& commandLine, unsigned long error) {
  // "%1 is not a valid Win32 application" (a document as the program): named as the system would.
  ShowCannotRun(commandLine, SystemMessage(static_cast<DWORD>(error), SplitProgram(commandLine, *this).program));
}

void LauncherProcessStart::ShowCannotRun(const std::u16string& commandLine, const std::u16string& reason) {
  const std::u16string text = u"コマンドを実行できません。\n\n" + ShortenedForMessage(commandLine) + u"\n\n" + reason;
  MessageBoxW(nullptr, W(text), kLauncherCaption, MB_ICONEXCLAMATION | MB_OK | MB_SETFOREGROUND);
}

}  // namespace tav
