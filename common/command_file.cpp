#include "command_file.h"

#include <algorithm>

#include "text_encoding.h"

namespace tav {

CommandInput SplitCommandInput(std::u16string_view input) {
  auto pos = input.find(u'/');
  if (pos == std::u16string_view::npos) return {std::u16string(input), std::nullopt};
  return {std::u16string(input.substr(0, pos)), std::u16string(input.substr(pos + 1))};
}

bool HasCharacterForbiddenInFileNames(std::u16string_view name) {
  return std::any_of(name.begin(), name.end(), [](char16_t c) {
    return c < 0x20 || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos;
  });
}

namespace {
bool IsDeviceDigit(char16_t c) { return (c >= u'1' && c <= u'9') || c == u'\u00B9' || c == u'\u00B2' || c == u'\u00B3'; }
}  // namespace

bool IsReservedDeviceName(std::u16string_view fileName) {
  std::u16string_view stem = fileName.substr(0, fileName.find(u'.'));
  while (!stem.empty() && stem.back() == u' ') stem.remove_suffix(1);
  for (std::u16string_view d : {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"})
    if (EqualsNoCase(stem, d)) return true;
  if (stem.size() == 4 && IsDeviceDigit(stem[3]))
    return EqualsNoCase(stem.substr(0, 3), u"COM") || EqualsNoCase(stem.substr(0, 3), u"LPT");
  return false;
}

bool NamesFileInTexts(std::u16string_view name) {
  return !HasCharacterForbiddenInFileNames(name) && !IsReservedDeviceName(std::u16string(name) + u".txt");
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

std::u16string AppendArgument(std::u16string line, const CommandInput& input) {
  if (input.args) line += u" " + *input.args;
  return line;
}

std::u16string PercentEncoded(std::u16string_view text) {
  static constexpr char kHex[] = "0123456789ABCDEF";
  std::u16string out;
  for (unsigned char b : ToUtf8(text)) {
    const bool unreserved = (b >= 'A' && b <= 'Z') || (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' ||
                            b == '_' || b == '.' || b == '~';
    if (unreserved) {
      out += static_cast<char16_t>(b);
    } else {
      out += u'%';
      out += static_cast<char16_t>(kHex[b >> 4]);
      out += static_cast<char16_t>(kHex[b & 15]);
    }
  }
  return out;
}

std::u16string PlaceArgument(std::u16string_view line, const CommandInput& input,
                             const std::function<std::u16string()>& clipboard) {
  constexpr std::u16string_view kArg = u"{arg}", kArgUrl = u"{arg:url}", kClipboard = u"{clipboard}";
  const std::u16string arg = input.args.value_or(u"");
  std::u16string out;
  bool tookArgument = false;
  // One pass: what a token puts in is never read for tokens again.
  for (std::size_t i = 0; i < line.size();) {
    const std::u16string_view rest = line.substr(i);
    if (rest.substr(0, kArg.size()) == kArg) {
      out += arg, i += kArg.size(), tookArgument = true;
    } else if (rest.substr(0, kArgUrl.size()) == kArgUrl) {
      out += PercentEncoded(arg), i += kArgUrl.size(), tookArgument = true;
    } else if (rest.substr(0, kClipboard.size()) == kClipboard) {
      out += clipboard ? clipboard() : std::u16string(), i += kClipboard.size();
    } else {
      out += line[i++];
    }
  }
  return tookArgument ? out : AppendArgument(std::move(out), input);
}

std::u16string CommandLineProblem(std::u16string_view commandLine) {
  // The platform reads the line up to its first NUL: the rest would be dropped without a word.
  if (commandLine.find(u'\0') != std::u16string_view::npos)
    return u"コマンドラインに NUL 文字 (0x00) が含まれています。コマンドファイルがテキストではない可能性があります。";
  if (commandLine.size() > kMaxCommandLineLength)
    return u"コマンドラインが長すぎます (" + ToDecimal(static_cast<long long>(commandLine.size())) +
           u" 文字)。Windows が受け付けるのは " + ToDecimal(static_cast<long long>(kMaxCommandLineLength)) +
           u" 文字までです。";
  return {};
}

std::u16string ShortenedForMessage(std::u16string_view text, std::size_t maxUnits) {
  std::size_t keep = std::min(maxUnits, text.size());
  if (keep < text.size() && keep > 0 && text[keep - 1] >= 0xD800 && text[keep - 1] <= 0xDBFF) --keep;
  std::u16string out;
  // A NUL would end the message box's text there.
  for (char16_t c : text.substr(0, keep)) c == u'\0' ? out.append(u"<NUL>") : out.append(1, c);
  if (keep < text.size()) out += u"… (全 " + ToDecimal(static_cast<long long>(text.size())) + u" 文字)";
  return out;
}

}  // namespace tav
