#include "form3_win32.h"

namespace tav::settings {

// Placeholder until quick registration lands.
int RunQuickRegistration(HINSTANCE, const std::u16string&) { return 0; }

}  // namespace tav::settings
