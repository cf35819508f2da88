#include <gtest/gtest.h>

#include <limits>
#include <map>
#include <vector>

#include "settings.h"
#include "text_encoding.h"

namespace tav {
namespace {

// Records every call; answers from a table of stored values.
class RecordingProfile : public ProfileFile {
 public:
  std::map<std::u16string, std::u16string> stored;  // key as written -> value
  std::vector<std::string> calls;

  std::u16string ReadString(std::u16string_view key, std::u16string_view def, std::size_t bytes) override {
    calls.push_back("str " + ToUtf8(key) + " " + ToUtf8(def) + " " + std::to_string(bytes));
    auto it = Find(key);
    return it == stored.end() ? std::u16string(def) : it->second;
  }
  int ReadInt(std::u16string_view key, int def) override {
    calls.push_back("int " + ToUtf8(key) + " " + std::to_string(def));
    auto it = Find(key);
    return it == stored.end() ? def : ParseProfileInt(it->second);
  }
  bool WriteString(std::u16string_view key, std::u16string_view value) override {
    calls.push_back("write " + ToUtf8(key) + "=" + ToUtf8(value));
    stored[std::u16string(key)] = value;
    return true;
  }

 private:
  std::map<std::u16string, std::u16string>::iterator Find(std::u16string_view key) {
    for (auto it = stored.begin(); it != stored.end(); ++it)
      if (EqualsNoCase(it->first, key)) return it;
    return stored.end();
  }
};

TEST(Settings, LauncherReadsItsKeysInOrderWithTheirDefaults) {
  RecordingProfile f;
  Settings s = ReadLauncherSettings(f);
  std::vector<std::string> expected = {
      "str Back FFFFFF 50", "str Text 000000 50", "str Font ＭＳ Ｐゴシック 100",
      "int Key1 79",        "int Key2 87",        "int KeepFocus 1",
      "int UseSkin 1",      "int AutoComplete 1", "int FontSize 11",
      "int Bold 0",         "int Italic 0",       "int Mod1 1",
      "int Mod2 1"};
  EXPECT_EQ(f.calls, expected);
  EXPECT_EQ(s.font, u"ＭＳ Ｐゴシック");
  EXPECT_EQ(s.key1, 79);
  EXPECT_EQ(s.fontSize, 11);
}

TEST(Settings, SettingsProgramReadsSendToAndStartUpLast) {
  RecordingProfile f;
  f.stored[u"SENDTO"] = u"1";
  Settings s = ReadAllSettings(f);
  ASSERT_EQ(f.calls.size(), 15u);
  EXPECT_EQ(f.calls[13], "int SendTo 0");
  EXPECT_EQ(f.calls[14], "int StartUP 0");
  EXPECT_EQ(s.sendTo, 1);
  EXPECT_EQ(s.startUp, 0);
}

// The order of the save (thirteen writes, each shortcut before its key) is checked with the
// settings program's save, which calls WriteSettings: settings/settings_form_test.cpp.

TEST(Settings, WrittenValuesReadBackAsTheLauncherSeesThem) {
  RecordingProfile f;
  WriteSettings(f, {u"0F00FF", u"", u"0", u"2", u"-1", u"65", u"112", u"x", u"10.5", u"2", u"1", u"0", u"1"});
  Settings s = ReadAllSettings(f);
  EXPECT_EQ(s.back, u"0F00FF");
  EXPECT_EQ(s.text, u"");  // empty stays empty, not the default
  EXPECT_EQ(s.key1, 65);   // "key1" is the entry read as "Key1"
  EXPECT_EQ(s.key2, 112);
  EXPECT_EQ(s.fontSize, 10);
  EXPECT_FALSE(IsOn(s.autoComplete));
  EXPECT_FALSE(IsOn(s.keepFocus));  // 2 is off
  EXPECT_FALSE(IsOn(s.useSkin));    // -1 is off
  EXPECT_FALSE(IsOn(s.bold));
  EXPECT_TRUE(IsOn(s.italic));
  EXPECT_TRUE(IsOn(s.startUp));
}

// Every row of the table: a value written under the key's written spelling comes back under its
// read spelling, in its member, and every other member keeps its default; the launcher reads only
// its own keys.
TEST(Settings, EveryKeyRoundTripsThroughTheTable) {
  const Settings defaults;
  for (const SettingKey& k : kSettingKeys) {
    SCOPED_TRACE(ToUtf8(k.name));
    RecordingProfile f;
    SettingTexts t;
    t[static_cast<std::size_t>(k.id)] = k.IsText() ? u"0F00FF" : u"7";
    WriteSettings(f, t);
    ASSERT_EQ(f.calls, std::vector<std::string>{"write " + ToUtf8(k.written) + "=" + ToUtf8(*t[static_cast<std::size_t>(k.id)])});
    const Settings all = ReadAllSettings(f), launcher = ReadLauncherSettings(f);
    for (const SettingKey& other : kSettingKeys) {
      const bool mine = other.id == k.id, seen = other.readBy == ReadBy::Both;
      if (other.IsText()) {
        EXPECT_EQ(all.*other.text, mine ? u"0F00FF" : defaults.*other.text) << ToUtf8(other.name);
        EXPECT_EQ(launcher.*other.text, mine && seen ? u"0F00FF" : defaults.*other.text) << ToUtf8(other.name);
      } else {
        EXPECT_EQ(all.*other.number, mine ? 7 : defaults.*other.number) << ToUtf8(other.name);
        EXPECT_EQ(launcher.*other.number, mine && seen ? 7 : defaults.*other.number) << ToUtf8(other.name);
      }
    }
  }
}

TEST(Settings, BoxFontPointsStayWithinWhatTheWindowShows) {
  struct Case {
    double requested, made;
  } cases[] = {{11, 11}, {14, 14}, {10.5, 10.5}, {48, 48}, {48.5, 48}, {100000, 48}, {1e300, 48},
               {0, 11}, {-5, 11}, {std::numeric_limits<double>::quiet_NaN(), 11}, {1, 1}};
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(BoxFontPoints(cases[i].requested), cases[i].made) << "case " << i;
}

}  // namespace
}  // namespace tav
