#include "command_name.h"

#include "command_file.h"
#include "text_encoding.h"

namespace tav::settings {
namespace {

constexpr std::size_t kMaxFileNameChars = 255;
constexpr std::u16string_view kTxt = u".txt";

}  // namespace

CommandNameProblem CheckCommandName(std::u16string_view name) {
  if (HasCharacterForbiddenInFileNames(name)) return CommandNameProblem::kForbiddenCharacter;
  std::u16string fileName = std::u16string(name) + std::u16string(kTxt);
  if (IsReservedDeviceName(fileName)) return CommandNameProblem::kReservedDevice;
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
