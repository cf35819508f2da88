#include "environment_block.h"

namespace tav {

namespace {
char16_t FoldAscii(char16_t c) { return c >= u'a' && c <= u'z' ? static_cast<char16_t>(c - u'a' + u'A') : c; }
}  // namespace

std::optional<std::u16string> EnvironmentValue(const char16_t* block, std::u16string_view name) {
  if (!block || name.empty()) return std::nullopt;
  for (const char16_t* entry = block; *entry;) {
    std::u16string_view e(entry);
    entry += e.size() + 1;
    // The name ends at the first "=" after its first character ("=C:=C:\\" is named "=C:").
    const std::size_t eq = e.find(u'=', 1);
    if (eq != name.size() || e[0] == u'=') continue;
    bool same = true;
    for (std::size_t i = 0; i < eq && same; ++i) same = FoldAscii(e[i]) == FoldAscii(name[i]);
    if (same) return std::u16string(e.substr(eq + 1));
  }
  return std::nullopt;
}

std::u16string ExpandEnvironmentText(std::u16string_view text, const char16_t* block) {
  std::u16string out;
  out.reserve(text.size());
  std::size_t pos = 0;
  while (pos < text.size()) {
    const std::size_t open = text.find(u'%', pos);
    const std::size_t close = open == std::u16string_view::npos ? open : text.find(u'%', open + 1);
    if (close == std::u16string_view::npos) break;
    out.append(text.substr(pos, open - pos));
    if (auto value = EnvironmentValue(block, text.substr(open + 1, close - open - 1)))
      out += *value;
    else
      out.append(text.substr(open, close + 1 - open));
    pos = close + 1;
  }
  out.append(text.substr(pos));
  return out;
}

}  // namespace tav
