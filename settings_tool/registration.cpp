#include "registration.h"

#include <utility>

#include "command_name.h"
#include "install_folder.h"
#include "text_encoding.h"

namespace tav::settings {
namespace {

std::u16string Quoted(std::u16string_view s) {
  std::u16string q;
  q.reserve(s.size() + 2);
  q.append(1, u'"').append(s).append(1, u'"');
  return q;
}

}  // namespace

std::u16string ComposeRegistrationLine(std::u16string_view program, std::u16string_view commandLine,
                                       bool quoteProgram, bool quoteCommandLine) {
  std::u16string p = quoteProgram ? Quoted(program) : std::u16string(program);
  std::u16string c = quoteCommandLine ? Quoted(commandLine) : std::u16string(commandLine);
  return p + u" " + c;
}

std::u16string ReplaceQuestion(std::u16string_view file) {
  return std::u16string(file) + u"は既に存在しています。\r\n既存のファイルを削除しますか?";
}

std::u16string RegisteredMessage(std::u16string_view line) {
  return u"コマンドが登録されました。ファイルの内容は [" + std::u16string(line) + u"]です。";
}

std::u16string TempFolderFor(std::u16string_view textsFolder) { return JoinPath(textsFolder, u"tavimset-temp"); }

std::u16string TempPathFor(std::u16string_view textsFolder, int attempt) {
  return JoinPath(TempFolderFor(textsFolder), u"tavimset-new" + ToDecimal(attempt) + u".tmp");
}

namespace {

FileStatus SaveThroughTemporary(CommandFiles& files, std::u16string_view textsFolder, const std::u16string& target,
                                std::string_view bytes) {
  for (int attempt = 0; attempt < kTempAttempts; ++attempt) files.RemoveStale(TempPathFor(textsFolder, attempt));
  for (int attempt = 0; attempt < kTempAttempts; ++attempt) {
    std::u16string temp = TempPathFor(textsFolder, attempt);
    FileStatus created = files.CreateNew(temp, bytes);
    if (created.kind == FileStatus::kAlreadyExists) continue;  // not ours: leave it alone
    if (created.kind == FileStatus::kFailed) {
      files.Remove(temp);
      created.reason = u"一時ファイル " + temp + u" を作成できませんでした。\r\n" + created.reason;
      return created;
    }
    FileStatus moved = files.MoveReplacing(temp, target);
    if (moved.kind != FileStatus::kOk) {
      files.Remove(temp);
      moved.kind = FileStatus::kFailed;
      return moved;
    }
    return FileStatus::Ok();
  }
  return FileStatus::Failed(u"一時ファイルの名前を決められませんでした。");
}

}  // namespace

FileStatus SaveCommandFile(CommandFiles& files, std::u16string_view textsFolder, const std::u16string& target,
                           std::string_view bytes) {
  const std::u16string folder = TempFolderFor(textsFolder);
  FileStatus made = files.MakeFolder(folder);
  if (made.kind != FileStatus::kOk) {
    made.kind = FileStatus::kFailed;
    made.reason = u"一時ファイルのフォルダ " + folder + u" を作成できませんでした。\r\n" + made.reason;
    return made;
  }
  FileStatus saved = SaveThroughTemporary(files, textsFolder, target, bytes);
  files.RemoveFolderIfEmpty(folder);
  return saved;
}

RegistrationResult RegisterCommand(const RegistrationRequest& r, std::u16string_view installFolder, Dialogs& dialogs,
                                   CommandFiles& files) {
  if (r.name.empty()) {
    dialogs.Message(std::u16string(kNoNameMessage));
    return RegistrationResult::kNotRegistered;
  }
  if (r.program.empty()) {
    dialogs.Message(std::u16string(kNoProgramMessage));
    return RegistrationResult::kNotRegistered;
  }
  // A name the file system cannot hold below texts\ is refused before anything is touched.
  if (CommandNameProblem problem = CheckCommandName(r.name); problem != CommandNameProblem::kNone) {
    dialogs.Error(CommandNameMessage(problem, r.name));
    return RegistrationResult::kNotRegistered;
  }
  // The command file holds one line and the launcher runs its last one: a pasted line break
  // would start only what follows it.
  for (const auto& [text, box] : {std::pair{&r.program, u"実行ファイル"}, std::pair{&r.commandLine, u"コマンドライン"}})
    if (text->find_first_of(u"\r\n") != std::u16string::npos) {
      dialogs.Error(std::u16string(box) +
                    u"に改行が含まれています。\r\n"
                    u"コマンドファイルには1行しか書けないため、コマンドは登録されませんでした。\r\n"
                    u"改行を取り除いてから登録してください。");
      return RegistrationResult::kNotRegistered;
    }
  std::u16string line = ComposeRegistrationLine(r.program, r.commandLine, r.quoteProgram, r.quoteCommandLine);
  std::u16string bytesLine = line + u"\r\n";
  // A character the code page cannot hold would be stored as "?" and break the command line.
  if (!SurvivesAnsi(bytesLine)) {
    dialogs.Error(NotStorableMessage(u"ファイルの内容", line) + u"コマンドは登録されませんでした。");
    return RegistrationResult::kNotRegistered;
  }
  std::u16string file = CommandFilePath(installFolder, r.name);
  std::u16string folder = TextsFolderPath(installFolder);
  if (!files.FolderExists(folder)) {
    dialogs.Error(u"コマンドを保存するフォルダ " + folder + u" がありません。\r\nコマンドは登録されませんでした。");
    return RegistrationResult::kNotRegistered;
  }
  bool existed = files.Exists(file);
  if (existed && !dialogs.AskYesNo(ReplaceQuestion(file))) return RegistrationResult::kNotRegistered;

  FileStatus saved = SaveCommandFile(files, folder, file, ToAnsi(bytesLine));
  if (saved.kind != FileStatus::kOk) {
    std::u16string text = file + u" に書き込めませんでした。\r\n" + saved.reason + u"\r\n";
    text += existed ? u"既存のファイルは元の内容のまま残っています。" : u"コマンドは登録されませんでした。";
    dialogs.Error(text);
    return RegistrationResult::kNotRegistered;
  }
  dialogs.Message(RegisteredMessage(line));
  return r.quitAfter ? RegistrationResult::kQuit : RegistrationResult::kRegistered;
}

}  // namespace tav::settings
