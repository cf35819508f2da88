// A command file's text and the typed input as the launcher makes its command line when the line
// holds no token and no variable: the last line, plus the argument when a "/" was typed; "" for a
// file without lines.
#pragma once
#include "command_file.h"

namespace tav {

inline std::u16string ComposeCommandLine(std::u16string_view fileText, const CommandInput& input) {
  auto line = LastLine(fileText);
  return line ? AppendArgument(std::move(*line), input) : std::u16string();
}

}  // namespace tav
