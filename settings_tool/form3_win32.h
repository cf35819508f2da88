// Quick registration of a file handed over on the command line (Send To).
#pragma once
#include <windows.h>

#include <string>

namespace tav::settings {

// Shows Form3 for the argument text and runs until the program is to end; returns the exit code.
int RunQuickRegistration(HINSTANCE instance, const std::u16string& argumentText);

// As above, with the command files below installFolder instead of the program's own folder.
int RunQuickRegistration(HINSTANCE instance, const std::u16string& argumentText, const std::u16string& installFolder);

}  // namespace tav::settings
