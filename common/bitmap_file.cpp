#include "bitmap_file.h"

#include <cstdlib>

namespace tav {
namespace {

std::uint32_t U16(std::string_view b, std::size_t at) {
  return static_cast<std::uint8_t>(b[at]) | static_cast<std::uint32_t>(static_cast<std::uint8_t>(b[at + 1])) << 8;
}
std::uint32_t U32(std::string_view b, std::size_t at) { return U16(b, at) | U16(b, at + 2) << 16; }

constexpr std::uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;
constexpr std::int64_t kMaxSide = 32768;  // far beyond any skin; keeps the sizes below from overflowing

}  // namespace

bool IsCompleteBitmap(std::string_view head, std::uint64_t fileSize) {
  constexpr std::size_t kFileHeader = 14;
  if (head.size() < kFileHeader + 12 || head.substr(0, 2) != "BM") return false;
  const std::uint64_t pixelsAt = U32(head, 10);
  const std::uint32_t infoSize = U32(head, 14);
  std::int64_t width, height;
  std::uint32_t planes, bits, compression = kRgb, imageSize = 0;
  if (infoSize == 12) {  // the old core header
    width = U16(head, 18);
    height = U16(head, 20);
    planes = U16(head, 22);
    bits = U16(head, 24);
  } else if (infoSize >= 40 && head.size() >= kFileHeader + 40) {
    width = static_cast<std::int32_t>(U32(head, 18));
    height = static_cast<std::int32_t>(U32(head, 22));
    planes = U16(head, 26);
    bits = U16(head, 28);
    compression = U32(head, 30);
    imageSize = U32(head, 34);
  } else {
    return false;
  }
  height = std::llabs(height);
  if (width <= 0 || height == 0 || width > kMaxSide || height > kMaxSide || planes != 1) return false;
  if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32) return false;
  if (pixelsAt < kFileHeader + infoSize || pixelsAt > fileSize) return false;
  std::uint64_t pixelBytes;
  if (compression == kRgb || compression == kBitFields) {
    pixelBytes = static_cast<std::uint64_t>((width * bits + 31) / 32 * 4) * static_cast<std::uint64_t>(height);
  } else if ((compression == kRle8 && bits == 8) || (compression == kRle4 && bits == 4)) {
    if (imageSize == 0) return false;
    pixelBytes = imageSize;
  } else {
    return false;
  }
  return fileSize - pixelsAt >= pixelBytes;
}

}  // namespace tav
