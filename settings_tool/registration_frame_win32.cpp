#include "registration_frame_win32.h"

namespace tav::settings {

// Placeholder until the registration group lands.
void RegistrationFrame::Create(HWND parent, HINSTANCE, UINT, HFONT) { parent_ = parent; }

bool RegistrationFrame::OnCommand(WPARAM wParam, LPARAM) {
  int id = LOWORD(wParam);
  return id >= kRegistrationFirstId && id <= kRegistrationLastId;
}

}  // namespace tav::settings
