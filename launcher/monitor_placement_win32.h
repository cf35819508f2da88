// The monitors, the foreground window and the pointer as they stand when the window is called up.
#pragma once
#include <windows.h>

#include <functional>
#include <optional>

#include "monitor_placement.h"

namespace tav {

// Where the launcher's window goes now (nothing when the system lists no monitor).
std::optional<SummonPlace> SummonPlaceNow();

// Moves the window w (at dpi now) there; applyDpi first gives it the new scale's font and box.
void MoveToSummonPlace(HWND w, UINT dpi, const std::function<void(UINT)>& applyDpi);

}  // namespace tav
