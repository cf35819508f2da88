// Text at the edges: files keep the system ANSI code page, everything inside is UTF-16.
#pragma once
#include <cstddef>
#include <string>
#include <string_view>

namespace tav {

// System ANSI code page <-> UTF-16. The only place that knows the code page
// (CP_ACP on Windows, UTF-8 on POSIX hosts).
std::u16string FromAnsi(std::string_view bytes);
std::string ToAnsi(std::u16string_view text);
// Whether text comes back unchanged from the ANSI code page: a character it cannot hold would be
// stored as another ("?", or a look-alike).
bool SurvivesAnsi(std::u16string_view text);
// The first line of the message for a value that fails SurvivesAnsi: what [value] に、…含まれています。
std::u16string NotStorableMessage(std::u16string_view what, std::u16string_view value);

// UTF-8 <-> UTF-16 (portable). Malformed bytes become U+FFFD, one per byte.
std::u16string FromUtf8(std::string_view bytes);
std::string ToUtf8(std::u16string_view text);
// Whether bytes are well-formed UTF-8 (no overlong forms, surrogates or truncated sequences)
// holding at least one multi-byte character: plain ASCII reads the same in any code page.
bool IsMultibyteUtf8(std::string_view bytes);

// UTF-16 bytes (no mark) in the given byte order; an odd last byte is dropped.
std::u16string FromUtf16Bytes(std::string_view bytes, bool littleEndian);

// Longest prefix of text whose ANSI form takes at most maxBytes bytes, never cutting a
// character (a double-byte character or a surrogate pair) in half.
std::u16string FitAnsiBytes(std::u16string_view text, std::size_t maxBytes);

// Case-insensitive comparison for key and file names (ASCII and full-width Latin letters).
char16_t FoldCase(char16_t c);
bool EqualsNoCase(std::u16string_view a, std::u16string_view b);

std::u16string ToDecimal(long long value);

}  // namespace tav

#ifdef _WIN32
namespace tav {
static_assert(sizeof(wchar_t) == 2, "Windows wide characters are UTF-16 code units");
inline const wchar_t* W(const std::u16string& s) { return reinterpret_cast<const wchar_t*>(s.c_str()); }
inline std::u16string U(const wchar_t* s) { return s ? std::u16string(reinterpret_cast<const char16_t*>(s)) : std::u16string(); }
inline std::u16string U(const wchar_t* s, std::size_t n) { return std::u16string(reinterpret_cast<const char16_t*>(s), n); }
}  // namespace tav
#endif
