// Quick registration of a file handed over on the command line (Send To).
#pragma once
#include <windows.h>

#include <string>

namespace tav::settings {

// Shows Form3 for the argument text and runs until the program is to end; returns the exit code.
int RunQuickRegistration(HINSTANCE instance, const std::u16string& argumentText);

}  // namespace tav::settings
