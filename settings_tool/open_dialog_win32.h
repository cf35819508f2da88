// The standard open-file dialog (module openfile).
#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace tav::settings::openfile {

// The chosen file's full path, or empty when the user cancels or the dialog fails.
std::u16string ShowOpenDialog(HWND owner, std::u16string_view description, std::u16string_view pattern);

}  // namespace tav::settings::openfile
