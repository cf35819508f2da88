#include <windows.h>

#include <gtest/gtest.h>

#include "private_prefix.h"

#include "command_file.h"
#include "compose_command_line.h"
#include "file_io.h"
#include "install_folder.h"
#include "settings.h"
#include "temp_dir.h"
#include "text_encoding.h"

namespace tav::test {
namespace {

class Cp932 : public ::testing::Test {
 protected:
  void SetUp() override {
    // This tier runs in a Japanese locale; a misconfigured run must not pass by skipping.
    TAV_REQUIRE_CODE_PAGE_932();
  }
};

TEST_F(Cp932, DefaultFontNameIsShiftJisOnDisk) {
  EXPECT_EQ(ToAnsi(DefaultText(SettingId::Font)), "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E");
  EXPECT_EQ(FromAnsi("\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E"), DefaultText(SettingId::Font));
}

TEST_F(Cp932, ByteLimitsCountDoubleByteCharacters) {
  std::u16string kana(30, u'あ');
  EXPECT_EQ(FitAnsiBytes(kana, 49), std::u16string(24, u'あ'));
  EXPECT_EQ(FitAnsiBytes(u"a" + kana, 49), u"a" + std::u16string(24, u'あ'));
  EXPECT_EQ(FitAnsiBytes(kana, 99), kana);
  EXPECT_EQ(FitAnsiBytes(u"ｱｲｳ", 2), u"ｱｲ");  // half-width kana are single bytes
}

// What may be stored: a font face in the settings file, a command line in a command file.
TEST_F(Cp932, OnlyTextThePageHoldsSurvivesIt) {
  const struct {
    const char16_t* text;
    bool survives;
  } cases[] = {
      {u"", true},
      {u"notepad.exe memo.txt", true},
      {u"ＭＳ Ｐゴシック", true},
      {u"ﾒﾓ 計算機", true},      // half-width kana are single bytes
      {u"맑은 고딕", false},     // no Hangul in the page
      {u"Ärger", false},         // at best "Arger"
      {u"\u00A5100", false},    // the yen sign would come back as a backslash
      {u"𠮷野家", false},        // beyond the page's kanji
      {u"memo\u30FBx", true},   // the middle dot is in the page
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(SurvivesAnsi(cases[i].text), cases[i].survives) << "case " << i;
}

TEST_F(Cp932, SettingsWrittenBySettingsSideReadBackByLauncherSide) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "settings");
  std::u16string ini = SettingsFilePath(dir.Text());
  auto writer = OpenWin32Profile(ini, std::u16string(kSettingsSection));
  WriteSettings(*writer, {u"0F00FF", u"000000", u"1", u"1", u"0", u"65", u"87", u"ＭＳ 明朝", u"14", u"1", u"0", u"0",
                          u"0"});
  for (auto open : {&OpenWin32Profile, &OpenPortableProfile}) {
    auto reader = open(ini, std::u16string(kSettingsSection));
    Settings s = ReadLauncherSettings(*reader);
    EXPECT_EQ(s.font, u"ＭＳ 明朝");
    EXPECT_EQ(s.key1, 65);
    EXPECT_EQ(s.fontSize, 14);
  }
  EXPECT_NE(ReadBytes(dir.path() / "settings" / "tavimbra.ini").find("Font=\x82\x6C\x82\x72 \x96\xBE\x92\xA9\r\n"),
            std::string::npos);
}

TEST_F(Cp932, JapaneseCommandNameAndLineRoundTrip) {
  TempDir dir;
  std::filesystem::create_directory(dir.path() / "texts");
  std::u16string name = u"メモ帳 ノート";
  std::u16string line = u"\"C:\\ツール\\エディタ.exe\" \"C:\\文書\\予定表.txt\"";
  ASSERT_TRUE(WriteFileBytes(CommandFilePath(dir.Text(), name), ToAnsi(line + u"\r\n")));

  WIN32_FIND_DATAW fd;
  HANDLE h = FindFirstFileW(W(JoinPath(dir.Text(), u"texts\\*")), &fd);
  ASSERT_NE(h, INVALID_HANDLE_VALUE);
  std::u16string listed;
  do {
    if (!(fd.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY)) listed = U(fd.cFileName);
  } while (FindNextFileW(h, &fd));
  FindClose(h);
  EXPECT_EQ(listed, name + u".txt");

  auto bytes = ReadFileBytes(CommandFilePath(dir.Text(), u"メモ帳 ノート"));
  ASSERT_TRUE(bytes);
  EXPECT_EQ(ComposeCommandLine(DecodeCommandFile(*bytes), SplitCommandInput(name + u"/追加")), line + u" 追加");
}

// Without a mark: UTF-8 as Notepad saves it today, else code page 932 as the settings program writes.
TEST_F(Cp932, UnmarkedCommandFilesInEitherEncoding) {
  const std::u16string line = u"\"C:\\ツール\\エディタ.exe\" \"C:\\文書\\予定表.txt\"";
  struct Case {
    std::string bytes;
    std::u16string text;
  } cases[] = {
      {ToUtf8(line) + "\r\n", line + u"\r\n"},
      {ToAnsi(line) + "\r\n", line + u"\r\n"},
      {ToAnsi(u"ﾃｽﾄ.exe"), u"ﾃｽﾄ.exe"},  // starts like UTF-8 (C3 BD)
      {ToAnsi(u"ﾊﾟｿｺﾝ\\メモ帳.exe"), u"ﾊﾟｿｺﾝ\\メモ帳.exe"},
      {"notepad.exe\r\n", u"notepad.exe\r\n"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(DecodeCommandFile(cases[i].bytes), cases[i].text) << "case " << i;
}

}  // namespace
}  // namespace tav::test
