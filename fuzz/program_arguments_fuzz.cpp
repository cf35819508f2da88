// Typed input split at the first "/", the command line composed from it, the registration line,
// and the way the program name is taken off a command line. Whatever the user types, the
// program that starts is the one stored in the command file.
#include "command_file.h"
#include "compose_command_line.h"
#include "program_arguments.h"
#include "fuzz_target.h"
#include "registration.h"

namespace tav::fuzz {
namespace {

constexpr std::u16string_view kAlphabet = u"/ \t\"\\a.:eCx\r\n";

bool Blank(char16_t c) { return c == u' ' || c == u'\t'; }

// The program part the platform takes: everything before the argument text, blanks dropped.
std::u16string ProgramPart(std::u16string_view cl) {
  std::u16string_view p = cl.substr(0, cl.size() - ArgumentText(cl).size());
  while (!p.empty() && Blank(p.back())) p.remove_suffix(1);
  return std::u16string(p);
}

}  // namespace

TAV_FUZZ_TARGET(program_arguments) {
  Input in(data, size);
  const std::u16string typed = in.Text(kAlphabet, 64);
  const std::u16string program = in.Text(kAlphabet, 32);
  const std::u16string args = in.Text(kAlphabet, 32);
  const bool quoteP = in.Bool(), quoteC = in.Bool();
  const std::u16string raw = in.RestUnits();

  // Splitting: the name never holds "/", and name, "/", arguments give back the input.
  for (const std::u16string& s : {typed, raw}) {
    CommandInput input = SplitCommandInput(s);
    TAV_CHECK(input.name.find(u'/') == std::u16string::npos);
    TAV_CHECK((input.args ? input.name + u"/" + *input.args : input.name) == s);
  }

  // The registration line: P sp C, each optionally wrapped once, nothing looked at inside.
  const std::u16string line = settings::ComposeRegistrationLine(program, args, quoteP, quoteC);
  const std::u16string p = quoteP ? u"\"" + program + u"\"" : program;
  const std::u16string c = quoteC ? u"\"" + args + u"\"" : args;
  TAV_CHECK(line == p + u" " + c);

  // The launcher: the stored line comes first, unchanged; the typed text only after one space.
  // (A line break inside P or C would make two lines, of which the launcher runs the last.)
  const bool oneLine = line.find_first_of(u"\r\n") == std::u16string::npos;
  CommandInput input = SplitCommandInput(typed);
  const std::u16string composed = ComposeCommandLine(line + u"\r\n", input);
  if (oneLine) {
    TAV_CHECK(composed.compare(0, line.size(), line) == 0);
    TAV_CHECK(composed.substr(line.size()) == (input.args ? u" " + *input.args : u""));
  }

  // A program stored in quotes (without quotes inside), or without blanks and quotes, is the
  // program of the composed command line whatever was typed.
  const bool plain = !program.empty() && program.find_first_of(u" \t\"\r\n") == std::u16string::npos;
  const bool quotable = program.find_first_of(u"\"\r\n") == std::u16string::npos;
  if (oneLine && ((quoteP && quotable) || (!quoteP && plain))) {
    TAV_CHECK(ProgramPart(composed) == p);
    TAV_CHECK(ProgramPart(line) == p);
  }

  // The argument text is the end of the command line; after a plain program and one blank it is
  // exactly what followed them.
  for (const std::u16string& cl : {raw, composed, line}) {
    std::u16string a = ArgumentText(cl);
    TAV_CHECK(a.size() <= cl.size() && cl.compare(cl.size() - a.size(), a.size(), a) == 0);
    TAV_CHECK(a.empty() || !Blank(a.front()));
  }
  if (plain && (args.empty() || !Blank(args.front()))) {
    TAV_CHECK(ArgumentText(program + u" " + args) == args);
    TAV_CHECK(ArgumentText(u"\"" + program + u" x\"\t" + args) == args);
  }

  // The opener's target: blanks around and one pair of enclosing quotes dropped.
  const std::u16string target = OpenTarget(raw);
  TAV_CHECK(raw.find(target) != std::u16string::npos);
  TAV_CHECK(OpenTarget(u" \t\"" + args + u"\"  ") == args);
  if (!args.empty() && !Blank(args.front()) && !Blank(args.back()) && args.front() != u'"')
    TAV_CHECK(OpenTarget(args) == args);
  return 0;
}

}  // namespace tav::fuzz
