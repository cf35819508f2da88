// Readings of command names: hiragana and katakana alike, full and half width alike, and ASCII
// letters typed with the input method off read as romaji, so a Japanese name completes from any
// keyboard state.
#pragma once
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tav {

// True when the name holds a kana (hiragana, katakana or half-width katakana): only such names get
// a reading kept beside them.
bool HasKana(std::u16string_view name);

// The name's reading: katakana as hiragana, half-width kana as the full-width ones they stand for
// (a voiced mark joined to its kana), full-width ASCII as ASCII, ASCII letters in lower case; other
// characters as themselves. ends, when given, gets for each reading unit the name position after it.
std::u16string NameReading(std::u16string_view name, std::vector<int>* ends = nullptr);

// The reading of typed text: as NameReading, with runs of ASCII letters read as romaji (Hepburn and
// kunrei, a doubled consonant for small tsu, n / nn / n' for n, "-" for the long mark). Nothing when
// a syllable is not complete yet ("mem") or the letters are no romaji.
std::optional<std::u16string> TypedReading(std::u16string_view typed);

}  // namespace tav
