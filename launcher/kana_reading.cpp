#include "kana_reading.h"

#include <algorithm>
#include <array>

namespace tav {

namespace {

bool IsHiragana(char16_t c) { return c >= u'ぁ' && c <= u'ゖ'; }
bool IsKatakana(char16_t c) { return (c >= u'ァ' && c <= u'ヺ') || c == u'ー'; }
bool IsHalfKana(char16_t c) { return c >= 0xFF66 && c <= 0xFF9F; }

// U+FF61..U+FF9D, the half-width forms, as the full-width characters (hiragana for kana).
constexpr std::u16string_view kHalfWidth =
    u"。「」、・をぁぃぅぇぉゃゅょっーあいうえおかきくけこさしすせそたちつてとなにぬねのはひふへほまみむめもやゆよらりるれろわん";

char16_t Voiced(char16_t kana, char16_t mark) {
  constexpr std::u16string_view kVoicable = u"かきくけこさしすせそたちつてとはひふへほ";
  constexpr std::u16string_view kHalfVoicable = u"はひふへほ";
  if (mark == 0xFF9E) {
    if (kana == u'う') return u'ゔ';
    if (kVoicable.find(kana) != std::u16string_view::npos) return static_cast<char16_t>(kana + 1);
  } else if (kHalfVoicable.find(kana) != std::u16string_view::npos) {
    return static_cast<char16_t>(kana + 2);
  }
  return 0;
}

// One unit as a reading unit; half-width marks are handled by the caller.
char16_t Unit(char16_t c) {
  if (c >= u'ァ' && c <= u'ヶ') return static_cast<char16_t>(c - 0x60);
  if (c >= 0xFF61 && c <= 0xFF9D) return kHalfWidth[c - 0xFF61];
  if (c >= 0xFF01 && c <= 0xFF5E) c = static_cast<char16_t>(c - 0xFEE0);  // full-width ASCII
  if (c >= u'A' && c <= u'Z') return static_cast<char16_t>(c - u'A' + u'a');
  return c;
}

struct Romaji {
  std::u16string_view latin, kana;
};
// clang-format off
constexpr Romaji kRomaji[] = {
  {u"a", u"あ"}, {u"i", u"い"}, {u"u", u"う"}, {u"e", u"え"}, {u"o", u"お"},
  {u"ka", u"か"}, {u"ki", u"き"}, {u"ku", u"く"}, {u"ke", u"け"}, {u"ko", u"こ"},
  {u"ca", u"か"}, {u"cu", u"く"}, {u"co", u"こ"}, {u"ci", u"し"}, {u"ce", u"せ"},
  {u"kya", u"きゃ"}, {u"kyu", u"きゅ"}, {u"kyo", u"きょ"},
  {u"ga", u"が"}, {u"gi", u"ぎ"}, {u"gu", u"ぐ"}, {u"ge", u"げ"}, {u"go", u"ご"},
  {u"gya", u"ぎゃ"}, {u"gyu", u"ぎゅ"}, {u"gyo", u"ぎょ"},
  {u"sa", u"さ"}, {u"si", u"し"}, {u"shi", u"し"}, {u"su", u"す"}, {u"se", u"せ"}, {u"so", u"そ"},
  {u"sya", u"しゃ"}, {u"syu", u"しゅ"}, {u"syo", u"しょ"}, {u"sha", u"しゃ"}, {u"shu", u"しゅ"}, {u"sho", u"しょ"},
  {u"she", u"しぇ"},
  {u"za", u"ざ"}, {u"zi", u"じ"}, {u"ji", u"じ"}, {u"zu", u"ず"}, {u"ze", u"ぜ"}, {u"zo", u"ぞ"},
  {u"zya", u"じゃ"}, {u"zyu", u"じゅ"}, {u"zyo", u"じょ"}, {u"ja", u"じゃ"}, {u"ju", u"じゅ"}, {u"jo", u"じょ"},
  {u"jya", u"じゃ"}, {u"jyu", u"じゅ"}, {u"jyo", u"じょ"}, {u"je", u"じぇ"},
  {u"ta", u"た"}, {u"ti", u"ち"}, {u"chi", u"ち"}, {u"tu", u"つ"}, {u"tsu", u"つ"}, {u"te", u"て"}, {u"to", u"と"},
  {u"tya", u"ちゃ"}, {u"tyu", u"ちゅ"}, {u"tyo", u"ちょ"}, {u"cha", u"ちゃ"}, {u"chu", u"ちゅ"}, {u"cho", u"ちょ"},
  {u"cya", u"ちゃ"}, {u"cyu", u"ちゅ"}, {u"cyo", u"ちょ"}, {u"che", u"ちぇ"}, {u"thi", u"てぃ"}, {u"tsa", u"つぁ"},
  {u"da", u"だ"}, {u"di", u"ぢ"}, {u"du", u"づ"}, {u"de", u"で"}, {u"do", u"ど"}, {u"dhi", u"でぃ"},
  {u"dya", u"ぢゃ"}, {u"dyu", u"ぢゅ"}, {u"dyo", u"ぢょ"},
  {u"na", u"な"}, {u"ni", u"に"}, {u"nu", u"ぬ"}, {u"ne", u"ね"}, {u"no", u"の"},
  {u"nya", u"にゃ"}, {u"nyu", u"にゅ"}, {u"nyo", u"にょ"},
  {u"ha", u"は"}, {u"hi", u"ひ"}, {u"hu", u"ふ"}, {u"fu", u"ふ"}, {u"he", u"へ"}, {u"ho", u"ほ"},
  {u"hya", u"ひゃ"}, {u"hyu", u"ひゅ"}, {u"hyo", u"ひょ"},
  {u"fa", u"ふぁ"}, {u"fi", u"ふぃ"}, {u"fe", u"ふぇ"}, {u"fo", u"ふぉ"},
  {u"ba", u"ば"}, {u"bi", u"び"}, {u"bu", u"ぶ"}, {u"be", u"べ"}, {u"bo", u"ぼ"},
  {u"bya", u"びゃ"}, {u"byu", u"びゅ"}, {u"byo", u"びょ"},
  {u"pa", u"ぱ"}, {u"pi", u"ぴ"}, {u"pu", u"ぷ"}, {u"pe", u"ぺ"}, {u"po", u"ぽ"},
  {u"pya", u"ぴゃ"}, {u"pyu", u"ぴゅ"}, {u"pyo", u"ぴょ"},
  {u"ma", u"ま"}, {u"mi", u"み"}, {u"mu", u"む"}, {u"me", u"め"}, {u"mo", u"も"},
  {u"mya", u"みゃ"}, {u"myu", u"みゅ"}, {u"myo", u"みょ"},
  {u"ya", u"や"}, {u"yu", u"ゆ"}, {u"yo", u"よ"}, {u"ye", u"いぇ"},
  {u"ra", u"ら"}, {u"ri", u"り"}, {u"ru", u"る"}, {u"re", u"れ"}, {u"ro", u"ろ"},
  {u"rya", u"りゃ"}, {u"ryu", u"りゅ"}, {u"ryo", u"りょ"},
  {u"wa", u"わ"}, {u"wi", u"うぃ"}, {u"we", u"うぇ"}, {u"wo", u"を"},
  {u"va", u"ゔぁ"}, {u"vi", u"ゔぃ"}, {u"vu", u"ゔ"}, {u"ve", u"ゔぇ"}, {u"vo", u"ゔぉ"},
  {u"qa", u"くぁ"}, {u"qi", u"くぃ"}, {u"qe", u"くぇ"}, {u"qo", u"くぉ"},
  {u"xa", u"ぁ"}, {u"xi", u"ぃ"}, {u"xu", u"ぅ"}, {u"xe", u"ぇ"}, {u"xo", u"ぉ"},
  {u"la", u"ぁ"}, {u"li", u"ぃ"}, {u"lu", u"ぅ"}, {u"le", u"ぇ"}, {u"lo", u"ぉ"},
  {u"xya", u"ゃ"}, {u"xyu", u"ゅ"}, {u"xyo", u"ょ"}, {u"lya", u"ゃ"}, {u"lyu", u"ゅ"}, {u"lyo", u"ょ"},
  {u"xtu", u"っ"}, {u"ltu", u"っ"}, {u"xtsu", u"っ"}, {u"ltsu", u"っ"}, {u"xwa", u"ゎ"}, {u"lwa", u"ゎ"},
};
// clang-format on

bool IsLetter(char16_t c) { return c >= u'a' && c <= u'z'; }
bool IsVowel(char16_t c) { return c == u'a' || c == u'i' || c == u'u' || c == u'e' || c == u'o'; }

enum class Step { Done, Incomplete, Invalid };

// Reads the letters of run (lower case, nothing else) as romaji onto out.
Step ReadRomaji(std::u16string_view run, std::u16string& out) {
  std::size_t i = 0;
  while (i < run.size()) {
    const char16_t c = run[i];
    const bool more = i + 1 < run.size();
    if (c == u'n' && !(more && (IsVowel(run[i + 1]) || run[i + 1] == u'y'))) {
      if (!more) return Step::Incomplete;  // "n" may still become な..の or ん
      out += u'ん';
      i += run[i + 1] == u'n' || run[i + 1] == u'\'' ? 2 : 1;
      continue;
    }
    if (!IsVowel(c) && more && run[i + 1] == c) {  // a doubled consonant: small tsu
      out += u'っ';
      ++i;
      continue;
    }
    std::u16string_view best;
    const std::u16string_view rest = run.substr(i);
    bool prefixOfOne = false;
    for (const Romaji& r : kRomaji) {
      if (rest.substr(0, r.latin.size()) == r.latin && r.latin.size() > best.size()) best = r.latin;
      if (r.latin.size() > rest.size() && r.latin.substr(0, rest.size()) == rest) prefixOfOne = true;
    }
    if (best.empty()) return prefixOfOne ? Step::Incomplete : Step::Invalid;
    for (const Romaji& r : kRomaji)
      if (r.latin == best) {
        out += r.kana;
        break;
      }
    i += best.size();
  }
  return Step::Done;
}

}  // namespace

bool HasKana(std::u16string_view name) {
  return std::any_of(name.begin(), name.end(), [](char16_t c) { return IsHiragana(c) || IsKatakana(c) || IsHalfKana(c); });
}

std::u16string NameReading(std::u16string_view name, std::vector<int>* ends) {
  std::u16string out;
  out.reserve(name.size());
  if (ends) ends->clear();
  for (std::size_t i = 0; i < name.size(); ++i) {
    char16_t r = Unit(name[i]);
    if (IsHalfKana(name[i]) && i + 1 < name.size() && (name[i + 1] == 0xFF9E || name[i + 1] == 0xFF9F)) {
      if (char16_t v = Voiced(r, name[i + 1])) r = v, ++i;
    }
    out += r;
    if (ends) ends->push_back(static_cast<int>(i + 1));
  }
  return out;
}

std::optional<std::u16string> TypedReading(std::u16string_view typed) {
  const std::u16string units = NameReading(typed);
  std::u16string out;
  for (std::size_t i = 0; i < units.size();) {
    if (!IsLetter(units[i])) {
      out += units[i] == u'-' ? u'ー' : units[i];
      ++i;
      continue;
    }
    std::size_t end = i;
    while (end < units.size() && (IsLetter(units[end]) || (units[end] == u'\'' && end > i && units[end - 1] == u'n')))
      ++end;
    if (ReadRomaji(std::u16string_view(units).substr(i, end - i), out) != Step::Done) return std::nullopt;
    i = end;
  }
  return out;
}

}  // namespace tav
