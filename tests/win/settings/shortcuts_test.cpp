#include <gtest/gtest.h>

#include <filesystem>

#include "shortcuts_win32.h"
#include "temp_dir.h"
#include "text_encoding.h"

namespace tav::settings {
namespace {

namespace fs = std::filesystem;
using test::PathOf;
using test::TempDir;

// A program folder with both programs, and a special folder to put shortcuts in.
struct Folders {
  TempDir temp;
  std::u16string program, special;
  Folders() {
    fs::create_directories(temp.path() / L"アプリ" / L"Tavimbra");
    fs::create_directories(temp.path() / L"SendTo");
    program = temp.Text() + u"\\アプリ\\Tavimbra";
    special = temp.Text() + u"\\SendTo";
    test::WriteBytes(PathOf(program + u"\\Tavimbra.exe"), "MZ");
    test::WriteBytes(PathOf(program + u"\\Tavimset.exe"), "MZ");
  }
};

TEST(Shortcuts, TickedWritesAndRewritesUntickedRemoves) {
  struct Case {
    std::u16string_view file;
    const char16_t* exe;
  };
  const Case cases[] = {{kStartUpShortcutFile, u"Tavimbra.exe"}, {kSendToShortcutFile, u"Tavimset.exe"}};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Folders f;
    std::u16string link = f.special + u"\\" + std::u16string(cases[i].file);
    std::u16string target = f.program + u"\\" + cases[i].exe;

    ShortcutStep(true, f.special, cases[i].file, target, f.program);
    auto info = ReadShortcut(link);
    ASSERT_TRUE(info.has_value()) << "case " << i;
    EXPECT_TRUE(EqualsNoCase(info->target, target)) << "case " << i << ": " << ToUtf8(info->target);
    EXPECT_TRUE(EqualsNoCase(info->workingFolder, f.program)) << "case " << i << ": " << ToUtf8(info->workingFolder);

    // Ticked again: written afresh, so a changed target or folder is taken over.
    std::u16string other = f.temp.Text() + u"\\Other.exe";
    test::WriteBytes(PathOf(other), "MZ");
    ShortcutStep(true, f.special, cases[i].file, other, f.temp.Text());
    info = ReadShortcut(link);
    ASSERT_TRUE(info.has_value()) << "case " << i;
    EXPECT_TRUE(EqualsNoCase(info->target, other)) << "case " << i << ": " << ToUtf8(info->target);
    EXPECT_TRUE(EqualsNoCase(info->workingFolder, f.temp.Text())) << "case " << i;

    ShortcutStep(false, f.special, cases[i].file, target, f.program);
    EXPECT_FALSE(fs::exists(PathOf(link))) << "case " << i;
    // Unticked with nothing there: nothing happens.
    ShortcutStep(false, f.special, cases[i].file, target, f.program);
    EXPECT_FALSE(fs::exists(PathOf(link))) << "case " << i;
    EXPECT_TRUE(fs::is_empty(PathOf(f.special))) << "case " << i;
  }
}

TEST(Shortcuts, RemovalTouchesOnlyANormalFileOfThatName) {
  Folders f;
  fs::create_directory(PathOf(f.special + u"\\Tavimbra.lnk"));
  ShortcutStep(false, f.special, kStartUpShortcutFile, f.program + u"\\Tavimbra.exe", f.program);
  EXPECT_TRUE(fs::is_directory(PathOf(f.special + u"\\Tavimbra.lnk")));
  // Another shortcut beside it stays.
  test::WriteBytes(PathOf(f.special + u"\\Tavimbra2.lnk"), "x");
  ShortcutStep(false, f.special, kStartUpShortcutFile, f.program + u"\\Tavimbra.exe", f.program);
  EXPECT_TRUE(fs::exists(PathOf(f.special + u"\\Tavimbra2.lnk")));
}

TEST(Shortcuts, MissingFolderIsNoFailure) {
  Folders f;
  // No special folder known: nothing is written anywhere.
  ShortcutStep(true, u"", kStartUpShortcutFile, f.program + u"\\Tavimbra.exe", f.program);
  EXPECT_FALSE(fs::exists(PathOf(f.program + u"\\Tavimbra.lnk")));
  // A folder that does not exist: the save goes on without a shortcut.
  ShortcutStep(true, f.special + u"\\gone", kStartUpShortcutFile, f.program + u"\\Tavimbra.exe", f.program);
  EXPECT_FALSE(fs::exists(PathOf(f.special + u"\\gone")));
  EXPECT_FALSE(ReadShortcut(f.special + u"\\gone\\Tavimbra.lnk").has_value());
}

}  // namespace
}  // namespace tav::settings
