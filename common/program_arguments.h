// The program's own arguments: its command line split as the platform's start-up code splits off the
// program name.
#pragma once
#include <string>
#include <string_view>

namespace tav {

// Everything after the program name (quoted or not) and the blanks that follow it, unchanged:
// the argument text as one text, quotes as the shell put them.
std::u16string ArgumentText(std::u16string_view commandLine);

// The target the generic opener opens: the argument text without the blanks around it and
// without one pair of enclosing double quotes.
std::u16string OpenTarget(std::u16string_view argumentText);

}  // namespace tav
