#include "text_encoding.h"

namespace tav {

namespace {

// The well-formed UTF-8 sequence at in[i]: its length and code point, or length 0 when there is
// none (stray continuation byte, truncated sequence, overlong form, surrogate, beyond U+10FFFF).
std::size_t Utf8SequenceAt(std::string_view in, std::size_t i, char32_t& cp) {
  unsigned char c = static_cast<unsigned char>(in[i]);
  std::size_t len;
  char32_t min;
  if (c < 0x80) {
    cp = c;
    return 1;
  } else if ((c >> 5) == 0x6) {
    len = 2, min = 0x80;
  } else if ((c >> 4) == 0xE) {
    len = 3, min = 0x800;
  } else if ((c >> 3) == 0x1E) {
    len = 4, min = 0x10000;
  } else {
    return 0;
  }
  if (i + len > in.size()) return 0;
  char32_t v = c & (0x7F >> len);
  for (std::size_t k = 1; k < len; ++k) {
    unsigned char cc = static_cast<unsigned char>(in[i + k]);
    if ((cc >> 6) != 0x2) return 0;
    v = (v << 6) | (cc & 0x3F);
  }
  if (v < min || v > 0x10FFFF || (v >= 0xD800 && v <= 0xDFFF)) return 0;
  cp = v;
  return len;
}

}  // namespace

bool SurvivesAnsi(std::u16string_view text) { return FromAnsi(ToAnsi(text)) == text; }

std::u16string NotStorableMessage(std::u16string_view what, std::u16string_view value) {
  return std::u16string(what) + u" [" + std::u16string(value) + u"] に、このシステムの文字コードで保存できない文字が含まれています。\r\n";
}

std::u16string FromUtf8(std::string_view in) {
  std::u16string out;
  out.reserve(in.size());
  std::size_t i = 0;
  while (i < in.size()) {
    char32_t cp = 0xFFFD;
    std::size_t len = Utf8SequenceAt(in, i, cp);
    if (len == 0) {
      cp = 0xFFFD;  // one replacement character per byte that starts no sequence
      len = 1;
    }
    if (cp >= 0x10000) {
      cp -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(cp));
    }
    i += len;
  }
  return out;
}

bool IsMultibyteUtf8(std::string_view bytes) {
  bool multibyte = false;
  for (std::size_t i = 0; i < bytes.size();) {
    char32_t cp;
    std::size_t len = Utf8SequenceAt(bytes, i, cp);
    if (len == 0) return false;
    multibyte = multibyte || len > 1;
    i += len;
  }
  return multibyte;
}

std::string ToUtf8(std::u16string_view in) {
  std::string out;
  out.reserve(in.size());
  for (std::size_t i = 0; i < in.size(); ++i) {
    char32_t cp = in[i];
    if (cp >= 0xD800 && cp <= 0xDBFF && i + 1 < in.size() && in[i + 1] >= 0xDC00 && in[i + 1] <= 0xDFFF) {
      cp = 0x10000 + ((cp - 0xD800) << 10) + (in[i + 1] - 0xDC00);
      ++i;
    } else if (cp >= 0xD800 && cp <= 0xDFFF) {
      cp = 0xFFFD;
    }
    if (cp < 0x80) {
      out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
      out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
      out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
      out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
      out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
  }
  return out;
}

std::u16string FromUtf16Bytes(std::string_view bytes, bool le) {
  std::u16string out;
  out.reserve(bytes.size() / 2);
  for (std::size_t i = 0; i + 1 < bytes.size(); i += 2) {
    auto lo = static_cast<unsigned char>(bytes[le ? i : i + 1]);
    auto hi = static_cast<unsigned char>(bytes[le ? i + 1 : i]);
    out.push_back(static_cast<char16_t>(lo | (hi << 8)));
  }
  return out;
}

std::u16string FitAnsiBytes(std::u16string_view text, std::size_t maxBytes) {
  // Fast path: the whole text fits.
  if (ToAnsi(text).size() <= maxBytes) return std::u16string(text);
  std::size_t used = 0, i = 0;
  while (i < text.size()) {
    std::size_t n = (text[i] >= 0xD800 && text[i] <= 0xDBFF && i + 1 < text.size()) ? 2 : 1;
    std::size_t bytes = ToAnsi(text.substr(i, n)).size();
    if (used + bytes > maxBytes) break;
    used += bytes;
    i += n;
  }
  return std::u16string(text.substr(0, i));
}

char16_t FoldCase(char16_t c) {
  if (c >= u'a' && c <= u'z') return static_cast<char16_t>(c - 32);
  if (c >= 0xFF41 && c <= 0xFF5A) return static_cast<char16_t>(c - 32);  // full-width a-z
  return c;
}

bool EqualsNoCase(std::u16string_view a, std::u16string_view b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (FoldCase(a[i]) != FoldCase(b[i])) return false;
  return true;
}

std::u16string ToDecimal(long long value) {
  std::string s = std::to_string(value);
  return std::u16string(s.begin(), s.end());
}

}  // namespace tav
