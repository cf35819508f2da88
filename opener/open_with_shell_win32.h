// The generic opener's one request to the shell, written once so a test can hand it a fake.
#pragma once
#include <windows.h>
#include <shellapi.h>

#include <string>

#include "program_arguments.h"
#include "text_encoding.h"

namespace tav {

inline constexpr int kOpened = 0, kNotOpened = 1, kNothingToOpen = 2;  // exit codes

// Opens the target named by the opener's command line as a double click in Explorer would: the
// type's default verb (which need not be "open"), and the shell's own interface allowed, so a type
// without a program offers the "open with" choice and the shell tells its own failures. owner gives
// the window in front at the moment of the call (PromptOwner of the foreground), so those prompts
// come up in front; execute is ShellExecuteExW; both may be a test's fakes. tellNothingToOpen
// shows the opener's message for an empty target. Returns the exit code.
template <class Owner, class Execute, class Tell>
int OpenWithShell(std::u16string_view commandLine, Owner&& owner, Execute&& execute, Tell&& tellNothingToOpen) {
  const std::u16string target = OpenTarget(ArgumentText(commandLine));
  if (target.empty()) {
    tellNothingToOpen();
    return kNothingToOpen;
  }
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_NOASYNC;  // the process ends right after the call
  info.lpVerb = nullptr;          // the default verb
  info.lpFile = W(target);
  info.nShow = SW_SHOWNORMAL;
  info.hwnd = owner();
  // A failure, or "open with" cancelled, has been shown or chosen by the user already.
  return execute(&info) ? kOpened : kNotOpened;
}

}  // namespace tav
