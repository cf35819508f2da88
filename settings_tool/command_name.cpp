#include "command_name.h"

#include "text_encoding.h"

namespace tav::settings {
namespace {

constexpr std::size_t kMaxFileNameChars = 255;
constexpr std::u16string_view kTxt = u".txt";

bool IsForbidden(char16_t c) { return c < 0x20 || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos; }

bool IsDeviceDigit(char16_t c) { return (c >= u'1' && c <= u'9') || c == u'\u00B9' || c == u'\u00B2' || c == u'\u00B3'; }

// The system maps these names to devices whatever follows the first dot, and ignores blanks before it.
bool IsReservedDevice(std::u16string_view fileName) {
  std::u16string_view stem = fileName.substr(0, fileName.find(u'.'));
  while (!stem.empty() && stem.back() == u' ') stem.remove_suffix(1);
  for (std::u16string_view d : {u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"})
    if (EqualsNoCase(stem, d)) return true;
  if (stem.size() == 4 && IsDeviceDigit(stem[3]))
    return EqualsNoCase(stem.substr(0, 3), u"COM") || EqualsNoCase(stem.substr(0, 3), u"LPT");
  return false;
}

}  // namespace

CommandNameProblem CheckCommandName(std::u16string_view name) {
  for (char16_t c : name)
    if (IsForbidden(c)) return CommandNameProblem::kForbiddenCharacter;
  std::u16string fileName = std::u16string(name) + std::u16string(kTxt);
  if (IsReservedDevice(fileName)) return CommandNameProblem::kReservedDevice;
  if (fileName.size() > kMaxFileNameChars) return CommandNameProblem::kTooLong;
  return CommandNameProblem::kNone;
}

std::u16string CommandNameMessage(CommandNameProblem problem, std::u16string_view name) {
  switch (problem) {
    case CommandNameProblem::kNone:
      return {};
    case CommandNameProblem::kForbiddenCharacter:
      return u"このコマンド名は登録できません。\r\n"
             u"コマンド名には \\ / : * ? \" < > | と制御文字を使えません。";
    case CommandNameProblem::kReservedDevice:
      return u"コマンド名「" + std::u16string(name) +
             u"」は登録できません。\r\n"
             u"CON, PRN, AUX, NUL, COM1～COM9, LPT1～LPT9 はWindowsが予約している名前です。";
    case CommandNameProblem::kTooLong:
      return u"コマンド名が長すぎます。\r\n"
             u"コマンド名は " +
             ToDecimal(static_cast<long long>(kMaxFileNameChars - kTxt.size())) + u" 文字までです。";
  }
  return {};
}

}  // namespace tav::settings
