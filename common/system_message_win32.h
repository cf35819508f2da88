#pragma once
#include <windows.h>

#include <string>
#include <string_view>

namespace tav {
// The system's own text for an error code, without the trailing line end; an insert in it (%1)
// names what failed: insert, or our own words when none is given.
std::u16string SystemMessage(DWORD error, std::u16string_view insert = {});
}  // namespace tav
