#include "launcher_sequences.h"

#include <gtest/gtest.h>

#include <map>
#include <vector>

#include "text_encoding.h"

namespace tav {
namespace {

using Log = std::vector<std::string>;

class RecordingStartup final : public StartupSteps {
 public:
  Settings settings;
  bool anotherCopy = false;
  Log log;

  Settings ReadSettings() override { return log.push_back("read"), settings; }
  void ApplyLook(const LauncherSetup& s) override {
    log.push_back("look " + std::to_string(s.backColour) + (s.bold ? " bold" : ""));
  }
  void LoadCommandList() override { log.push_back("list"); }
  void LoadSkin() override { log.push_back("skin"); }
  bool AnotherCopyRunning() override { return log.push_back("check"), anotherCopy; }
  void ShowAlreadyRunning() override { log.push_back("message"); }
  void FillTrayData() override { log.push_back("tray data"); }
  void HideWindow() override { log.push_back("hide"); }
  void AddTrayIcon() override { log.push_back("icon"); }
  void AddHotkeys(int k1, int k2) override { log.push_back("hotkeys " + std::to_string(k1) + " " + std::to_string(k2)); }
  void HookWindow() override { log.push_back("hook"); }
};

TEST(Startup, StepsInTheirOrder) {
  struct Case {
    int useSkin;
    bool anotherCopy;
    Log expected;
  } cases[] = {
      {1, false, {"read", "look 255", "list", "skin", "check", "tray data", "hide", "icon", "hotkeys 65 87", "hook"}},
      {0, false, {"read", "look 255", "list", "check", "tray data", "hide", "icon", "hotkeys 65 87", "hook"}},
      {2, false, {"read", "look 255", "list", "check", "tray data", "hide", "icon", "hotkeys 65 87", "hook"}},
      // A second copy stops at its message: no icon, no hotkeys, no hook.
      {1, true, {"read", "look 255", "list", "skin", "check", "message"}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    RecordingStartup s;
    s.settings.back = u"0000FF";
    s.settings.key1 = 65;
    s.settings.useSkin = cases[i].useSkin;
    s.anotherCopy = cases[i].anotherCopy;
    auto setup = RunStartup(s);
    EXPECT_EQ(s.log, cases[i].expected) << "case " << i;
    EXPECT_EQ(setup.has_value(), !cases[i].anotherCopy) << "case " << i;
  }
}

class RecordingCommands final : public CommandSteps {
 public:
  std::map<std::u16string, std::string> files;  // command name -> bytes
  bool desktop = true;
  Log log;

  std::optional<std::string> ReadCommandFile(const std::u16string& name) override {
    log.push_back("read " + ToUtf8(name));
    auto it = files.find(name);
    if (it == files.end()) return std::nullopt;
    return it->second;
  }
  void ClearInput() override { log.push_back("clear"); }
  void FocusWindow() override { log.push_back("focus"); }
  bool ActivateDesktop() override { return log.push_back("desktop"), desktop; }
  void DisableTimer() override { log.push_back("timer off"); }
  void SendAltEsc() override { log.push_back("alt+esc"); }
  void HideWindow() override { log.push_back("hide"); }
  void StartCommandLine(const std::u16string& cl) override { log.push_back("start " + ToUtf8(cl)); }
};

TEST(RunCommand, FoundNotFoundAndEmpty) {
  struct Case {
    const char16_t* typed;
    bool found;
    Log expected;
  } cases[] = {
      {u"memo", true, {"read memo", "clear", "desktop", "timer off", "hide", "start notepad.exe"}},
      {u"memo/C:\\a.txt", true,
       {"read memo", "clear", "desktop", "timer off", "hide", "start notepad.exe C:\\a.txt"}},
      {u"web/a/b", true, {"read web", "clear", "desktop", "timer off", "hide", "start browser.exe a/b"}},
      {u"two", true, {"read two", "clear", "desktop", "timer off", "hide", "start second"}},
      // No command file: nothing at all happens.
      {u"nope/x", false, {"read nope"}},
      {u"/x", false, {"read "}},
      // A file without a command line: hidden, nothing to start.
      {u"empty", true, {"read empty", "clear", "desktop", "timer off", "hide"}},
      {u"blank", true, {"read blank", "clear", "desktop", "timer off", "hide"}},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    RecordingCommands c;
    c.files = {{u"memo", "notepad.exe\r\n"}, {u"web", "browser.exe\r\n"}, {u"two", "first\r\nsecond\r\n"},
               {u"empty", ""}, {u"blank", "x\r\n\r\n"}};
    EXPECT_EQ(RunCommand(cases[i].typed, c), cases[i].found) << "case " << i;
    EXPECT_EQ(c.log, cases[i].expected) << "case " << i;
  }
}

TEST(Dismiss, HandsTheForegroundOnOnlyThroughTheDesktop) {
  RecordingCommands c;
  Dismiss(c);
  EXPECT_EQ(c.log, (Log{"clear", "focus", "timer off", "desktop", "alt+esc", "hide"}));
  RecordingCommands none;
  none.desktop = false;
  Dismiss(none);
  EXPECT_EQ(none.log, (Log{"clear", "focus", "timer off", "desktop", "hide"}));
}

TEST(LauncherSettings, Interpretation) {
  struct Case {
    const char16_t* back;
    const char16_t* text;
    int fontSize, bold, italic, keepFocus, useSkin;
    LauncherSetup expected;
  };
  auto setup = [](std::uint32_t b, std::uint32_t t, int pt, bool bold, bool italic, bool keep, bool skin) {
    LauncherSetup s;
    s.backColour = b;
    s.textColour = t;
    s.fontPoints = pt;
    s.bold = bold;
    s.italic = italic;
    s.keepFocus = keep;
    s.useSkin = skin;
    return s;
  };
  Case cases[] = {
      {u"FFFFFF", u"000000", 11, 0, 0, 1, 1, setup(0xFFFFFF, 0, 11, false, false, true, true)},
      {u"0000FF", u"FFFFFF", 14, 1, 1, 0, 0, setup(0x0000FF, 0xFFFFFF, 14, true, true, false, false)},
      {u"0F00FF", u"ff0000", 10, 2, -1, 2, 2, setup(0x0F00FF, 0xFF0000, 10, false, false, false, false)},
      {u"", u"", 11, 0, 0, 1, 1, setup(0, 0, 11, false, false, true, true)},          // empty: black
      {u"GG00FF", u"12345678", 0, 0, 0, 1, 1, setup(0xFFFFFF, 0, 11, false, false, true, true)},  // not colours
      {u"F", u"00FF", -3, 0, 0, 1, 1, setup(0x00000F, 0x0000FF, 11, false, false, true, true)},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Settings s;
    s.back = cases[i].back;
    s.text = cases[i].text;
    s.fontSize = cases[i].fontSize;
    s.bold = cases[i].bold;
    s.italic = cases[i].italic;
    s.keepFocus = cases[i].keepFocus;
    s.useSkin = cases[i].useSkin;
    s.font = u"ＭＳ ゴシック";
    LauncherSetup got = InterpretSettings(s);
    const LauncherSetup& e = cases[i].expected;
    EXPECT_EQ(got.backColour, e.backColour) << "case " << i;
    EXPECT_EQ(got.textColour, e.textColour) << "case " << i;
    EXPECT_EQ(got.fontPoints, e.fontPoints) << "case " << i;
    EXPECT_EQ(got.bold, e.bold) << "case " << i;
    EXPECT_EQ(got.italic, e.italic) << "case " << i;
    EXPECT_EQ(got.keepFocus, e.keepFocus) << "case " << i;
    EXPECT_EQ(got.useSkin, e.useSkin) << "case " << i;
    EXPECT_TRUE(got.fontFace == u"ＭＳ ゴシック") << "case " << i;
  }
}

}  // namespace
}  // namespace tav
