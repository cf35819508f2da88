#include <gtest/gtest.h>

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
  EXPECT_EQ(HotkeyIdFromAtom(0xC001), -16383);
  EXPECT_EQ(HotkeyIdFromAtom(0xC001), HotkeyIdFromAtom(static_cast<std::uint16_t>(0xC001)));
  EXPECT_EQ(HotkeyIdFromAtom(0x0100), 0x0100);
}

}  // namespace
}  // namespace tav
