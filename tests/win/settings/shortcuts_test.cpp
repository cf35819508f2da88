#include <gtest/gtest.h>

#include <objbase.h>
#include <shobjidl.h>
#include <wrl/client.h>

#include <filesystem>
#include <ostream>

#include "shortcuts_win32.h"
#include "temp_dir.h"
#include "text_encoding.h"

namespace tav::settings {
namespace {

namespace fs = std::filesystem;
using test::PathOf;
using test::TempDir;
using Microsoft::WRL::ComPtr;

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

// What a user may add to a shortcut by hand in its properties.
struct UserChoices {
  std::wstring arguments, description, icon;
  int iconIndex = 0, show = 0;
  WORD hotkey = 0;
  bool operator==(const UserChoices&) const = default;
};
const UserChoices kUserChoices{L"/quiet", L"mine", L"C:\\icons\\t.ico", 3, SW_SHOWMINNOACTIVE,
                               MAKEWORD('T', HOTKEYF_CONTROL | HOTKEYF_ALT)};

std::ostream& operator<<(std::ostream& o, const UserChoices& c) {
  return o << ToUtf8(U(c.arguments.c_str())) << " | " << ToUtf8(U(c.description.c_str())) << " | "
           << ToUtf8(U(c.icon.c_str())) << "," << c.iconIndex << " show " << c.show << " key " << c.hotkey;
}

struct Com {
  Com() { CoInitializeEx(nullptr, COINIT_APARTMENTTHREADED); }
  ~Com() { CoUninitialize(); }
};

bool AddUserChoices(const std::u16string& link) {
  Com com;
  ComPtr<IShellLinkW> l;
  ComPtr<IPersistFile> file;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&l))) ||
      FAILED(l.As(&file)) || FAILED(file->Load(W(link), STGM_READWRITE)))
    return false;
  l->SetArguments(kUserChoices.arguments.c_str());
  l->SetDescription(kUserChoices.description.c_str());
  l->SetIconLocation(kUserChoices.icon.c_str(), kUserChoices.iconIndex);
  l->SetShowCmd(kUserChoices.show);
  l->SetHotkey(kUserChoices.hotkey);
  return SUCCEEDED(file->Save(W(link), TRUE));
}

UserChoices UserChoicesOf(const std::u16string& link) {
  Com com;
  UserChoices c;
  ComPtr<IShellLinkW> l;
  ComPtr<IPersistFile> file;
  if (FAILED(CoCreateInstance(CLSID_ShellLink, nullptr, CLSCTX_INPROC_SERVER, IID_PPV_ARGS(&l))) ||
      FAILED(l.As(&file)) || FAILED(file->Load(W(link), STGM_READ)))
    return c;
  wchar_t buf[MAX_PATH * 2] = {};
  l->GetArguments(buf, MAX_PATH * 2);
  c.arguments = buf;
  l->GetDescription(buf, MAX_PATH * 2);
  c.description = buf;
  l->GetIconLocation(buf, MAX_PATH * 2, &c.iconIndex);
  c.icon = buf;
  l->GetShowCmd(&c.show);
  l->GetHotkey(&c.hotkey);
  return c;
}

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

    // Ticked again: a changed target or folder is taken over, and what the user added to the
    // shortcut meanwhile stays.
    ASSERT_TRUE(AddUserChoices(link)) << "case " << i;
    // What the platform's shortcut files keep of them (Wine 8 drops the window state).
    const UserChoices added = UserChoicesOf(link);
    ASSERT_EQ(added.arguments, kUserChoices.arguments) << "case " << i;
    std::u16string other = f.temp.Text() + u"\\Other.exe";
    test::WriteBytes(PathOf(other), "MZ");
    ShortcutStep(true, f.special, cases[i].file, other, f.temp.Text());
    info = ReadShortcut(link);
    ASSERT_TRUE(info.has_value()) << "case " << i;
    EXPECT_TRUE(EqualsNoCase(info->target, other)) << "case " << i << ": " << ToUtf8(info->target);
    EXPECT_TRUE(EqualsNoCase(info->workingFolder, f.temp.Text())) << "case " << i;
    EXPECT_EQ(UserChoicesOf(link), added) << "case " << i;

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
  // No special folder known: nothing is written anywhere, neither at the root of the current
  // drive ("" + "\Tavimbra.lnk") nor in the current folder.
  wchar_t previous[MAX_PATH * 2] = {};
  GetCurrentDirectoryW(MAX_PATH * 2, previous);
  ASSERT_TRUE(SetCurrentDirectoryW(PathOf(f.program).c_str()));
  const fs::path root = PathOf(f.program).root_path() / L"Tavimbra.lnk";
  ASSERT_FALSE(fs::exists(root)) << "left over at " << root.string();
  ShortcutStep(true, u"", kStartUpShortcutFile, f.program + u"\\Tavimbra.exe", f.program);
  const bool atRoot = fs::exists(root), here = fs::exists(PathOf(f.program + u"\\Tavimbra.lnk"));
  std::error_code ec;
  fs::remove(root, ec);
  SetCurrentDirectoryW(previous);
  EXPECT_FALSE(atRoot) << root.string();
  EXPECT_FALSE(here);
  // A folder that does not exist: the save goes on without a shortcut.
  ShortcutStep(true, f.special + u"\\gone", kStartUpShortcutFile, f.program + u"\\Tavimbra.exe", f.program);
  EXPECT_FALSE(fs::exists(PathOf(f.special + u"\\gone")));
  EXPECT_FALSE(ReadShortcut(f.special + u"\\gone\\Tavimbra.lnk").has_value());
}

}  // namespace
}  // namespace tav::settings
