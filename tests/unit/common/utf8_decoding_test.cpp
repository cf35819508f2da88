#include <gtest/gtest.h>

#include "command_file.h"
#include "text_encoding.h"

namespace tav {
namespace {

// Malformed UTF-8 is replaced, one U+FFFD per byte that starts no valid sequence; in particular
// an overlong form never stands for the character it spells (a "/" or a NUL in disguise).
TEST(Utf8Decoding, MalformedSequencesAreReplacedNotRead) {
  struct Case {
    const char* bytes;
    std::size_t size;
    std::u16string text;
  };
  const Case cases[] = {
      {"a\xC0\xAF" "b", 4, u"a\uFFFD\uFFFDb"},         // overlong "/"
      {"\xC0\x80", 2, u"\uFFFD\uFFFD"},                 // overlong NUL
      {"\xC1\xBF", 2, u"\uFFFD\uFFFD"},
      {"\xE0\x80\xAF", 3, u"\uFFFD\uFFFD\uFFFD"},       // three-byte overlong "/"
      {"\xE0\x9F\xBF", 3, u"\uFFFD\uFFFD\uFFFD"},       // just below U+0800
      {"\xF0\x80\x80\xAF", 4, u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"\xF0\x8F\xBF\xBF", 4, u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // just below U+10000
      {"\xED\xA0\x80", 3, u"\uFFFD\uFFFD\uFFFD"},       // a surrogate
      {"\xF4\x90\x80\x80", 4, u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // above U+10FFFF
      // The shortest forms at each boundary still decode.
      {"\xC2\x80", 2, u"\u0080"},
      {"\xE0\xA0\x80", 3, u"\u0800"},
      {"\xF0\x90\x80\x80", 4, u"\U00010000"},
      {"\xF4\x8F\xBF\xBF", 4, u"\U0010FFFF"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    std::string_view bytes(cases[i].bytes, cases[i].size);
    EXPECT_EQ(FromUtf8(bytes), cases[i].text) << "case " << i;
    // A command file with a UTF-8 mark reads the same way.
    EXPECT_EQ(DecodeCommandFile("\xEF\xBB\xBF" + std::string(bytes)), cases[i].text) << "case " << i;
  }
}

}  // namespace
}  // namespace tav
