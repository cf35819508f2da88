// Registration from the settings program and from Send To: what quick registration proposes for
// a file, which command names are accepted, and that a registration touches no file but its own
// command file below texts\ and its temporary file.
#include <deque>
#include <map>
#include <set>
#include <vector>

#include "command_file.h"
#include "command_name.h"
#include "fuzz_target.h"
#include "install_folder.h"
#include "quick_registration.h"
#include "registration.h"
#include "text_encoding.h"

namespace tav::fuzz {
namespace {

using settings::CommandNameProblem;

constexpr std::u16string_view kAlphabet = u"aeEXxC.:\\/ \"*?<>|\t$1\u00B9ON\u3042";
const std::u16string kFolder = u"C:\\T";

// The components Windows makes of a full path: "\" and "/" separate, "." stays, ".." goes up,
// trailing dots and blanks of a component are dropped.
std::vector<std::u16string> Components(std::u16string_view path) {
  std::vector<std::u16string> parts;
  std::u16string cur;
  auto flush = [&] {
    while (!cur.empty() && (cur.back() == u'.' || cur.back() == u' ') && cur != u"." && cur != u"..") cur.pop_back();
    if (cur == u"..") {
      if (parts.size() > 1) parts.pop_back();
    } else if (!cur.empty() && cur != u".") {
      parts.push_back(cur);
    }
    cur.clear();
  };
  for (char16_t c : path) {
    if (c == u'\\' || c == u'/') flush();
    else cur.push_back(c);
  }
  flush();
  return parts;
}

std::u16string Upper(std::u16string_view s) {
  std::u16string u(s);
  for (auto& c : u)
    if (c >= u'a' && c <= u'z') c = static_cast<char16_t>(c - 32);
  return u;
}

// A file name the system takes for a device: the part before the first dot, blanks dropped.
bool IsDeviceName(std::u16string_view fileName) {
  std::u16string stem = Upper(fileName.substr(0, fileName.find(u'.')));
  while (!stem.empty() && stem.back() == u' ') stem.pop_back();
  static const std::set<std::u16string> devices = [] {
    std::set<std::u16string> d{u"CON", u"PRN", u"AUX", u"NUL", u"CONIN$", u"CONOUT$"};
    for (std::u16string p : {u"COM", u"LPT"})
      for (char16_t n : std::u16string(u"123456789\u00B9\u00B2\u00B3")) d.insert(p + n);
    return d;
  }();
  return devices.count(stem) > 0;
}

class Dialogs final : public settings::Dialogs {
 public:
  std::vector<std::u16string> log;
  bool answer = false;
  void Message(const std::u16string& t) override { log.push_back(u"msg:" + t); }
  void Error(const std::u16string& t) override { log.push_back(u"err:" + t); }
  bool AskYesNo(const std::u16string& t) override {
    log.push_back(u"ask:" + t);
    return answer;
  }
};

// Files in memory; every path handed to it is recorded.
class Files final : public settings::CommandFiles {
 public:
  std::map<std::u16string, std::string> files;
  std::set<std::u16string> touched;
  bool FolderExists(const std::u16string& f) override { return f == kFolder + u"\\texts"; }
  bool Exists(const std::u16string& p) override { return touched.insert(p), files.count(p) > 0; }
  settings::FileStatus CreateNew(const std::u16string& p, std::string_view bytes) override {
    touched.insert(p);
    if (files.count(p)) return {settings::FileStatus::kAlreadyExists, {}};
    files[p] = std::string(bytes);
    return settings::FileStatus::Ok();
  }
  settings::FileStatus MoveReplacing(const std::u16string& from, const std::u16string& to) override {
    touched.insert(from);
    touched.insert(to);
    files[to] = files.at(from);
    files.erase(from);
    return settings::FileStatus::Ok();
  }
  void Remove(const std::u16string& p) override { touched.insert(p), files.erase(p); }
};

bool EndsWith(std::u16string_view s, std::u16string_view end) {
  return s.size() >= end.size() && s.substr(s.size() - end.size()) == end;
}

}  // namespace

TAV_FUZZ_TARGET(registration) {
  Input in(data, size);
  const std::u16string name = in.Text(kAlphabet, 12) + (in.Byte() == 0xFF ? std::u16string(250, u'a') : u"");
  const std::u16string argument = in.Text(kAlphabet, 24);
  const bool existing = in.Bool(), replace = in.Bool(), quoteP = in.Bool(), quoteC = in.Bool();
  const std::u16string other = in.Text(kAlphabet, 12);

  // A name is accepted only when its command file is a direct child of texts\, no device, and no
  // alternate data stream; the file name fits.
  const CommandNameProblem problem = settings::CheckCommandName(name);
  const std::u16string file = CommandFilePath(kFolder, name);
  const auto parts = Components(file);
  const auto texts = Components(TextsFolderPath(kFolder));
  const bool insideTexts = parts.size() == texts.size() + 1 && std::equal(texts.begin(), texts.end(), parts.begin());
  const std::u16string fileName = name + u".txt";
  bool forbidden = false;
  for (char16_t c : name) forbidden = forbidden || c < 0x20 || std::u16string_view(u"\\/:*?\"<>|").find(c) != std::u16string_view::npos;
  if (problem == CommandNameProblem::kNone) {
    TAV_CHECK(insideTexts && parts.back() == fileName);
    TAV_CHECK(fileName.find(u':') == std::u16string::npos);
    TAV_CHECK(!IsDeviceName(fileName) && fileName.size() <= 255);
    TAV_CHECK(settings::CommandNameMessage(problem, name).empty());
  } else {
    TAV_CHECK(!settings::CommandNameMessage(problem, name).empty());
  }
  TAV_CHECK((problem == CommandNameProblem::kForbiddenCharacter) == forbidden);
  if (!forbidden) TAV_CHECK((problem == CommandNameProblem::kReservedDevice) == IsDeviceName(fileName));
  if (!forbidden && !IsDeviceName(fileName)) TAV_CHECK((problem == CommandNameProblem::kTooLong) == (fileName.size() > 255));
  // The launcher looks a typed name up only where it is one file directly in texts\, which is
  // every name registration refuses for any other reason than its length.
  const bool lookedUp = NamesFileInTexts(name);
  TAV_CHECK(lookedUp == (problem == CommandNameProblem::kNone || problem == CommandNameProblem::kTooLong));
  if (lookedUp) TAV_CHECK(insideTexts && parts.back() == fileName && !IsDeviceName(fileName));

  // Quick registration: a program (".exe" or ".EXE" at the end, before a closing quote) runs as
  // itself, quoted once; anything else is opened by the generic opener, as it arrived.
  if (!argument.empty()) {
    const auto proposal = settings::ProposeForArgument(argument);
    const bool quoted = argument.back() == u'"';
    const bool program = quoted ? (EndsWith(argument, u".exe\"") || EndsWith(argument, u".EXE\""))
                                : (EndsWith(argument, u".exe") || EndsWith(argument, u".EXE"));
    if (program) {
      TAV_CHECK(proposal.program == (quoted ? argument : u"\"" + argument + u"\""));
      TAV_CHECK(proposal.commandLine.empty());
    } else {
      TAV_CHECK(proposal.program == kOpenerRelativePath && proposal.commandLine == argument);
    }
  }

  // The registration: it touches the command file and its temporary files in their folder inside
  // texts\, nothing else; it writes only an accepted name, the line it confirms.
  Dialogs dialogs;
  dialogs.answer = replace;
  Files files;
  if (existing) files.files[file] = "old\r\n";
  settings::RegistrationRequest r{name, argument, other, quoteP, quoteC, false};
  const auto result = settings::RegisterCommand(r, kFolder, dialogs, files);
  for (const auto& p : files.touched) {
    bool temp = false;
    for (int k = 0; k < 100 && !temp; ++k) temp = p == settings::TempPathFor(kFolder + u"\\texts", k);
    TAV_CHECK(p == file || temp);
  }
  if (result == settings::RegistrationResult::kRegistered) {
    TAV_CHECK(problem == CommandNameProblem::kNone && !name.empty() && !argument.empty());
    const std::u16string line = settings::ComposeRegistrationLine(argument, other, quoteP, quoteC);
    TAV_CHECK(files.files.at(file) == ToAnsi(line + u"\r\n"));
    TAV_CHECK(dialogs.log.back() == u"msg:" + settings::RegisteredMessage(line));
    TAV_CHECK(files.files.size() == 1);  // no temporary file left
  } else {
    TAV_CHECK(!existing || files.files.at(file) == "old\r\n");
    TAV_CHECK(files.files.size() == (existing ? 1u : 0u));
  }
  if (problem != CommandNameProblem::kNone) TAV_CHECK(files.touched.empty());
  return 0;
}

}  // namespace tav::fuzz
