#include <gtest/gtest.h>

#include <utility>

#include "colour.h"
#include "hotkey.h"
#include "install_folder.h"
#include "text_encoding.h"

namespace tav {
namespace {

TEST(TextEncoding, Utf8RoundTripKeepsJapaneseAndSurrogatePairs) {
  std::u16string s = u"ＭＳ Ｐゴシック memo 𠮷";
  EXPECT_EQ(FromUtf8(ToUtf8(s)), s);
  EXPECT_EQ(FromUtf8("\xE3\x81"), u"\uFFFD\uFFFD");  // truncated sequence is replaced, not read past
}

// Files without a mark: which bytes count as UTF-8, and what they decode to.
TEST(TextEncoding, OnlyWellFormedMultibyteUtf8CountsAsUtf8) {
  struct Case {
    std::string bytes;
    bool utf8;
    std::u16string decoded;  // by FromUtf8
  } cases[] = {
      {"", false, u""},
      {"notepad.exe C:\\memo.txt", false, u"notepad.exe C:\\memo.txt"},  // ASCII: any code page
      {"C:\\\xE6\x96\x87\xE6\x9B\xB8\\\xE3\x83\xA1\xE3\x83\xA2.txt", true, u"C:\\文書\\メモ.txt"},
      {"caf\xC3\xA9", true, u"café"},
      {"\xF0\x9F\x98\x80", true, u"\U0001F600"},
      {"\xEF\xBC\xAD\xEF\xBC\xB3", true, u"ＭＳ"},
      // Malformed: one U+FFFD per byte, never a character smuggled in by an overlong form.
      {"\xC0\xAF", false, u"\uFFFD\uFFFD"},              // overlong "/"
      {"\xE0\x80\xAF", false, u"\uFFFD\uFFFD\uFFFD"},    // overlong "/", three bytes
      {"\xF0\x80\x80\xAF", false, u"\uFFFD\uFFFD\uFFFD\uFFFD"},
      {"\xC1\xBF", false, u"\uFFFD\uFFFD"},              // overlong U+007F
      {"\xED\xA0\x80", false, u"\uFFFD\uFFFD\uFFFD"},    // a surrogate
      {"\xF4\x90\x80\x80", false, u"\uFFFD\uFFFD\uFFFD\uFFFD"},  // beyond U+10FFFF
      {"a\xE6\x96", false, u"a\uFFFD\uFFFD"},            // truncated
      {"\x80x", false, u"\uFFFDx"},                      // stray continuation byte
      {"\xF8\x88\x80\x80\x80", false, u"\uFFFD\uFFFD\uFFFD\uFFFD\uFFFD"},
      // Code page 932 text, some of it UTF-8-like at first.
      {"\x83\x81\x83\x82\x92\xA0", false, {}},           // メモ帳
      {"\x82\xA0\x82\xA2", false, {}},                   // あい
      {"\xC3\xBD\xC4.exe", false, {}},                   // ﾃｽﾄ.exe: C3 BD is well formed, C4 "." is not
      {"\xCA\xDF\xBF\xBA\xDD", false, {}},               // ﾊﾟｿｺﾝ
      {"\x8E\x9E\x8A\xD4\x95\x5C", false, {}},           // 時間表
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    EXPECT_EQ(IsMultibyteUtf8(cases[i].bytes), cases[i].utf8) << "case " << i;
    if (!cases[i].decoded.empty() || cases[i].bytes.empty()) {
      EXPECT_EQ(FromUtf8(cases[i].bytes), cases[i].decoded) << "case " << i;
    }
  }
}

TEST(TextEncoding, FitAnsiBytesNeverCutsACharacter) {
  // Whatever the code page (UTF-8 natively, CP 932 under Wine), a kana takes more than one byte.
  const std::size_t kana = ToAnsi(u"あ").size();
  ASSERT_GT(kana, 1u);
  EXPECT_EQ(FitAnsiBytes(u"あいう", 3 * kana - 1), u"あい");
  EXPECT_EQ(FitAnsiBytes(u"あいう", 3 * kana), u"あいう");
  const std::size_t pair = ToAnsi(u"𠮷").size();
  EXPECT_EQ(FitAnsiBytes(u"ab𠮷", 2 + pair - 1), u"ab");  // a surrogate pair is never split
  EXPECT_EQ(FitAnsiBytes(u"ab𠮷", 2 + pair), u"ab𠮷");
  EXPECT_EQ(FitAnsiBytes(u"abc", 0), u"");
}

TEST(TextEncoding, NamesCompareWithoutCase) {
  EXPECT_TRUE(EqualsNoCase(u"KeepFocus", u"KEEPFOCUS"));
  EXPECT_TRUE(EqualsNoCase(u"key1", u"Key1"));
  EXPECT_FALSE(EqualsNoCase(u"Key1", u"Key2"));
  EXPECT_FALSE(EqualsNoCase(u"Key", u"Key1"));
}

TEST(InstallFolder, PathsAreFormedWithOneBackslash) {
  EXPECT_EQ(WithTrailingBackslash(u"C:\\Apps\\T"), u"C:\\Apps\\T\\");
  EXPECT_EQ(WithTrailingBackslash(u"C:\\"), u"C:\\");
  EXPECT_EQ(SettingsFilePath(u"C:\\Apps\\T"), u"C:\\Apps\\T\\settings\\tavimbra.ini");
  EXPECT_EQ(SettingsFilePath(u"C:\\"), u"C:\\settings\\tavimbra.ini");
  EXPECT_EQ(CommandFilePath(u"C:\\T", u"my memo"), u"C:\\T\\texts\\my memo.txt");
  EXPECT_EQ(CommandFilePath(u"C:\\", u""), u"C:\\texts\\.txt");
  EXPECT_EQ(TextsFolderPath(u"D:\\x\\"), u"D:\\x\\texts");
  EXPECT_EQ(SkinFilePath(u"D:\\x"), u"D:\\x\\settings\\skin.bmp");
  EXPECT_EQ(RelativeCommandFilePath(u"メモ"), u"texts\\メモ.txt");
}

TEST(InstallFolder, FolderOfAProgramAsThePlatformReportsIt) {
  EXPECT_EQ(FolderOfPath(u"C:\\Apps\\Tavimbra\\Tavimbra.exe"), u"C:\\Apps\\Tavimbra");
  EXPECT_EQ(FolderOfPath(u"C:\\Tavimbra.exe"), u"C:\\");
  EXPECT_EQ(FolderOfPath(u"\\\\server\\share\\T\\Tavimset.exe"), u"\\\\server\\share\\T");
  EXPECT_EQ(FileNameOfPath(u"C:\\Apps\\Tavimset.exe"), u"Tavimset.exe");
}

TEST(Colour, StoredValuesAreBlueGreenRed) {
  EXPECT_EQ(ParseColour(u"FFFFFF"), 0xFFFFFFu);
  EXPECT_EQ(ParseColour(u"0000FF"), RgbValue(255, 0, 0));  // pure red
  EXPECT_EQ(ParseColour(u"FF0000"), RgbValue(0, 0, 255));  // pure blue
  EXPECT_EQ(ParseColour(u"0f00ff"), RgbValue(255, 0, 15));
  EXPECT_EQ(ParseColour(u""), 0u);  // empty value: black
  EXPECT_EQ(ParseColour(u"FF"), RgbValue(255, 0, 0));
  EXPECT_FALSE(ParseColour(u"GGGGGG"));
  EXPECT_FALSE(ParseColour(u"FFFFFFF"));
  EXPECT_FALSE(ParseColour(u"&HFF"));
  EXPECT_EQ(ColourOrDefault(u"red", 0xFFFFFF), 0xFFFFFFu);
}

TEST(Colour, WrittenFormIsSixUpperCaseDigits) {
  EXPECT_EQ(FormatColour(RgbValue(255, 0, 15)), u"0F00FF");
  EXPECT_EQ(FormatColour(0), u"000000");
  EXPECT_EQ(ComponentString(10), u"0A");
  EXPECT_EQ(ComponentString(255), u"FF");
  EXPECT_EQ(HexNoPad(0), u"0");
  EXPECT_EQ(HexNoPad(15), u"F");
  EXPECT_EQ(HexNoPad(255), u"FF");
  EXPECT_EQ(LeadingHexValue(u"ff"), 255);
  EXPECT_EQ(LeadingHexValue(u"0F"), 15);
  EXPECT_EQ(LeadingHexValue(u"1z"), 1);
  EXPECT_EQ(LeadingHexValue(u"zz"), 0);
  EXPECT_EQ(LeadingHexValue(u""), 0);
}

TEST(Hotkey, AtomsWidenAsSigned16Bit) {
  // The numbers the platform delivers in WM_HOTKEY for each atom, written out.
  const std::pair<std::uint16_t, int> cases[] = {
      {0xC001, -16383}, {0xC000, -16384}, {0xFFFF, -1}, {0x8000, -32768},
      {0x7FFF, 32767},  {0x0100, 256},    {0x0001, 1},
  };
  for (const auto& [atom, id] : cases) EXPECT_EQ(HotkeyIdFromAtom(atom), id) << "atom " << std::hex << atom;
}

// A stored Mod value with its key: what is registered, its name, and whether it can work at all.
TEST(Hotkey, StoredModifiersRegisterNameAndReservation) {
  constexpr int A = kModAlt, C = kModControl, S = kModShift, W = kModWin;
  constexpr ReservedBy no = ReservedBy::none, sys = ReservedBy::system, ime = ReservedBy::inputMethod;
  const struct {
    int stored, key, registered;
    const char16_t* name;
    ReservedBy reserved = no;
  } cases[] = {
      {A, 'A', A, u"Alt+A"}, {A, 'Z', A, u"Alt+Z"}, {A, '0', A, u"Alt+0"}, {A, '9', A, u"Alt+9"},
      {A, 0x70, A, u"Alt+F1"}, {A, 0x7B, A, u"Alt+F12"}, {A, 0x87, A, u"Alt+F24"}, {A, 0x88, A, u"Alt+キーコード 136"},
      {A, 0x6F, A, u"Alt+キーコード 111"}, {A, '@', A, u"Alt+キーコード 64"}, {A, '[', A, u"Alt+キーコード 91"},
      {A, 0, A, u"Alt+キーコード 0"}, {C | S, 0x20, C | S, u"Ctrl+Shift+Space"},
      {W | S | A | C, 'O', W | S | A | C, u"Ctrl+Alt+Shift+Win+O"},
      // No modifier only with a key that types nothing; bits that are no modifier mean Alt.
      {0, 0x70, 0, u"F1"}, {0, 0x87, 0, u"F24"}, {0, 0x1D, 0, u"無変換"}, {0, 0x1C, 0, u"変換"},
      {0, 0x15, 0, u"カタカナ/ひらがな"}, {0, 0xF1, 0, u"カタカナ/ひらがな"}, {0, 0xF2, 0, u"カタカナ/ひらがな"},
      {0, 0x13, 0, u"Pause"}, {0, 0x91, 0, u"ScrollLock"}, {0, 'O', A, u"Alt+O"}, {0, 0x20, A, u"Alt+Space"},
      {0, 0x6F, A, u"Alt+キーコード 111"}, {0, 0x88, A, u"Alt+キーコード 136"}, {0, 0x14, A, u"Alt+キーコード 20"},
      {16, 'O', A, u"Alt+O"}, {0x4001, 'O', A, u"Alt+O"}, {0x4000, 0x70, A, u"Alt+F1"}, {-1, 'O', A, u"Alt+O"},
      // The system's and the input method's own, and their neighbours.
      {W, 'L', W, u"Win+L", sys}, {C | A, 0x2E, C | A, u"Ctrl+Alt+キーコード 46", sys},
      {C | S, 0x1B, C | S, u"Ctrl+Shift+キーコード 27", sys}, {C, 0x1B, C, u"Ctrl+キーコード 27", sys},
      {C, 0x20, C, u"Ctrl+Space", ime}, {A, 0x19, A, u"Alt+キーコード 25", ime}, {0, 0x19, A, u"Alt+キーコード 25", ime},
      {A, 0xF3, A, u"Alt+キーコード 243", ime}, {A, 0xF4, A, u"Alt+キーコード 244", ime},
      {W | C, 'L', W | C, u"Ctrl+Win+L"}, {C, 'L', C, u"Ctrl+L"}, {C | A, 0x20, C | A, u"Ctrl+Alt+Space"},
      {C, 0x19, C, u"Ctrl+キーコード 25"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const int registered = UsableModifiers(cases[i].stored, cases[i].key);
    EXPECT_EQ(registered, cases[i].registered) << "case " << i;
    EXPECT_EQ(ToUtf8(HotkeyName(registered, cases[i].key)), ToUtf8(cases[i].name)) << "case " << i;
    EXPECT_EQ(ReservedCombination(registered, cases[i].key), cases[i].reserved) << "case " << i;
  }
}

}  // namespace
}  // namespace tav
