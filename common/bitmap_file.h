// Whether a file is a whole Windows bitmap, judged from its headers and its size, before the
// platform's loader reads it (a loader that trusts the headers of a cut file reads past its end).
#pragma once
#include <cstddef>
#include <cstdint>
#include <string_view>

namespace tav {

// The first bytes of the file (at least kBitmapHeadBytes when the file has them) and its size.
inline constexpr std::size_t kBitmapHeadBytes = 54;
bool IsCompleteBitmap(std::string_view head, std::uint64_t fileSize);

}  // namespace tav
