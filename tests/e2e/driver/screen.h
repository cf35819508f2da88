// What the (virtual) screen shows.
#pragma once
#include <windows.h>

#include <filesystem>
#include <optional>
#include <string>
#include <utility>
#include <vector>

namespace tav::e2e {

// Colour on the screen at a point of a window's client area.
COLORREF ScreenPixel(HWND w, int x, int y);

// A part of the screen as it stands, row by row from the top (0x00RRGGBB).
struct ScreenPixels {
  int width = 0, height = 0;
  std::vector<DWORD> px;
  DWORD At(int x, int y) const { return px[static_cast<std::size_t>(y) * width + x]; }
};
ScreenPixels CaptureScreen(const RECT& onScreen);
ScreenPixels CaptureClient(HWND w);
// The first and last columns holding ink: a pixel whose components differ from background's
// (0x00RRGGBB) by over 200 in all; {-1, -1} where none does.
std::pair<int, int> InkColumns(const ScreenPixels& p, DWORD background);
// Within what smooth scaling of a picture blends in: 32 in each component.
bool NearColour(COLORREF a, COLORREF b);

// Saves a screenshot of the whole (virtual) screen as a BMP (for looking at, not for asserting).
void SaveScreenshot(const std::filesystem::path& file);

// The folder TAV_SHOTS names for screenshots to look at; none when it is not set.
std::optional<std::filesystem::path> ShotsFolder();
// With TAV_SHOTS naming a folder, the screen as it stands (once windows have finished painting)
// goes to <folder>\<name>.bmp, to look at; nothing otherwise.
void ShotIfWanted(const std::wstring& name);

}  // namespace tav::e2e
