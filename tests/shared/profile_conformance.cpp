#include "profile_conformance.h"

#include "settings.h"
#include "temp_dir.h"
#include "text_encoding.h"

namespace tav::test {
namespace {


TEST_P(ProfileConformance, MissingFileSectionOrKeyGiveTheDefault) {
  TempDir dir;
  auto none = GetParam().open(dir.Text("absent.ini"), u"tavimbra");
  EXPECT_EQ(none->ReadString(u"Back", u"FFFFFF", 50), u"FFFFFF");
  EXPECT_EQ(none->ReadInt(u"Key1", 79), 79);

  WriteBytes(dir.path() / "other.ini", "[elsewhere]\r\nBack=000000\r\nKey1=5\r\n");
  auto other = GetParam().open(dir.Text("other.ini"), u"tavimbra");
  EXPECT_EQ(other->ReadString(u"Back", u"FFFFFF", 50), u"FFFFFF");
  EXPECT_EQ(other->ReadInt(u"Key1", 79), 79);
  EXPECT_EQ(other->ReadInt(u"Key2", 87), 87);
}

TEST_P(ProfileConformance, EmptyValueIsNotTheDefault) {
  TempDir dir;
  WriteBytes(dir.path() / "s.ini", "[tavimbra]\r\nBack=\r\nKey1=\r\n");
  auto f = GetParam().open(dir.Text("s.ini"), u"tavimbra");
  EXPECT_EQ(f->ReadString(u"Back", u"FFFFFF", 50), u"");
  EXPECT_EQ(f->ReadInt(u"Key1", 79), 0);
}

TEST_P(ProfileConformance, IntegersComeFromTheLeadingNumber) {
  TempDir dir;
  WriteBytes(dir.path() / "s.ini",
             "[tavimbra]\r\nFontSize=10.5\r\nBold=abc\r\nItalic=-1\r\nKey1=65\r\nKey2=  42 \r\nUseSkin=2x\r\n");
  auto f = GetParam().open(dir.Text("s.ini"), u"tavimbra");
  EXPECT_EQ(f->ReadInt(u"FontSize", 11), 10);
  EXPECT_EQ(f->ReadInt(u"Bold", 0), 0);
  EXPECT_EQ(f->ReadInt(u"Italic", 0), -1);
  EXPECT_EQ(f->ReadInt(u"Key1", 79), 65);
  EXPECT_EQ(f->ReadInt(u"Key2", 87), 42);
  EXPECT_EQ(f->ReadInt(u"UseSkin", 1), 2);
}

TEST_P(ProfileConformance, KeysAndSectionsCompareWithoutCase) {
  TempDir dir;
  WriteBytes(dir.path() / "s.ini", "[TAVIMBRA]\r\nKEEPFOCUS=0\r\nkey1=65\r\n");
  auto f = GetParam().open(dir.Text("s.ini"), u"tavimbra");
  EXPECT_EQ(f->ReadInt(u"KeepFocus", 1), 0);
  EXPECT_EQ(f->ReadInt(u"Key1", 79), 65);
}

TEST_P(ProfileConformance, StringsAreCutToTheBufferWithoutSplittingACharacter) {
  TempDir dir;
  std::u16string longAscii(80, u'x');
  std::u16string japanese;
  for (int i = 0; i < 3; ++i) japanese += u"あいうえおかきくけこさしすせそたちつて";  // 60 characters
  auto f = GetParam().open(dir.Text("s.ini"), u"tavimbra");
  ASSERT_TRUE(f->WriteString(u"Back", longAscii));
  ASSERT_TRUE(f->WriteString(u"Font", japanese));
  EXPECT_EQ(f->ReadString(u"Back", u"", 50), std::u16string(49, u'x'));
  std::u16string font = f->ReadString(u"Font", u"", 100);
  EXPECT_LE(ToAnsi(font).size(), 99u);
  EXPECT_EQ(font, japanese.substr(0, font.size())) << "cut inside a character";
  // The cut keeps every whole character that fits.
  EXPECT_GT(ToAnsi(japanese.substr(0, font.size() + 1)).size(), 99u);
}

TEST_P(ProfileConformance, WriteCreatesFileSectionAndKeyAndReplacesValues) {
  TempDir dir;
  auto f = GetParam().open(dir.Text("new.ini"), u"tavimbra");
  ASSERT_TRUE(f->WriteString(u"Back", u"0F00FF"));
  ASSERT_TRUE(f->WriteString(u"key1", u"65"));
  ASSERT_TRUE(f->WriteString(u"Back", u"123456"));
  EXPECT_EQ(f->ReadString(u"Back", u"", 50), u"123456");
  EXPECT_EQ(f->ReadInt(u"Key1", 79), 65);
  std::string bytes = ReadBytes(dir.path() / "new.ini");
  EXPECT_NE(bytes.find("[tavimbra]\r\n"), std::string::npos) << bytes;
  EXPECT_NE(bytes.find("Back=123456\r\n"), std::string::npos) << bytes;
  EXPECT_EQ(bytes.find("0F00FF"), std::string::npos) << bytes;
}

TEST_P(ProfileConformance, WriteIntoMissingFolderFailsAndCreatesNothing) {
  TempDir dir;
  auto g = GetParam().open(PathText(dir.path() / "nofolder" / "x.ini"), u"tavimbra");
  EXPECT_FALSE(g->WriteString(u"Back", u"FFFFFF"));
  EXPECT_FALSE(std::filesystem::exists(dir.path() / "nofolder"));
}

TEST_P(ProfileConformance, OtherSectionsAndUnknownKeysSurviveARewrite) {
  TempDir dir;
  WriteBytes(dir.path() / "s.ini", "[other]\r\na=1\r\n[tavimbra]\r\nMine=keep\r\nBack=FFFFFF\r\n");
  auto f = GetParam().open(dir.Text("s.ini"), u"tavimbra");
  ASSERT_TRUE(f->WriteString(u"Back", u"000000"));
  auto o = GetParam().open(dir.Text("s.ini"), u"other");
  EXPECT_EQ(o->ReadString(u"a", u"", 50), u"1");
  EXPECT_EQ(f->ReadString(u"Mine", u"", 50), u"keep");
  EXPECT_EQ(f->ReadString(u"Back", u"", 50), u"000000");
}

TEST_P(ProfileConformance, AnsiCodePageTextRoundTrips) {
  TempDir dir;
  auto f = GetParam().open(dir.Text("s.ini"), u"tavimbra");
  ASSERT_TRUE(f->WriteString(u"Font", DefaultText(SettingId::Font)));
  EXPECT_EQ(f->ReadString(u"Font", u"", 100), DefaultText(SettingId::Font));
  // Stored in the ANSI code page, as both programs' readers expect.
  EXPECT_NE(ReadBytes(dir.path() / "s.ini").find(ToAnsi(DefaultText(SettingId::Font))), std::string::npos);
}

// Files written by hand or by other tools.
TEST_P(ProfileConformance, TrickyFiles) {
  struct Case {
    const char* file;
    const char16_t* key;
    const char16_t* expected;  // nullptr: the default "<def>"
  };
  const Case cases[] = {
      {"[tavimbra]\r\nBack = 00FF00 \r\n", u"Back", u"00FF00"},
      {"[tavimbra]\nBack=00FF00", u"Back", u"00FF00"},                         // LF only, no final line end
      {"[tavimbra]\r\nBack=1\r\nBack=2\r\n", u"Back", u"1"},                  // first key wins
      {"[tavimbra]\r\nBack=1\r\n[tavimbra]\r\nText=2\r\n", u"Text", nullptr},  // only the first section counts
      {"; comment\r\n[tavimbra]\r\n;Back=1\r\nBack=2\r\n", u"Back", u"2"},
      {"[tavimbra]\r\nFont=a=b\r\n", u"Font", u"a=b"},
      {"[tavimbra]\r\nFont=\"quoted\"\r\n", u"Font", u"quoted"},
      {"[tavimbra]\r\nFont=\"half\r\n", u"Font", u"\"half"},
      {"[tavimbra]\r\nBack\r\n", u"Back", nullptr},                            // no "=": no value
      {"  [ tavimbra ]  \r\nBack=1\r\n", u"Back", u"1"},                      // blanks around the name
      {"[tavimbra]   \r\n\tBack\t=\t7\t\r\n", u"Back", u"7"},
      {"\xEF\xBB\xBF[tavimbra]\r\nFont=\xE3\x81\x82\r\n", u"Font", u"あ"},     // UTF-8 with a mark
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    TempDir dir;
    WriteBytes(dir.path() / "s.ini", cases[i].file);
    auto f = GetParam().open(dir.Text("s.ini"), u"tavimbra");
    std::u16string expected = cases[i].expected ? cases[i].expected : u"<def>";
    EXPECT_EQ(ToUtf8(f->ReadString(cases[i].key, u"<def>", 100)), ToUtf8(expected)) << "case " << i;
  }
}

}  // namespace
}  // namespace tav::test
