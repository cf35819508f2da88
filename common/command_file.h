// Command files texts\<name>.txt: the typed input, the file's lines and the command line.
#pragma once
#include <cstddef>
#include <functional>
#include <optional>
#include <string>
#include <string_view>

namespace tav {

struct CommandInput {
  std::u16string name;                  // before the first "/" (or the whole input)
  std::optional<std::u16string> args;   // after the first "/", when there is one
};

// Splits typed input at the first "/"; nothing is trimmed.
CommandInput SplitCommandInput(std::u16string_view input);

// A character no file name holds: \ / : * ? " < > | or a control character. The first three
// lead out of texts\ (parent and absolute paths, drives, alternate data streams).
bool HasCharacterForbiddenInFileNames(std::u16string_view name);
// CON, PRN, AUX, NUL, CONIN$, CONOUT$, COM1-9, LPT1-9: the system opens the device whatever
// follows the first dot and ignores blanks before it.
bool IsReservedDeviceName(std::u16string_view fileName);
// True when texts\<name>.txt is one file directly in texts\; no file there has any other name.
bool NamesFileInTexts(std::u16string_view name);

// The text of a command file. A UTF-8 or UTF-16 byte-order mark is decoded and dropped. Without
// one, well-formed UTF-8 with a multi-byte character is read as UTF-8 (Notepad saves so by
// default since Windows 10 1903); anything else is the ANSI code page, as the settings program
// writes it.
std::u16string DecodeCommandFile(std::string_view bytes);

// The last line of the text (CR LF, LF or CR end a line; a final line end opens no new line).
// No line at all: nullopt.
std::optional<std::u16string> LastLine(std::u16string_view text);

// The line plus one space and the argument text when a "/" was typed.
std::u16string AppendArgument(std::u16string line, const CommandInput& input);

// The line with the typed argument placed: each {arg} takes the text after the "/" as typed, each
// {arg:url} takes it percent-encoded as UTF-8 (for a web address); {clipboard} takes clipboard()
// (asked only when the line holds it). A line with no argument token gets AppendArgument's. What
// a token puts in is not read for tokens again.
std::u16string PlaceArgument(std::u16string_view line, const CommandInput& input,
                             const std::function<std::u16string()>& clipboard);
// Bytes of text's UTF-8 other than letters, digits and - _ . ~ as %XX.
std::u16string PercentEncoded(std::u16string_view text);

// The most a started program's command line may hold, its final NUL not counted (the platform
// takes 32,767 characters with it).
inline constexpr std::size_t kMaxCommandLineLength = 32766;

// Why the platform cannot be handed this command line, in Japanese; empty when it can be.
std::u16string CommandLineProblem(std::u16string_view commandLine);

// A text cut for a message box: at most maxUnits UTF-16 units, never half a surrogate pair,
// with "…" and the full length when something was cut; a NUL shows as <NUL>.
std::u16string ShortenedForMessage(std::u16string_view text, std::size_t maxUnits = 300);

}  // namespace tav
