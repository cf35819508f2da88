// Writing one command file from a name, a program path and a command line.
#pragma once
#include <string>
#include <string_view>

namespace tav::settings {

inline constexpr std::u16string_view kNoNameMessage = u"コマンドを設定してください";
inline constexpr std::u16string_view kNoProgramMessage = u"実行ファイルを設定してください";

// Message boxes of the settings program, all captioned "Tavimset".
class Dialogs {
 public:
  virtual ~Dialogs() = default;
  virtual void Message(const std::u16string& text) = 0;  // OK button only
  virtual void Error(const std::u16string& text) = 0;    // OK button, warning icon: our own failure reports
  virtual bool AskYesNo(const std::u16string& text) = 0;  // Yes/No, question icon; true for Yes
};

struct FileStatus {
  enum Kind { kOk, kAlreadyExists, kFailed };
  Kind kind = kOk;
  std::u16string reason;  // the system's words for a failure
  static FileStatus Ok() { return {}; }
  static FileStatus Failed(std::u16string why) { return {kFailed, std::move(why)}; }
};

// The file operations registration needs; each addresses exactly the path it is given.
class CommandFiles {
 public:
  virtual ~CommandFiles() = default;
  virtual bool FolderExists(const std::u16string& folder) = 0;
  virtual bool Exists(const std::u16string& path) = 0;
  // Creates path (kAlreadyExists when something is there), writes bytes, flushes and closes it.
  virtual FileStatus CreateNew(const std::u16string& path, std::string_view bytes) = 0;
  // Puts from in the place of to in one step, replacing to when it exists.
  virtual FileStatus MoveReplacing(const std::u16string& from, const std::u16string& to) = 0;
  virtual void Remove(const std::u16string& path) = 0;
  // Removes path when it is a temporary file an earlier save left behind (that save was killed
  // or the power failed between writing and moving): nobody has it open and it has not been
  // written to for a while. False when it is missing or may still be in use.
  virtual bool RemoveStale(const std::u16string&) { return false; }
  // Makes folder unless it is already one (hidden: it is ours, not the user's).
  virtual FileStatus MakeFolder(const std::u16string&) { return FileStatus::Ok(); }
  // Removes folder when it is empty; else leaves it.
  virtual void RemoveFolderIfEmpty(const std::u16string&) {}
};

struct RegistrationRequest {
  std::u16string name;         // N
  std::u16string program;      // P
  std::u16string commandLine;  // C
  bool quoteProgram = false;
  bool quoteCommandLine = false;
  bool quitAfter = false;
};

enum class RegistrationResult { kNotRegistered, kRegistered, kQuit };

// P sp C, each part optionally wrapped in one pair of double quotes without looking inside.
std::u16string ComposeRegistrationLine(std::u16string_view program, std::u16string_view commandLine,
                                       bool quoteProgram, bool quoteCommandLine);

std::u16string ReplaceQuestion(std::u16string_view file);
std::u16string RegisteredMessage(std::u16string_view line);

// Where the new content waits before it takes the command file's place: a short name in a folder
// of its own inside texts\. So it is on the command file's volume even when texts\ is a link to
// another drive (a move cannot cross volumes in one step), any name texts\ can hold can be
// saved, and the launcher (which lists every file directly in texts\, hidden ones too, but no
// folder) never shows it as a command.
std::u16string TempFolderFor(std::u16string_view textsFolder);
std::u16string TempPathFor(std::u16string_view textsFolder, int attempt);
inline constexpr int kTempAttempts = 100;

// Writes bytes as target (a file in textsFolder) through a temporary file: either target holds
// all of bytes afterwards, or it is as it was (absent or with its old content) and no temporary
// file remains. Temporary files that interrupted saves left behind are removed first, so they
// can neither pile up nor use up the names; their folder goes once it is empty.
FileStatus SaveCommandFile(CommandFiles& files, std::u16string_view textsFolder, const std::u16string& target,
                           std::string_view bytes);

// The whole registration: checks, the replace question, the write, the confirmation.
RegistrationResult RegisterCommand(const RegistrationRequest& request, std::u16string_view installFolder,
                                   Dialogs& dialogs, CommandFiles& files);

}  // namespace tav::settings
