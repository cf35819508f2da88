// On POSIX hosts (native unit tests) the "ANSI code page" is UTF-8.
#include "text_encoding.h"

namespace tav {
std::u16string FromAnsi(std::string_view bytes) { return FromUtf8(bytes); }
std::string ToAnsi(std::u16string_view text) { return ToUtf8(text); }
}  // namespace tav
