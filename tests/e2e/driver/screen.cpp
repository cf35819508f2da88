#include "driver/screen.h"

#include <cstdlib>
#include <fstream>

namespace tav::e2e {

COLORREF ScreenPixel(HWND w, int x, int y) {
  POINT p{x, y};
  ClientToScreen(w, &p);
  HDC dc = GetDC(nullptr);
  COLORREF c = GetPixel(dc, p.x, p.y);
  ReleaseDC(nullptr, dc);
  return c;
}

namespace {
BITMAPINFOHEADER TopDown32(int width, int height) {
  BITMAPINFOHEADER bi{};
  bi.biSize = sizeof bi;
  bi.biWidth = width;
  bi.biHeight = -height;
  bi.biPlanes = 1;
  bi.biBitCount = 32;
  return bi;
}
}  // namespace

ScreenPixels CaptureScreen(const RECT& r) {
  ScreenPixels p{r.right - r.left, r.bottom - r.top, {}};
  HDC screen = GetDC(nullptr);
  HDC mem = CreateCompatibleDC(screen);
  HBITMAP bmp = CreateCompatibleBitmap(screen, p.width, p.height);
  HGDIOBJ old = SelectObject(mem, bmp);
  BitBlt(mem, 0, 0, p.width, p.height, screen, r.left, r.top, SRCCOPY);
  SelectObject(mem, old);
  BITMAPINFOHEADER bi = TopDown32(p.width, p.height);
  p.px.resize(static_cast<std::size_t>(p.width) * p.height);
  GetDIBits(mem, bmp, 0, static_cast<UINT>(p.height), p.px.data(), reinterpret_cast<BITMAPINFO*>(&bi), DIB_RGB_COLORS);
  DeleteObject(bmp);
  DeleteDC(mem);
  ReleaseDC(nullptr, screen);
  return p;
}

ScreenPixels CaptureClient(HWND w) {
  RECT r;
  GetClientRect(w, &r);
  MapWindowPoints(w, nullptr, reinterpret_cast<POINT*>(&r), 2);
  return CaptureScreen(r);
}

std::pair<int, int> InkColumns(const ScreenPixels& p, DWORD background) {
  std::pair<int, int> ink{-1, -1};
  for (int x = 0; x < p.width; ++x)
    for (int y = 0; y < p.height; ++y) {
      int d = 0;
      for (int shift : {0, 8, 16})
        d += std::abs(static_cast<int>(p.At(x, y) >> shift & 0xFF) - static_cast<int>(background >> shift & 0xFF));
      if (d > 200) {
        if (ink.first < 0) ink.first = x;
        ink.second = x;
        break;
      }
    }
  return ink;
}

bool NearColour(COLORREF a, COLORREF b) {
  return std::abs(GetRValue(a) - GetRValue(b)) <= 32 && std::abs(GetGValue(a) - GetGValue(b)) <= 32 &&
         std::abs(GetBValue(a) - GetBValue(b)) <= 32;
}

void SaveScreenshot(const std::filesystem::path& file) {
  const ScreenPixels p = CaptureScreen({0, 0, GetSystemMetrics(SM_CXVIRTUALSCREEN), GetSystemMetrics(SM_CYVIRTUALSCREEN)});
  const BITMAPINFOHEADER bi = TopDown32(p.width, p.height);
  const DWORD bytes = static_cast<DWORD>(p.px.size() * sizeof(DWORD));
  BITMAPFILEHEADER bf{};
  bf.bfType = 0x4D42;
  bf.bfOffBits = sizeof bf + sizeof bi;
  bf.bfSize = bf.bfOffBits + bytes;
  std::ofstream f(file, std::ios::binary);
  f.write(reinterpret_cast<const char*>(&bf), sizeof bf);
  f.write(reinterpret_cast<const char*>(&bi), sizeof bi);
  f.write(reinterpret_cast<const char*>(p.px.data()), bytes);
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
