// Command files: decoding (system code page, byte-order marks, NUL bytes, any line ends) and the
// last line the launcher runs.
#include <optional>
#include <vector>

#include "command_file.h"
#include "compose_command_line.h"
#include "fuzz_target.h"
#include "line_reader.h"
#include "text_encoding.h"

namespace tav::fuzz {
namespace {

// RFC 3629: shortest form, no surrogates, nothing above U+10FFFF.
bool IsValidUtf8(std::string_view b) {
  for (std::size_t i = 0; i < b.size();) {
    auto at = [&](std::size_t k) { return static_cast<unsigned char>(b[i + k]); };
    unsigned char c = at(0);
    std::size_t n;
    unsigned char lo = 0x80, hi = 0xBF;
    if (c < 0x80) n = 1;
    else if (c >= 0xC2 && c <= 0xDF) n = 2;
    else if (c == 0xE0) n = 3, lo = 0xA0;
    else if (c == 0xED) n = 3, hi = 0x9F;
    else if (c >= 0xE1 && c <= 0xEF) n = 3;
    else if (c == 0xF0) n = 4, lo = 0x90;
    else if (c == 0xF4) n = 4, hi = 0x8F;
    else if (c >= 0xF1 && c <= 0xF3) n = 4;
    else return false;
    if (i + n > b.size()) return false;
    for (std::size_t k = 1; k < n; ++k) {
      unsigned char cc = at(k);
      if (cc < (k == 1 ? lo : 0x80) || cc > (k == 1 ? hi : 0xBF)) return false;
    }
    i += n;
  }
  return true;
}

std::string Utf16Bytes(std::u16string_view s, bool le) {
  std::string out;
  for (char16_t c : s) {
    char l = static_cast<char>(c & 0xFF), h = static_cast<char>(c >> 8);
    out.push_back(le ? l : h);
    out.push_back(le ? h : l);
  }
  return out;
}

}  // namespace

TAV_FUZZ_TARGET(command_file) {
  Input in(data, size);
  const std::string bytes = in.Rest();
  // Any bytes decode without fault; the launcher's last line is a line reader's last line.
  const std::u16string text = DecodeCommandFile(bytes);
  CheckLastLine(text);

  // Plain ASCII (NUL included) is the same in every code page: one unit per byte.
  bool ascii = true;
  for (char c : bytes) ascii = ascii && static_cast<unsigned char>(c) < 0x80;
  if (ascii) TAV_CHECK(text == std::u16string(bytes.begin(), bytes.end()));

  // UTF-8 after its mark: valid input decodes to exactly what encodes back to it; anything
  // else gets replacement characters and never half a surrogate pair.
  const std::u16string u8 = FromUtf8(bytes);
  TAV_CHECK(u8.size() <= bytes.size());
  TAV_CHECK(WellFormed(u8));
  TAV_CHECK(DecodeCommandFile("\xEF\xBB\xBF" + bytes) == u8);
  if (IsValidUtf8(bytes)) {
    TAV_CHECK(ToUtf8(u8) == bytes);
  } else {
    TAV_CHECK(u8.find(u'\uFFFD') != std::u16string::npos);
  }

  // Text saved with each mark reads back as it was saved.
  const std::u16string units = FromUtf16Bytes(bytes, true);
  TAV_CHECK(DecodeCommandFile("\xFF\xFE" + Utf16Bytes(units, true)) == units);
  TAV_CHECK(DecodeCommandFile("\xFE\xFF" + Utf16Bytes(units, false)) == units);
  if (WellFormed(units)) TAV_CHECK(DecodeCommandFile("\xEF\xBB\xBF" + ToUtf8(units)) == units);
  // Saved in the code page, without a mark (a text that begins with U+FEFF would gain one).
  if (WellFormed(units) && (units.empty() || units[0] != 0xFEFF) && SurvivesAnsi(units))
    TAV_CHECK(DecodeCommandFile(ToAnsi(units)) == units);
  CheckLastLine(units);

  // The command line is the last line, then one space and the typed argument text.
  for (std::u16string_view typed : {u"memo", u"memo/", u"memo/C:\\a b.txt", u"/x/y"}) {
    CommandInput input = SplitCommandInput(typed);
    std::u16string line = ComposeCommandLine(text, input);
    auto last = LastLine(text);
    if (!last) {
      TAV_CHECK(line.empty());
    } else {
      TAV_CHECK(line == (input.args ? *last + u" " + *input.args : *last));
    }
  }
  return 0;
}

}  // namespace tav::fuzz
