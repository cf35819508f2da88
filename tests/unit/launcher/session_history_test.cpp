#include "session_history.h"

#include <gtest/gtest.h>

#include "text_encoding.h"

namespace tav {
namespace {

// Keys: U Up, D Down, R a new summon; the result is what each showed ("-": nothing changed).
TEST(SessionHistory, UpAndDown) {
  struct Case {
    std::vector<const char16_t*> run;
    const char* keys;
    std::vector<std::string> shown;
  } cases[] = {
      {{}, "UD", {"-", "-"}},
      {{u"a", u"b/x", u"c"}, "UUUU", {"c", "b/x", "a", "-"}},
      {{u"a", u"b/x", u"c"}, "UUDDD", {"c", "b/x", "c", "", "-"}},
      {{u"a", u"a", u"", u"b"}, "UUU", {"b", "a", "-"}},  // the same line twice is kept once; empty never
      {{u"a", u"b"}, "URU", {"b", "b"}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SessionHistory h;
    for (const char16_t* line : cases[i].run) h.Add(line);
    std::vector<std::string> shown;
    for (const char* k = cases[i].keys; *k; ++k) {
      if (*k == 'R') {
        h.Rewind();
        continue;
      }
      auto line = *k == 'U' ? h.Older() : h.Newer();
      shown.push_back(line ? ToUtf8(*line) : "-");
    }
    EXPECT_EQ(shown, cases[i].shown) << "case " << i;
  }
  SessionHistory full;
  for (int i = 0; i <= static_cast<int>(SessionHistory::kMaxLines); ++i) full.Add(ToDecimal(i));
  for (std::size_t i = 1; i < SessionHistory::kMaxLines; ++i) full.Older();
  EXPECT_EQ(full.Older(), u"1");  // "0" went when the hundred-and-first line came
  EXPECT_EQ(full.Older(), std::nullopt);
}

}  // namespace
}  // namespace tav
