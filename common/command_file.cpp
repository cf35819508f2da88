#include "command_file.h"

#include "text_encoding.h"

namespace tav {

CommandInput SplitCommandInput(std::u16string_view input) {
  auto pos = input.find(u'/');
  if (pos == std::u16string_view::npos) return {std::u16string(input), std::nullopt};
  return {std::u16string(input.substr(0, pos)), std::u16string(input.substr(pos + 1))};
}

std::u16string DecodeCommandFile(std::string_view bytes) {
  if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return FromUtf8(bytes.substr(3));
  if (bytes.substr(0, 2) == "\xFF\xFE" || bytes.substr(0, 2) == "\xFE\xFF")
    return FromUtf16Bytes(bytes.substr(2), bytes[0] == '\xFF');
  if (IsMultibyteUtf8(bytes)) return FromUtf8(bytes);
  return FromAnsi(bytes);
}

std::optional<std::u16string> LastLine(std::u16string_view text) {
  if (text.empty()) return std::nullopt;
  // Drop one final line end: it closes the last line rather than opening a new one.
  if (text.back() == u'\n') {
    text.remove_suffix(1);
    if (!text.empty() && text.back() == u'\r') text.remove_suffix(1);
  } else if (text.back() == u'\r') {
    text.remove_suffix(1);
  }
  auto pos = text.find_last_of(u"\r\n");
  return std::u16string(pos == std::u16string_view::npos ? text : text.substr(pos + 1));
}

std::u16string ComposeCommandLine(std::u16string_view fileText, const CommandInput& input) {
  auto line = LastLine(fileText);
  if (!line) return {};
  if (input.args) return *line + u" " + *input.args;
  return *line;
}

}  // namespace tav
