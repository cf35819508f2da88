// Which command names can become a command file texts\<name>.txt.
#pragma once
#include <string>
#include <string_view>

namespace tav::settings {

enum class CommandNameProblem {
  kNone,
  kForbiddenCharacter,  // \ / : * ? " < > | or a control character: would leave texts\ or is no file name
  kReservedDevice,      // CON, PRN, AUX, NUL, COM1-9, LPT1-9, also with an extension
  kTooLong,             // name + ".txt" longer than one file name may be
};

// Trailing dots and blanks are fine: ".txt" follows them, so "memo " is the file "memo .txt".
CommandNameProblem CheckCommandName(std::u16string_view name);

// The message shown when a name is refused (empty for kNone).
std::u16string CommandNameMessage(CommandNameProblem problem, std::u16string_view name);

}  // namespace tav::settings
