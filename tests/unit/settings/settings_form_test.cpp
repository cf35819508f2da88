#include <gtest/gtest.h>

#include <algorithm>
#include <map>
#include <optional>
#include <vector>

#include "settings_form.h"
#include "text_encoding.h"

namespace tav::settings {
namespace {

// One log for the file's writes and the shortcut work, so their interleaving is visible.
struct Log {
  std::vector<std::string> calls;
};

class RecordingProfile : public ProfileFile {
 public:
  explicit RecordingProfile(Log& log) : log_(log) {}
  std::u16string ReadString(std::u16string_view key, std::u16string_view def, std::size_t) override {
    log_.calls.push_back("read " + ToUtf8(key));
    return key == u"Font" && storedFont ? *storedFont : std::u16string(def);
  }
  std::optional<std::u16string> storedFont;
  int ReadInt(std::u16string_view key, int def) override {
    log_.calls.push_back("read " + ToUtf8(key));
    return def;
  }
  bool WriteString(std::u16string_view key, std::u16string_view value) override {
    log_.calls.push_back(ToUtf8(key) + "=" + ToUtf8(value));
    return !(failingKey == u"*" || failingKey == key);
  }
  std::u16string failingKey;  // "*": every write fails

 private:
  Log& log_;
};

class RecordingShortcuts : public ShortcutWork {
 public:
  explicit RecordingShortcuts(Log& log) : log_(log) {}
  void SendTo(bool wanted) override { log_.calls.push_back(wanted ? "sendto shortcut made" : "sendto shortcut removed"); }
  void StartUp(bool wanted) override {
    log_.calls.push_back(wanted ? "startup shortcut made" : "startup shortcut removed");
  }
  bool StartUpTurnedOff() override { return turnedOff; }
  bool turnedOff = false;

