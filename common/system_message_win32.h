#pragma once
#include <windows.h>

#include <string>

namespace tav {
// The system's own text for an error code, without the trailing line end.
std::u16string SystemMessage(DWORD error);
}  // namespace tav
