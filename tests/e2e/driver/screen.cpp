#include "driver/screen.h"

#include <fstream>
#include <vector>

namespace tav::e2e {

COLORREF ScreenPixel(HWND w, int x, int y) {
  POINT p{x, y};
  ClientToScreen(w, &p);
  HDC dc = GetDC(nullptr);
  COLORREF c = GetPixel(dc, p.x, p.y);
  ReleaseDC(nullptr, dc);
  return c;
}

void SaveScreenshot(const std::filesystem::path& file) {
  HDC screen = GetDC(nullptr);
  int w = GetSystemMetrics(SM_CXVIRTUALSCREEN), h = GetSystemMetrics(SM_CYVIRTUALSCREEN);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, w, h);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, w, h, screen, 0, 0, SRCCOPY);
  BITMAPINFOHEADER bi{};
  bi.biSize = sizeof bi;
  bi.biWidth = w;
  bi.biHeight = h;
  bi.biPlanes = 1;
  bi.biBitCount = 24;
  bi.biCompression = BI_RGB;
  std::vector<char> pixels(static_cast<std::size_t>(((w * 3 + 3) & ~3) * h));
  GetDIBits(mem, bmp, 0, static_cast<UINT>(h), pixels.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
  SelectObject(mem, old);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  BITMAPFILEHEADER bf{};
  bf.bfType = 0x4D42;
  bf.bfOffBits = sizeof bf + sizeof bi;
  bf.bfSize = bf.bfOffBits + static_cast<DWORD>(pixels.size());
  std::ofstream f(file, std::ios::binary);
  f.write(reinterpret_cast<const char*>(&bf), sizeof bf);
  f.write(reinterpret_cast<const char*>(&bi), sizeof bi);
  f.write(pixels.data(), static_cast<std::streamsize>(pixels.size()));
}

std::optional<std::filesystem::path> ShotsFolder() {
  wchar_t folder[MAX_PATH * 4];
  if (!GetEnvironmentVariableW(L"TAV_SHOTS", folder, MAX_PATH * 4)) return std::nullopt;
  return std::filesystem::path(folder);
}

void ShotIfWanted(const std::wstring& name) {
  const auto folder = ShotsFolder();
  if (!folder) return;
  Sleep(700);  // let the windows finish painting
  SaveScreenshot(*folder / (name + L".bmp"));
}

}  // namespace tav::e2e
