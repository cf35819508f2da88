// The settings window made in this process, for what only its own process can look at or hand
// it: input method contexts, and dropped file lists (an HDROP is global memory of the receiving
// process, which frees it).
#include <gtest/gtest.h>
#include <windows.h>
#include <imm.h>
#include <shlobj.h>

#include <algorithm>
#include <filesystem>
#include <memory>
#include <optional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "file_drop_win32.h"
#include "form1_win32.h"
#include "private_prefix.h"
#include "registration_frame_win32.h"
#include "settings_form.h"
#include "settings_save_win32.h"
#include "shortcuts_win32.h"
#include "system_message_win32.h"
#include "temp_dir.h"
#include "text_encoding.h"
#include "window_names.h"

namespace tav::settings {
namespace {

// These tests register file types and make shortcuts: only in the scripts' own Wine prefix.
[[maybe_unused]] ::testing::Environment* const kPrivatePrefix =
    ::testing::AddGlobalTestEnvironment(new test::PrivateTestPrefix);

using Frame = RegistrationId;

// The first scale in steps of 25 % at which the window, whole at 100 % on this screen, must
// scroll: its content alone is taller than the work area. Why not, when there is none up to 500 %
// or the window scrolls at 100 % already (the test programs see the screen at 100 %).
std::optional<UINT> ScrollingDpi(HWND form, std::string& whyNot) {
  MONITORINFO mi{};
  mi.cbSize = sizeof mi;
  GetMonitorInfoW(MonitorFromWindow(form, MONITOR_DEFAULTTONEAREST), &mi);
  const int workHeight = mi.rcWork.bottom - mi.rcWork.top;
  RECT client;
  GetClientRect(form, &client);
  whyNot = "a work area " + std::to_string(workHeight) + " pixels high ";
  if (GetWindowLongPtrW(form, GWL_STYLE) & WS_VSCROLL) return whyNot += "is too low for the window at 100 %", std::nullopt;
  for (UINT dpi = 120; dpi <= 480; dpi += 24)
    if (MulDiv(client.bottom, static_cast<int>(dpi), 96) > workHeight) return dpi;
  return whyNot += "holds the window up to 500 %", std::nullopt;
}

// Moves the window to dpi as Windows does (WM_DPICHANGED with its suggested rectangle); the
// window's rectangle before the change.
RECT ScaleTo(HWND form, UINT dpi) {
  RECT r;
  GetWindowRect(form, &r);
  const int n = static_cast<int>(dpi);
  RECT suggested{r.left, r.top, r.left + MulDiv(r.right - r.left, n, 96), r.top + MulDiv(r.bottom - r.top, n, 96)};
  SendMessageW(form, WM_DPICHANGED, MAKEWPARAM(dpi, dpi), reinterpret_cast<LPARAM>(&suggested));
  return r;
}

class SettingsWindow : public ::testing::Test {
 protected:
  void SetUp() override { ASSERT_TRUE(form_.Create(GetModuleHandleW(nullptr))); }
  void TearDown() override {
    if (form_.Hwnd()) DestroyWindow(form_.Hwnd());
    MSG m;  // the quit message the window posts when it goes
    while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
    }
  }
  HWND Item(int id) const { return GetDlgItem(form_.Hwnd(), id); }

  // Files dropped the way the shell hands them over: a DROPFILES block in movable global memory.
  static void Drop(HWND target, const std::vector<std::wstring>& files) {
    std::wstring names;
    for (const auto& f : files) names += f + L'\0';
    names += L'\0';
    HGLOBAL h = GlobalAlloc(GHND, sizeof(DROPFILES) + names.size() * sizeof(wchar_t));
    ASSERT_NE(h, nullptr);
    auto* df = static_cast<DROPFILES*>(GlobalLock(h));
    df->pFiles = sizeof(DROPFILES);
    df->fWide = TRUE;
    memcpy(reinterpret_cast<char*>(df) + sizeof(DROPFILES), names.data(), names.size() * sizeof(wchar_t));
    GlobalUnlock(h);
    SendMessageW(target, WM_DROPFILES, reinterpret_cast<WPARAM>(h), 0);  // the receiver frees it
  }

