// What the (virtual) screen shows.
#pragma once
#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>

namespace tav::e2e {

// Colour on the screen at a point of a window's client area.
COLORREF ScreenPixel(HWND w, int x, int y);

// Saves a screenshot of the whole (virtual) screen as a BMP (for looking at, not for asserting).
void SaveScreenshot(const std::filesystem::path& file);

// The folder TAV_SHOTS names for screenshots to look at; none when it is not set.
std::optional<std::filesystem::path> ShotsFolder();
// With TAV_SHOTS naming a folder, the screen as it stands (once windows have finished painting)
// goes to <folder>\<name>.bmp, to look at; nothing otherwise.
void ShotIfWanted(const std::wstring& name);

}  // namespace tav::e2e
