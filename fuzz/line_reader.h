// The launcher's last line against a plain line reader.
#pragma once
#include <string>
#include <string_view>
#include <vector>

#include "command_file.h"
#include "fuzz_target.h"

namespace tav::fuzz {

// The lines a reader sees that ends a line at CR LF, LF or CR; a final line end opens no line.
inline std::vector<std::u16string> Lines(std::u16string_view t) {
  std::vector<std::u16string> lines;
  std::u16string cur;
  bool open = false;
  for (std::size_t i = 0; i < t.size(); ++i) {
    if (t[i] == u'\r' || t[i] == u'\n') {
      if (t[i] == u'\r' && i + 1 < t.size() && t[i + 1] == u'\n') ++i;
      lines.push_back(cur);
      cur.clear();
      open = false;
    } else {
      cur.push_back(t[i]);
      open = true;
    }
  }
  if (open) lines.push_back(cur);
  return lines;
}

inline void CheckLastLine(std::u16string_view text) {
  auto lines = Lines(text);
  auto last = LastLine(text);
  TAV_CHECK(last.has_value() == !lines.empty());
  if (last) TAV_CHECK(*last == lines.back());
}

}  // namespace tav::fuzz