  Form1 form_;
};

// A drop area's handler gets each drop's files in order, lives as long as its label, and one
// that throws leaves the label taking drops.
TEST_F(SettingsWindow, DropHandlerGoesWithItsLabelAndMayThrow) {
  HWND label = CreateWindowExW(0, L"STATIC", L"", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr);
  ASSERT_NE(label, nullptr);
  auto token = std::make_shared<int>(0);
  std::vector<std::vector<std::u16string>> drops;
  AcceptFileDrops(label, [token, &drops](const std::vector<std::u16string>& files) {
    drops.push_back(files);
    if (drops.size() == 1) throw std::runtime_error("handler failed");
  });
  Drop(label, {L"C:\\a.txt"});
  Drop(label, {L"C:\\b c.txt", L"C:\\d"});
  EXPECT_EQ(drops, (std::vector<std::vector<std::u16string>>{{u"C:\\a.txt"}, {u"C:\\b c.txt", u"C:\\d"}}));
  EXPECT_EQ(token.use_count(), 2);
  DestroyWindow(label);
  EXPECT_EQ(token.use_count(), 1) << "the handler goes with the label";
}

// The capture boxes take keys, the number boxes digits: no composition in either.
TEST_F(SettingsWindow, CaptureAndNumberBoxesHaveNoInputMethodContext) {
  using Id = Form1Id;
  const std::pair<int, bool> boxes[] = {
      {static_cast<int>(Id::Text7), false},  {static_cast<int>(Id::Text8), false},
      {static_cast<int>(Id::Text12), false}, {static_cast<int>(Id::Text1), false},
      {static_cast<int>(Id::Text2), false},  {static_cast<int>(Id::Text3), false},
      {static_cast<int>(Id::Text4), false},  {static_cast<int>(Id::Text5), false},
      {static_cast<int>(Id::Text6), false},  {Frame::Text9, true},  // a command name is text: it keeps one
  };
  for (const auto& [id, hasContext] : boxes) {
    HWND box = Item(id);
    ASSERT_NE(box, nullptr) << id;
    HIMC context = ImmGetContext(box);
    EXPECT_EQ(context != nullptr, hasContext) << id;
    if (context) ImmReleaseContext(box, context);
  }
}

// Full-width digits typed or pasted into a number box stand there, and are saved, as ASCII.
TEST_F(SettingsWindow, FullWidthDigitsInNumberBoxesBecomeAscii) {
  using Id = Form1Id;
  struct Case {
    Id box;
    const wchar_t* typed;
    const wchar_t* shown;
    int bar;  // the component's scroll bar afterwards; -1: no bar
  };
  const Case cases[] = {
      {Id::Text12, L"１２", L"12", -1},
      {Id::Text12, L"１０．５", L"10.5", -1},
      {Id::Text1, L"ｆｆ", L"ff", 255},  // the bar stood at 255: the box is not rewritten
      {Id::Text2, L"０ｆ", L"F", 15},
      {Id::Text5, L"０Ａ", L"A", 10},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    HWND box = Item(static_cast<int>(cases[i].box));
    SendMessageW(box, EM_SETSEL, 0, -1);
    SendMessageW(box, EM_REPLACESEL, TRUE, reinterpret_cast<LPARAM>(cases[i].typed));
    EXPECT_EQ(test::WindowText(box), cases[i].shown) << "case " << i;
    if (cases[i].bar >= 0) {
      EXPECT_EQ(GetScrollPos(Item(static_cast<int>(cases[i].box) - static_cast<int>(Id::Text1) +
                                  static_cast<int>(Id::HScroll1)),
                             SB_CTL),
                cases[i].bar)
          << "case " << i;
    }
  }
}

TEST_F(SettingsWindow, DropAreasTakeFileLists) {
  for (int id = Frame::Frame3; id <= Frame::Command4; ++id) {
    bool accepts = (GetWindowLongW(Item(id), GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0;
    EXPECT_EQ(accepts, id == Frame::Label16 || id == Frame::Label19) << id;
  }
  struct Case {
    int area, box;
    std::vector<std::wstring> files;
    std::wstring result;
  };
  const Case cases[] = {
      {Frame::Label16, Frame::Text10, {L"C:\\w\\notepad.exe"}, L"C:\\w\\notepad.exe"},
      {Frame::Label16, Frame::Text10, {L"C:\\w\\NOTEPAD.EXE"}, L""},
      {Frame::Label16, Frame::Text10, {L"C:\\w\\a.exe", L"C:\\w\\b.txt"}, L""},
      {Frame::Label16, Frame::Text10, {L"C:\\w\\b.txt", L"C:\\ツール\\a.exe"}, L"C:\\ツール\\a.exe"},
      {Frame::Label19, Frame::Text11, {L"C:\\a.txt", L"D:\\フォルダ", L"C:\\c.EXE"}, L"C:\\c.EXE"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SetWindowTextW(Item(cases[i].box), L"before");
    Drop(Item(cases[i].area), cases[i].files);
    EXPECT_EQ(test::WindowText(Item(cases[i].box)), cases[i].result) << "case " << i;
  }
  EXPECT_EQ(test::WindowText(Item(Frame::Text10)), L"C:\\ツール\\a.exe") << "a drop on Label19 leaves Text10 alone";
}

// Where the window scrolls, the wheel over the closed font box, or over its edit, scrolls the
// window while the box does not have the focus; with the focus there the box keeps the wheel (it
// changes the font, as a combo box does).
TEST_F(SettingsWindow, WheelOverTheClosedUnfocusedFontBoxScrollsTheWindow) {
  HWND form = form_.Hwnd(), box = Item(static_cast<int>(Form1Id::Combo1));
  std::string whyNot;
  const std::optional<UINT> scrolling = ScrollingDpi(form, whyNot);
  if (!scrolling) TAV_SKIP_UNSUPPORTED() << whyNot;
  const UINT dpi = *scrolling;
  const RECT r = ScaleTo(form, dpi);
  ASSERT_NE(GetWindowLongPtrW(form, GWL_STYLE) & WS_VSCROLL, 0) << "the window scrolls at " << dpi << " dpi";
  ShowWindow(form, SW_SHOW);
  SetForegroundWindow(form);
  COMBOBOXINFO parts{};
  parts.cbSize = sizeof parts;
  ASSERT_TRUE(GetComboBoxInfo(box, &parts));
  struct Case {
    HWND target;
    bool focusInBox;
  };
  const Case cases[] = {{box, false}, {parts.hwndItem, false}, {box, true}, {parts.hwndItem, true}};
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SendMessageW(form, WM_VSCROLL, SB_TOP, 0);
    SendMessageW(box, CB_SETCURSEL, 2, 0);
    const std::wstring face = test::WindowText(box);
    SetFocus(cases[i].focusInBox ? box : Item(static_cast<int>(Form1Id::Text12)));
    ASSERT_EQ(GetFocus() == box || IsChild(box, GetFocus()), cases[i].focusInBox) << "case " << i;
    SendMessageW(form, WM_VSCROLL, SB_TOP, 0);  // the focus may have scrolled it
    SendMessageW(cases[i].target, WM_MOUSEWHEEL, MAKEWPARAM(0, -WHEEL_DELTA), MAKELPARAM(r.left + 10, r.top + 10));
    const int scrolled = GetScrollPos(form, SB_VERT);
    if (cases[i].focusInBox) {
      EXPECT_EQ(scrolled, 0) << "case " << i;
    } else {
      EXPECT_GT(scrolled, 0) << "case " << i;
      EXPECT_EQ(SendMessageW(box, CB_GETCURSEL, 0, 0), 2) << "case " << i;
      EXPECT_EQ(test::WindowText(box), face) << "case " << i;
    }
  }
}

// Where the window scrolls, the save and open-folder buttons stay in a
// strip along its bottom edge, whatever the scrolled position, and what scrolls behind the strip
// neither shows nor takes clicks there; where nothing scrolls (100 %), they stand at their own
// places at the foot of the content.
TEST_F(SettingsWindow, SaveAndOpenFolderStayInAFootStripWhereTheWindowScrolls) {
  HWND form = form_.Hwnd();
  HWND foot[] = {Item(static_cast<int>(Form1Id::Command7)), Item(static_cast<int>(Form1Id::Command2))};
  auto inClient = [&](HWND w) { return test::RectIn(form, w); };
  std::string whyNot;
  const std::optional<UINT> scrolling = ScrollingDpi(form, whyNot);
  if (!scrolling) TAV_SKIP_UNSUPPORTED() << whyNot;
  const UINT dpi = *scrolling;
  RECT client;
  GetClientRect(form, &client);
  for (HWND b : foot) {
    EXPECT_EQ(inClient(b).bottom, client.bottom - 8) << "at its own place: 8 pixels above the bottom edge";
    RECT box;
    EXPECT_EQ(GetWindowRgnBox(b, &box), ERROR) << "whole";
  }

  ScaleTo(form, dpi);
  ASSERT_NE(GetWindowLongPtrW(form, GWL_STYLE) & WS_VSCROLL, 0) << "the window scrolls at " << dpi << " dpi";
  ShowWindow(form, SW_SHOWNOACTIVATE);
  GetClientRect(form, &client);
  const RECT saveAtTop = inClient(foot[1]);
  for (WPARAM where : {WPARAM{SB_TOP}, WPARAM{SB_PAGEDOWN}, WPARAM{SB_BOTTOM}}) {
    SendMessageW(form, WM_VSCROLL, where, 0);
    SCOPED_TRACE(testing::Message() << "scrolled to " << GetScrollPos(form, SB_VERT));
    for (HWND b : foot) {
      const RECT place = inClient(b);
      EXPECT_EQ(place.bottom, client.bottom - MulDiv(8, static_cast<int>(dpi), 96));
      EXPECT_EQ(place.top, saveAtTop.top);
    }
    // Every other control ends above the strip, or is cut off there.
    const int stripTop = saveAtTop.top - MulDiv(6, static_cast<int>(dpi), 96);
    for (HWND c = GetWindow(form, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
      if (c == foot[0] || c == foot[1]) continue;
      RECT place = inClient(c);
      if (place.bottom <= stripTop + 1 || IsRectEmpty(&place)) continue;
      HRGN shape = CreateRectRgn(0, 0, 0, 0);
      const int kind = GetWindowRgn(c, shape);
      const bool shaped = kind != ERROR;
      RECT shown{};
      GetRgnBox(shape, &shown);
      DeleteObject(shape);
      EXPECT_TRUE(kind == NULLREGION || (shaped && place.top + shown.bottom <= stripTop + 1))
          << "control " << GetDlgCtrlID(c) << " shows down to " << (shaped ? place.top + shown.bottom : place.bottom)
          << ", the strip starts at " << stripTop;
      // A click in the strip below its top edge does not reach it.
      POINT inStrip{std::max(place.left, 0L) + 2, std::max<LONG>(place.top, stripTop) + 2};
      if (inStrip.y < place.bottom && inStrip.y < client.bottom) {
        ClientToScreen(form, &inStrip);
        EXPECT_NE(WindowFromPoint(inStrip), c) << "control " << GetDlgCtrlID(c);
      }
    }
  }
}

// A key held when the focus comes (Shift after Shift+Tab) repeats while held: only a fresh press
// makes its release a hotkey.
TEST_F(SettingsWindow, KeyHeldIntoCaptureBoxStaysPassedOverWhileItRepeats) {
  struct Case {
    std::vector<LPARAM> downs;  // key-downs of Shift before its release
    const wchar_t* code;        // Label5 afterwards
  };
  constexpr LPARAM kRepeat = LPARAM{1} << 30 | 1;  // was down before this message
  const Case cases[] = {
      {{}, L"79"},
      {{kRepeat}, L"79"},
      {{kRepeat, kRepeat, kRepeat}, L"79"},
      {{kRepeat, 1}, L"16"},  // let go meanwhile and pressed again
  };
  HWND box = Item(static_cast<int>(Form1Id::Text7)), code = Item(static_cast<int>(Form1Id::Label5));
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    SetWindowTextW(code, L"79");
    BYTE keys[256] = {};
    keys[VK_SHIFT] = keys[VK_LSHIFT] = 0x80;
    ASSERT_TRUE(SetKeyboardState(keys));
    SendMessageW(box, WM_SETFOCUS, 0, 0);  // the focus arrives with Shift down
    for (LPARAM down : cases[i].downs) SendMessageW(box, WM_KEYDOWN, VK_SHIFT, down);
    keys[VK_SHIFT] = keys[VK_LSHIFT] = 0;
    SetKeyboardState(keys);
    SendMessageW(box, WM_KEYUP, VK_SHIFT, LPARAM{3} << 30 | 1);
    EXPECT_EQ(test::WindowText(code), cases[i].code) << "case " << i;
  }
}

// The save through the platform's own writer: with no settings folder, or with the file held
// open by another program (a sync client), every write fails, the user is told the file and the
// system's reason, no folder is made and the file keeps its content; with the folder there and
// the file free, nothing is said.
TEST(SettingsSave, FileThatCannotBeWrittenIsSaid) {
  struct NoShortcuts : ShortcutWork {
    void SendTo(bool) override {}
    void StartUp(bool) override {}
    bool StartUpTurnedOff() override { return false; }
  } shortcuts;
  FormValues v;
  v.backColour = u"FFFFFF";
  v.fontFace = u"ＭＳ Ｐゴシック";
  enum Case { kNoFolder, kHeldOpen, kFree, kReadOnly, kNoFileYet };
  for (Case c : {kNoFolder, kHeldOpen, kFree, kReadOnly, kNoFileYet}) {
    SCOPED_TRACE(c);
    test::TempDir install;
    const std::filesystem::path ini = install.path() / L"settings" / L"tavimbra.ini";
    const std::string before = "[tavimbra]\r\nBack=123456\r\n";
    if (c != kNoFolder) std::filesystem::create_directory(install.path() / L"settings");
    if (c != kNoFolder && c != kNoFileYet) test::WriteBytes(ini, before);
    HANDLE held = c == kHeldOpen ? CreateFileW(ini.c_str(), GENERIC_READ, 0, nullptr, OPEN_EXISTING, 0, nullptr)
                                 : INVALID_HANDLE_VALUE;
    if (c == kHeldOpen) ASSERT_NE(held, INVALID_HANDLE_VALUE);
    if (c == kReadOnly) SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_READONLY);
    const std::u16string path = install.Text() + u"\\settings\\tavimbra.ini";
    std::optional<std::u16string> message = SaveSettingsFile(path, v, shortcuts);
    if (held != INVALID_HANDLE_VALUE) CloseHandle(held);
    EXPECT_FALSE(std::filesystem::exists(ini.wstring() + L".saving")) << "the copy the writes went to";
    if (c == kReadOnly) SetFileAttributesW(ini.c_str(), FILE_ATTRIBUTE_NORMAL);
    if (c == kFree || c == kNoFileYet) {
      EXPECT_FALSE(message.has_value()) << ToUtf8(message.value_or(u""));
      EXPECT_NE(test::ReadBytes(ini).find("Back=FFFFFF"), std::string::npos);
      continue;
    }
    EXPECT_TRUE(message.has_value());
    if (!message) continue;
    EXPECT_EQ(message->rfind(path + u" に書き込めませんでした。\r\n", 0), 0u) << ToUtf8(*message);
    EXPECT_GT(message->size(), WriteFailedMessage(path, u"").size()) << "the system's reason is given";
    if (c == kNoFolder)
      EXPECT_FALSE(std::filesystem::exists(install.path() / L"settings"));
    else
      EXPECT_EQ(test::ReadBytes(ini), before);
  }
}

// The start-up switch of Task Manager and Settings, as it keeps its state: read, never written.
TEST(SettingsSave, StartUpTurnedOffByTheSwitchIsSeen) {
  if (auto why = test::WhyNotADisposableProfile()) GTEST_SKIP() << *why;
  HKEY key = nullptr;
  ASSERT_EQ(RegCreateKeyExW(HKEY_CURRENT_USER, kStartupApprovedKey, 0, nullptr, 0, KEY_ALL_ACCESS, nullptr, &key,
                            nullptr),
            ERROR_SUCCESS);
  struct Case {
    std::vector<BYTE> value;  // empty: no value
    bool off;
  };
  const Case cases[] = {
      {{}, false},
      {{0x02, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false},
      {{0x03, 0, 0, 0, 0x10, 0x2f, 0x6b, 0x39, 0x4e, 0x6a, 0xdb, 0x01}, true},
      {{0x06, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0}, false},
      {{0x07, 0, 0, 0, 0x10, 0x2f, 0x6b, 0x39, 0x4e, 0x6a, 0xdb, 0x01}, true},
  };
  ShellShortcuts shortcuts;
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    RegDeleteValueW(key, L"Tavimbra.lnk");
    if (!cases[i].value.empty())
      ASSERT_EQ(RegSetValueExW(key, L"Tavimbra.lnk", 0, REG_BINARY, cases[i].value.data(),
                               static_cast<DWORD>(cases[i].value.size())),
                ERROR_SUCCESS);
    EXPECT_EQ(shortcuts.StartUpTurnedOff(), cases[i].off) << "case " << i;
    BYTE after[64] = {};
    DWORD size = sizeof after;
    const bool present =
        RegQueryValueExW(key, L"Tavimbra.lnk", nullptr, nullptr, after, &size) == ERROR_SUCCESS;
    EXPECT_EQ(present, !cases[i].value.empty()) << "case " << i;
    if (present)
      EXPECT_EQ(std::vector<BYTE>(after, after + size), cases[i].value) << "case " << i << ": the switch is left alone";
  }
  RegDeleteValueW(key, L"Tavimbra.lnk");
  RegCloseKey(key);
}

// Started as administrator, the window must let the drop's messages from the shell through,
// on every window that takes files.
TEST(SettingsWindowElevated, DropAreasLetTheDropMessagesThrough) {
  static std::vector<std::tuple<HWND, UINT, DWORD>> calls;
  calls.clear();
  struct Restore {
    MessageFilter old = dropMessageFilter;
    ~Restore() { dropMessageFilter = old; }
  } restore;
  dropMessageFilter = [](HWND w, UINT message, DWORD action, PCHANGEFILTERSTRUCT) -> BOOL {
    calls.emplace_back(w, message, action);
    return TRUE;
  };
  Form1 form;
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  std::vector<HWND> areas;
  EnumChildWindows(
      form.Hwnd(),
      [](HWND w, LPARAM p) -> BOOL {
        if (GetWindowLongW(w, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) reinterpret_cast<std::vector<HWND>*>(p)->push_back(w);
        return TRUE;
      },
      reinterpret_cast<LPARAM>(&areas));
  ASSERT_EQ(areas.size(), 2u);
  for (HWND area : areas)
    for (UINT message : {UINT{WM_DROPFILES}, UINT{WM_COPYDATA}, UINT{0x0049}})
      EXPECT_NE(std::find(calls.begin(), calls.end(), std::tuple<HWND, UINT, DWORD>{area, message, MSGFLT_ALLOW}),
                calls.end())
          << "control " << GetDlgCtrlID(area) << " message " << message;
  DestroyWindow(form.Hwnd());
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
  }
}

}  // namespace
}  // namespace tav::settings
