// Huge command files: the input is a pattern repeated to 10 MB when the corpus is replayed (1 MB
// under libFuzzer, whose instrumentation makes each megabyte cost a fifth of a second), one
// line unless the pattern holds line ends. Decoding, the last line and the command line.
#include "command_file.h"
#include "compose_command_line.h"
#include "fuzz_target.h"
#include "line_reader.h"
#include "text_encoding.h"

namespace tav::fuzz {

TAV_FUZZ_TARGET(long_line) {
  Input in(data, size);
  const std::string pattern = in.Rest();
  if (pattern.empty()) return 0;
#ifdef TAV_FUZZ_REPLAY
  constexpr std::size_t kBig = 10u << 20;
#else
  constexpr std::size_t kBig = 1u << 20;
#endif
  std::string big;
  big.reserve(kBig + pattern.size());
  while (big.size() < kBig) big += pattern;

  const std::u16string text = DecodeCommandFile(big);
  TAV_CHECK(text.size() <= big.size());
  CheckLastLine(text);
  const auto last = LastLine(text);
  const std::u16string line = ComposeCommandLine(text, SplitCommandInput(u"m/x"));
  TAV_CHECK(last ? line == *last + u" x" : line.empty());
  return 0;
}

}  // namespace tav::fuzz