 private:
  Log& log_;
};

constexpr char16_t kPath[] = u"C:\\Tavimbra\\settings\\tavimbra.ini";
std::u16string NoReason() { return u"(no reason asked for)"; }

TEST(SaveSettings, ThirteenWritesInOrderWithShortcutWorkBeforeItsKey) {
  struct Case {
    FormValues values;
    std::vector<std::string> expected;
  };
  FormValues defaults;
  defaults.backColour = u"FFFFFF";
  defaults.textColour = u"000000";
  defaults.autoComplete = defaults.keepFocus = defaults.useSkin = true;
  defaults.key1Caption = u"79";
  defaults.key2Caption = u"87";
  defaults.fontFace = u"ＭＳ Ｐゴシック";
  defaults.fontSizeText = u"11";

  FormValues changed;
  changed.backColour = u"0F00FF";
  changed.textColour = u"";  // never set: saved empty
  changed.key1Caption = u"65";
  changed.key2Caption = u"112";
  changed.fontFace = u"Not Installed Face";
  changed.fontSizeText = u"10.5";
  changed.bold = changed.italic = changed.startUp = true;  // Send To stays off: each shortcut follows its own box

  FormValues sendToOnly = defaults;  // Send To alone, the other way round
  sendToOnly.backColour = u"0F00FF";
  sendToOnly.keepFocus = false;
  sendToOnly.key1Caption = u"65";
  sendToOnly.fontFace = u"ＭＳ ゴシック";
  sendToOnly.fontSizeText = u"10.5";
  sendToOnly.bold = sendToOnly.sendTo = true;

  // Mod1 changed to Ctrl, Mod2 back to Alt from the Shift read at load: both written, after StartUP;
  // a modifier that stays Alt where the file had none (the cases above) is not written at all.
  FormValues modifiers = defaults;
  modifiers.modifiers[0] = 2;
  modifiers.modifiersAsRead[1] = 4;

  const std::vector<std::string> defaultsSaved = {
      "Back=FFFFFF", "Text=000000", "AutoComplete=1", "KeepFocus=1", "UseSkin=1", "key1=79", "key2=87",
      "Font=ＭＳ Ｐゴシック", "FontSize=11", "Bold=0", "Italic=0", "sendto shortcut removed", "SendTo=0",
      "startup shortcut removed", "StartUP=0"};
  std::vector<std::string> modifiersSaved = defaultsSaved;
  modifiersSaved.insert(modifiersSaved.end(), {"Mod1=2", "Mod2=1"});
  const Case cases[] = {
      {modifiers, modifiersSaved},
      {defaults, defaultsSaved},
      {changed,
       {"Back=0F00FF", "Text=", "AutoComplete=0", "KeepFocus=0", "UseSkin=0", "key1=65", "key2=112",
        "Font=Not Installed Face", "FontSize=10.5", "Bold=1", "Italic=1", "sendto shortcut removed", "SendTo=0",
        "startup shortcut made", "StartUP=1"}},
      {sendToOnly,
       {"Back=0F00FF", "Text=000000", "AutoComplete=1", "KeepFocus=0", "UseSkin=1", "key1=65", "key2=87",
        "Font=ＭＳ ゴシック", "FontSize=10.5", "Bold=1", "Italic=0", "sendto shortcut made", "SendTo=1",
        "startup shortcut removed", "StartUP=0"}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Log log;
    RecordingProfile file(log);
    file.failingKey = u"*";  // a failing write must not stop the ones after it
    RecordingShortcuts shortcuts(log);
    SaveSettings(file, cases[i].values, shortcuts, kPath, NoReason);
    EXPECT_EQ(log.calls, cases[i].expected) << "case " << i;
  }
}

// A face the code page cannot hold is never written: it would come back as "MS P????", a face
// that does not exist. The file keeps its Font and the user is told, except for the default face
// where the file has none (it reads as the default anyway).
TEST(SaveSettings, FaceTheCodePageCannotHoldLeavesTheFileFont) {
  struct Case {
    const char16_t* face;
    const char16_t* stored;  // Font in the file; nullptr: none
    bool told;
  };
  const Case cases[] = {
      {u"ＭＳ Ｐゴシック", nullptr, false},
      {u"ＭＳ Ｐゴシック", u"Arial", true},
      {u"맑은 고딕", nullptr, true},
      {u"맑은 고딕", u"Arial", true},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Log log;
    RecordingProfile file(log);
    if (cases[i].stored) file.storedFont = cases[i].stored;
    RecordingShortcuts shortcuts(log);
    FormValues v;
    v.fontFace = cases[i].face;
    v.fontStorable = false;
    std::optional<std::u16string> message = SaveSettings(file, v, shortcuts, kPath, NoReason);
    EXPECT_EQ(std::count_if(log.calls.begin(), log.calls.end(), [](const std::string& c) { return c.rfind("Font=", 0) == 0; }),
              0)
        << "case " << i;
    EXPECT_EQ(std::count_if(log.calls.begin(), log.calls.end(), [](const std::string& c) { return c.find('=') != std::string::npos; }),
              12)
        << "case " << i << ": every other key is written";
    ASSERT_EQ(message.has_value(), cases[i].told) << "case " << i;
    if (message) {
      EXPECT_EQ(*message, FaceNotStoredMessage(cases[i].face)) << "case " << i;
    }
  }
  EXPECT_NE(FaceNotStoredMessage(u"맑은 고딕").find(u"[맑은 고딕]"), std::u16string::npos);
}

TEST(FontSizeBox, LeavingIt) {
  struct Case {
    const char* text;
    const char* after;  // nullptr: unchanged
  };
  const Case cases[] = {
      {"", "11"},   {"0", "11"},    {"00", "11"},  {"0.0", "11"}, {"11", nullptr}, {"14", nullptr},
      {"10.5", nullptr}, {"7", nullptr}, {".5", nullptr}, {" 12", nullptr}, {"12 ", nullptr},
      {" 12\t", nullptr}, {" ", "11"}, {"0 ", "11"}, {"-0", "11"}, {" .0 ", "11"},
      // Not a number equal to 0: kept as typed, for the size rule of whoever reads it.
      {"abc", nullptr}, {"-3", nullptr}, {"12pt", nullptr}, {"1 2", nullptr}, {"0pt", nullptr}, {"0x10", nullptr},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    auto r = FontSizeOnLeave(FromUtf8(cases[i].text));
    if (cases[i].after)
      EXPECT_EQ(r ? ToUtf8(*r) : "<unchanged>", cases[i].after) << "case " << i;
    else
      EXPECT_FALSE(r.has_value()) << "case " << i;
  }
}

TEST(FontSizeBox, SizeForThePreviewKeepsFractions) {
  struct Case {
    const char* text;
    double size;  // 0: none, the preview keeps its size
  };
  const Case cases[] = {{"11", 11},  {"10.5", 10.5}, {"14pt", 14}, {" 9", 9},     {"", 0},
                        {"0", 0},    {"-4", 0},      {"abc", 0},   {"5000", 0},   {"1e9999", 1}};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    auto r = PreviewFontSize(FromUtf8(cases[i].text));
    if (cases[i].size > 0) {
      ASSERT_TRUE(r.has_value()) << "case " << i;
      EXPECT_DOUBLE_EQ(*r, cases[i].size) << "case " << i;
    } else {
      EXPECT_FALSE(r.has_value()) << "case " << i;
    }
  }
}

// A write that fails (a read-only or locked file, no settings folder) is said, once, with the
// file and the system's reason taken right after it; the Start-up entry Windows keeps off is
// said when the shortcut is wanted. Everything said goes in one message.
TEST(SaveSettings, WhatTheUserIsTold) {
  const std::u16string failed = WriteFailedMessage(kPath, u"アクセスが拒否されました。");
  struct Case {
    const char16_t* failingKey;  // "": every write succeeds, "*": none does, "!": the writes do, the commit not
    bool faceStorable, startUp, turnedOff;
    std::u16string message;  // empty: none
  };
  const Case cases[] = {
      {u"", true, true, false, u""},
      {u"", true, false, true, u""},  // not wanted: the switch does not matter
      {u"*", true, false, false, failed},
      {u"Italic", true, false, false, failed},
      {u"StartUP", true, false, false, failed},
      {u"!", true, false, false, WriteFailedMessage(kPath, u"使用中です。")},  // the copy not moved into place
      {u"", true, true, true, StartUpTurnedOffMessage()},
      {u"", false, false, false, FaceNotStoredMessage(u"맑은 고딕")},
      {u"Back", false, true, true,
       failed + u"\r\n\r\n" + FaceNotStoredMessage(u"맑은 고딕", false) + u"\r\n\r\n" + StartUpTurnedOffMessage()},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Log log;
    RecordingProfile file(log);
    file.failingKey = cases[i].failingKey;
    RecordingShortcuts shortcuts(log);
    shortcuts.turnedOff = cases[i].turnedOff;
    FormValues v;
    v.fontFace = u"맑은 고딕";
    v.fontStorable = cases[i].faceStorable;
    v.startUp = cases[i].startUp;
    int asked = 0;
    const std::u16string failing = cases[i].failingKey;
    int commits = 0;
    std::optional<std::u16string> message = SaveSettings(
        file, v, shortcuts, kPath,
        [&] {
          ++asked;
          return std::u16string(u"アクセスが拒否されました。");
        },
        [&]() -> std::optional<std::u16string> {
          ++commits;
          if (failing == u"!") return u"使用中です。";
          return std::nullopt;
        });
    EXPECT_EQ(commits, failing.empty() || failing == u"!" ? 1 : 0) << "case " << i << ": a mix is never put in place";
    EXPECT_EQ(message.value_or(u""), cases[i].message) << "case " << i;
    EXPECT_EQ(asked, failing.empty() || failing == u"!" ? 0 : 1) << "case " << i << ": the reason of the first failed write";
    EXPECT_EQ(std::count_if(log.calls.begin(), log.calls.end(), [](const std::string& c) { return c.find('=') != std::string::npos; }),
              cases[i].faceStorable ? 13 : 12)
        << "case " << i << ": every write is attempted";
  }
  EXPECT_EQ(failed.find(u"保存されました"), std::u16string::npos);
  EXPECT_EQ(FaceNotStoredMessage(u"x", false).find(u"保存されました"), std::u16string::npos);
  // Task Manager's tab by its Windows 10 name and its Windows 11 one.
  for (const char16_t* tab : {u"「スタートアップ」タブ", u"「スタートアップ アプリ」"})
    EXPECT_NE(StartUpTurnedOffMessage().find(tab), std::u16string::npos) << ToUtf8(tab);
}

// What an input method or a paste brings into the number boxes: full-width digits mean digits.
TEST(NumberBoxes, FullWidthDigitsBecomeAscii) {
  struct Case {
    const char16_t* text;
    bool hex;
    const char16_t* narrow;
  };
  const Case cases[] = {
      {u"１２", false, u"12"},           {u"１０．５", false, u"10.5"},
      {u"０９", false, u"09"},           {u"１Ａ", false, u"1Ａ"},  // no hex digits in the size
      {u"ｆｆ", true, u"ff"},            {u"Ａ０", true, u"A0"},
      {u"Ｇ１", true, u"Ｇ1"},           {u"．", true, u"．"},
      {u"12", false, u"12"},             {u"あ１", false, u"あ1"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(NarrowDigits(cases[i].text, cases[i].hex), cases[i].narrow) << "case " << i;
}

TEST(ColourPair, ByPosition) {
  struct Case {
    const char* value;
    const char* pairs[3];
  };
  const Case cases[] = {{"0F00FF", {"0F", "00", "FF"}},
                        {"ABCDEF99", {"AB", "CD", "EF"}},
                        {"ABC", {"AB", "C", ""}},
                        {"", {"", "", ""}}};
  for (std::size_t i = 0; i < std::size(cases); ++i)
    for (int p = 0; p < 3; ++p)
      EXPECT_EQ(ToUtf8(ColourPair(FromUtf8(cases[i].value), p)), cases[i].pairs[p]) << "case " << i << " pair " << p;
}

TEST(OpenFolder, NewExplorerWindowOnTheQuotedFolder) {
  EXPECT_EQ(ToUtf8(OpenFolderCommandLine(u"C:\\Program Files\\Tavimbra")),
            "explorer.exe /n, \"C:\\Program Files\\Tavimbra\"");
}

}  // namespace
}  // namespace tav::settings
