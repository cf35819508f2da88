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

}  // namespace tav
