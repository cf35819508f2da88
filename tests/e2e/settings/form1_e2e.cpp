// The settings window of the real Tavimset.exe: defaults, the exact file a save writes,
// the colour components, hotkey capture, the preview, the shortcuts, and the argument entry.
#include <gtest/gtest.h>
#include <shlobj.h>
#include <tlhelp32.h>
#include <winternl.h>

#include <algorithm>
#include <functional>
#include <tuple>
#include <vector>

#include "dialogs_helpers.h"
#include "driver.h"
#include "form1_controls.h"
#include "form2_win32.h"
#include "form3_controls.h"
#include "install_folder.h"
#include "registration_controls.h"
#include "text_encoding.h"

namespace tav::e2e {
namespace {

using settings::Form1Id;
using Id = Form1Id;

HWND Ctl(HWND form, Id id) { return GetDlgItem(form, static_cast<int>(id)); }
std::wstring TextOf(HWND form, Id id) { return WindowText(Ctl(form, id)); }
bool Ticked(HWND form, Id id) { return SendMessageW(Ctl(form, id), BM_GETCHECK, 0, 0) == BST_CHECKED; }
int BarOf(HWND form, Id id) { return static_cast<int>(SendMessageW(Ctl(form, id), SBM_GETPOS, 0, 0)); }
Id Bar(int c) { return static_cast<Id>(static_cast<int>(Id::HScroll1) + c); }

void Click(HWND form, Id id) { SendMessageW(Ctl(form, id), BM_CLICK, 0, 0); }
void Scroll(HWND form, int c, int value) {
  SendMessageW(form, WM_HSCROLL, MAKEWPARAM(SB_THUMBPOSITION, value), reinterpret_cast<LPARAM>(Ctl(form, Bar(c))));
}
void SetBox(HWND form, Id id, const wchar_t* text) {
  SendMessageW(Ctl(form, id), WM_SETTEXT, 0, reinterpret_cast<LPARAM>(text));
}
// What the edit box tells its parent when the focus leaves it.
void Leave(HWND form, Id id) {
  SendMessageW(form, WM_COMMAND, MAKEWPARAM(static_cast<int>(id), EN_KILLFOCUS),
               reinterpret_cast<LPARAM>(Ctl(form, id)));
}

std::string Ansi(const std::wstring& s) { return ToAnsi(U(s.c_str())); }

// A fresh installation folder; Start() opens the settings window on it (f).
class Form1 : public ::testing::Test {
 protected:
  bool Start() {
    r = StartForm1(inst);
    return (f = r.form) != nullptr;
  }
  Installation inst;
  Running r;
  HWND f = nullptr;
};

void Close(Running& r) {
  EXPECT_EQ(CloseAndWait(r.form, r.process), 0) << "closing the window ends the program";
}

TEST_F(Form1, ShowsTheDefaultsWithoutASettingsFile) {
  ASSERT_TRUE(Start()) << "no settings window";
  EXPECT_EQ(WindowText(f), L"Tavimbra Config");
  struct Text {
    Id id;
    std::wstring text;
  };
  const Text texts[] = {
      {Id::Text1, L"FF"}, {Id::Text2, L"FF"}, {Id::Text3, L"FF"}, {Id::Text4, L"00"}, {Id::Text5, L"00"},
      {Id::Text6, L"00"}, {Id::Combo1, L"ＭＳ Ｐゴシック"}, {Id::Text12, L"11"}, {Id::Label5, L"79"},
      {Id::Label11, L"87"}, {Id::Label7, L"O キー"}, {Id::Label12, L"W キー"}, {Id::Text7, L"ここに入力"},
      {Id::Text8, L"ここに入力"}, {Id::Frame2, L"ビジュアル設定"}, {Id::Frame1, L"動作設定"},
      {Id::Frame4, L"テキスト背景色の設定"}, {Id::Frame5, L"テキスト表示色の設定"}, {Id::Frame6, L"フォントの設定"},
      {Id::Frame7, L"ホットキー１"}, {Id::Frame8, L"ホットキー２"}, {Id::Command10, L"プレビューに反映"},
      {Id::Command1, L"プレビュー ON/OFF"}, {Id::Check3, L"スキンを使用する"}, {Id::Check8, L"送るに登録"},
      {Id::Check9, L"スタートアップ"}, {Id::Check2, L"フォーカスを保持する(推奨)"},
      {Id::Check1, L"オートコンプリートを使用する"}, {Id::Check6, L"ボールド"}, {Id::Check7, L"イタリック"},
      {Id::Command2, L"設定の変更を保存"}, {Id::Command7, L"Tavimbraのフォルダを開く"},
      {Id::Label13, L"※設定の変更は次回のTavimbra起動時より有効"},
      {Id::Label6, L"※オートコンプリートへの反映は登録直後より有効"},
      {Id::Label1, L"赤"}, {Id::Label2, L"緑"}, {Id::Label3, L"青"}, {Id::Label22, L"使用フォント"}, {Id::Label4, L"サイズ"}};
  for (std::size_t i = 0; i < std::size(texts); ++i) {
    ASSERT_NE(Ctl(f, texts[i].id), nullptr) << "case " << i;
    EXPECT_EQ(TextOf(f, texts[i].id), texts[i].text) << "case " << i;
  }
  const std::pair<Id, bool> checks[] = {{Id::Check1, true},  {Id::Check2, true},  {Id::Check3, true},
                                        {Id::Check6, false}, {Id::Check7, false}, {Id::Check8, false},
                                        {Id::Check9, false}};
  for (std::size_t i = 0; i < std::size(checks); ++i)
    EXPECT_EQ(Ticked(f, checks[i].first), checks[i].second) << "check case " << i;
  for (int c = 0; c < 6; ++c) EXPECT_EQ(BarOf(f, Bar(c)), c < 3 ? 255 : 0) << "bar " << c;
  EXPECT_GT(SendMessageW(Ctl(f, Id::Combo1), CB_GETCOUNT, 0, 0), 0) << "the installed fonts are listed";
  HWND preview = FindTopWindow(r.process.Id(), settings::kForm2Class);
  ASSERT_NE(preview, nullptr) << "the preview exists";
  EXPECT_FALSE(IsWindowVisible(preview)) << "and is hidden";
  // The registration group sits in the same window.
  EXPECT_NE(GetDlgItem(f, settings::RegistrationId::Frame3), nullptr);
  Close(r);
}

TEST_F(Form1, SaveWritesTheExactFileAndTwiceTheSame) {
  TAV_REQUIRE_CODE_PAGE_932();  // the Font line: on another code page the face is left out
  TAV_REQUIRE_DISPOSABLE_PROFILE();  // a save makes or removes the user's shortcuts
  ASSERT_TRUE(Start());
  Click(r.form, Id::Command2);
  const std::string expected = Ansi(
      L"[tavimbra]\r\nBack=FFFFFF\r\nText=000000\r\nAutoComplete=1\r\nKeepFocus=1\r\nUseSkin=1\r\nkey1=79\r\n"
      L"key2=87\r\nFont=ＭＳ Ｐゴシック\r\nFontSize=11\r\nBold=0\r\nItalic=0\r\nSendTo=0\r\nStartUP=0\r\n");
  EXPECT_EQ(inst.ReadRaw("settings/tavimbra.ini"), expected);
  Click(r.form, Id::Command2);
  EXPECT_EQ(inst.ReadRaw("settings/tavimbra.ini"), expected);
  Close(r);
}

// Lower-cased: the platform may keep the case of a key name already in the file.
std::string Lower(std::string s) {
  for (char& c : s) c = static_cast<char>(tolower(static_cast<unsigned char>(c)));
  return s;
}

// A real click on the save button; true once the save has changed what done() looks at (the
// first click may only activate the window).
bool ClickSave(HWND f, const std::function<bool()>& done) {
  for (int i = 0; i < 3; ++i) {
    PointerClick(Ctl(f, Id::Command2));
    Sleep(100);
    if (WaitUntil(done, std::chrono::seconds(3))) return true;
  }
  return false;
}

// As a new user would: open, and save at once with a click. What was read is written back (an
// empty colour stays empty, a key read as 0 is named and stays 0); with the settings folder
// gone the save writes nothing, says so naming the file, creates no folder, and the window goes
// on working.
TEST_F(Form1, OpenedAndSavedAtOnceWritesBackWhatWasRead) {
  TAV_REQUIRE_DISPOSABLE_PROFILE();  // a save makes or removes the user's shortcuts
  inst.WriteSettings({L"Back=", L"Text=000000", L"Key1=abc"});
  const std::string before = inst.ReadRaw("settings/tavimbra.ini");
  ASSERT_TRUE(Start());
  EXPECT_EQ(TextOf(f, Id::Label5), L"0");
  EXPECT_EQ(TextOf(f, Id::Label7), L"推奨しません");
  EXPECT_EQ(TextOf(f, Id::Text1), L"");
  ASSERT_TRUE(ClickSave(f, [&] { return inst.ReadRaw("settings/tavimbra.ini") != before; }))
      << "the save button did not save";
  std::string ini = Lower(inst.ReadRaw("settings/tavimbra.ini"));
  EXPECT_NE(ini.find("\r\nback=\r\ntext=000000\r\nkey1=0\r\n"), std::string::npos) << ini;
  EXPECT_EQ(TextOf(f, Id::Text1), L"") << "the empty box stays empty";

  // No settings folder: the start-up shortcut (the save's last step) shows the save ran.
  const fs::path startUp = KnownFolder(FOLDERID_Startup) / L"Tavimbra.lnk";
  std::error_code ec;
  fs::remove(startUp, ec);
  fs::remove_all(inst.Root() / "settings", ec);
  ASSERT_FALSE(fs::exists(inst.Root() / "settings"));
  Click(f, Id::Check9);
  EXPECT_TRUE(ClickSave(f, [&] { return fs::exists(startUp); })) << "the save did not run";
  HWND box = WaitForMessageBox(r.process.Id());
  ASSERT_NE(box, nullptr) << "the failed save is said";
  const std::wstring said = MessageBoxText(box);
  EXPECT_NE(said.find(L"\\settings\\tavimbra.ini に書き込めませんでした。"), std::wstring::npos) << ToUtf8(U(said.c_str()));
  EXPECT_NE(said.find(L"設定の変更は保存されていません。"), std::wstring::npos) << ToUtf8(U(said.c_str()));
  EXPECT_EQ(said.find(L"保存されました"), std::wstring::npos);
  ASSERT_TRUE(AnswerMessageBox(box, IDOK));
  EXPECT_FALSE(fs::exists(inst.Root() / "settings")) << "no folder is created";
  Scroll(f, 2, 10);
  EXPECT_EQ(TextOf(f, Id::Text3), L"A") << "the window still works";
  Close(r);
  fs::remove(startUp, ec);
}

TEST_F(Form1, StoredValuesShownAndSavedBack) {
  TAV_REQUIRE_DISPOSABLE_PROFILE();  // a save makes or removes the user's shortcuts
  inst.WriteSettings({L"Back=0F00FF", L"Text=", L"Font=Nowhere Sans", L"key1=65", L"Key2=112", L"KEEPFOCUS=2",
                      L"UseSkin=0", L"AutoComplete=1", L"FontSize=10.5", L"Bold=-1", L"Italic=1", L"SendTo=0",
                      L"StartUP=0", L"Mod1=6", L"Mod2=16"});
  ASSERT_TRUE(Start());
  const std::pair<Id, std::wstring> texts[] = {
      {Id::Text1, L"FF"},  {Id::Text2, L"00"},     {Id::Text3, L"F"}, {Id::Text4, L""},
      {Id::Text5, L""},    {Id::Text6, L""},       {Id::Combo1, L"Nowhere Sans"},
      {Id::Text12, L"10"}, {Id::Label5, L"65"},    {Id::Label7, L"Ctrl+Shift+A キー"},
      {Id::Label11, L"112"}, {Id::Label12, L"推奨しません"}};
  for (std::size_t i = 0; i < std::size(texts); ++i)
    EXPECT_EQ(TextOf(f, texts[i].first), texts[i].second) << "case " << i;
  const std::pair<Id, bool> checks[] = {{Id::Check1, true},  {Id::Check2, false}, {Id::Check3, false},
                                        {Id::Check6, false}, {Id::Check7, true}};
  for (std::size_t i = 0; i < std::size(checks); ++i)
    EXPECT_EQ(Ticked(f, checks[i].first), checks[i].second) << "check case " << i;
  EXPECT_EQ(BarOf(f, Id::HScroll3), 15);
  Click(f, Id::Command2);
  // Existing entries are replaced where they stand (the case of their key names is the platform's affair).
  EXPECT_EQ(Lower(inst.ReadRaw("settings/tavimbra.ini")), "[tavimbra]\r\nback=0f00ff\r\ntext=\r\nfont=nowhere sans\r\nkey1=65\r\nkey2=112\r\n"
                 "keepfocus=0\r\nuseskin=0\r\nautocomplete=1\r\nfontsize=10\r\nbold=0\r\nitalic=1\r\nsendto=0\r\n"
                 "startup=0\r\nmod1=6\r\nmod2=16\r\n");  // Mod2 kept as read though it means Alt
  Close(r);
}

TEST_F(Form1, ColourComponentsReactThroughTheirControls) {
  TAV_REQUIRE_DISPOSABLE_PROFILE();  // a save makes or removes the user's shortcuts
  ASSERT_TRUE(Start());
  // Blue of the background to 10: box "A", stored "0A".
  Scroll(f, 2, 10);
  EXPECT_EQ(TextOf(f, Id::Text3), L"A");
  // Text colour blue to 15, then "ff" typed into its red box.
  Scroll(f, 5, 15);
  EXPECT_EQ(TextOf(f, Id::Text6), L"F");
  SetBox(f, Id::Text4, L"ff");
  EXPECT_EQ(TextOf(f, Id::Text4), L"FF");
  EXPECT_EQ(BarOf(f, Id::HScroll4), 255);
  // "0F" typed: the bar moves and the box loses its leading zero.
  SetBox(f, Id::Text5, L"0F");
  EXPECT_EQ(TextOf(f, Id::Text5), L"F");
  EXPECT_EQ(BarOf(f, Id::HScroll5), 15);
  // Cleared green box: nothing until it is left, then "0".
  SetBox(f, Id::Text2, L"");
  EXPECT_EQ(BarOf(f, Id::HScroll2), 255);
  Leave(f, Id::Text2);
  EXPECT_EQ(TextOf(f, Id::Text2), L"0");
  EXPECT_EQ(BarOf(f, Id::HScroll2), 0);
  // Font size box left empty, then with 0.
  for (const wchar_t* size : {L"", L"0"}) {
    SetBox(f, Id::Text12, size);
    Leave(f, Id::Text12);
    EXPECT_EQ(TextOf(f, Id::Text12), L"11") << "size \"" << size << "\"";
  }
  SetBox(f, Id::Text12, L"14");
  Leave(f, Id::Text12);
  Click(f, Id::Command2);
  std::string ini = inst.ReadRaw("settings/tavimbra.ini");
  EXPECT_NE(ini.find("Back=0A00FF\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("Text=0F0FFF\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("FontSize=14\r\n"), std::string::npos) << ini;
  Close(r);
}

// The rightmost column of the box (client coordinates) holding a pixel far from its background.
int InkRight(HWND box) {
  const ScreenPixels p = CaptureClient(box);
  return InkColumns(p, p.At(p.width - 2, p.height / 2)).second;
}

// Some pixel of the box shows the colour (0x00RRGGBB).
bool Shows(HWND box, DWORD rgb) {
  const ScreenPixels p = CaptureClient(box);
  return std::find(p.px.begin(), p.px.end(), rgb) != p.px.end();
}

TEST_F(Form1, PreviewShowsAndHidesAndTakesColoursAtOnce) {
  ASSERT_TRUE(Start());
  HWND preview = FindTopWindow(r.process.Id(), settings::kForm2Class);
  ASSERT_NE(preview, nullptr);
  EXPECT_EQ(WindowText(preview), L"プレビュー");
  HWND box = FindChild(preview, L"Edit");
  ASSERT_NE(box, nullptr);
  EXPECT_EQ(WindowText(box), L"AbCd / あいうえ");
  RECT client;
  GetClientRect(preview, &client);
  EXPECT_EQ(client.right, 240);
  EXPECT_EQ(client.bottom, 64);
  const RECT boxRect = RectIn(preview, box);
  EXPECT_EQ(boxRect.left, 16);
  EXPECT_EQ(boxRect.top, 27);
  EXPECT_EQ(boxRect.right - boxRect.left, 209);
  EXPECT_EQ(boxRect.bottom - boxRect.top, 18);

  Click(f, Id::Command1);
  ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(preview) != FALSE; }, std::chrono::seconds(3)));
  // Background to pure red through the bars: the box's empty right end turns red at once.
  Scroll(f, 1, 0);
  Scroll(f, 2, 0);
  EXPECT_TRUE(WaitUntil([&] { return ScreenPixel(box, 200, 9) == RGB(255, 0, 0); }, std::chrono::seconds(3)))
      << std::hex << ScreenPixel(box, 200, 9);
  if (ShotsFolder()) {
    Scroll(f, 1, 255);
    Scroll(f, 2, 255);
    ShotIfWanted(L"form1_with_preview");
    Scroll(f, 1, 0);
    Scroll(f, 2, 0);
  }
  // Font choices wait for the apply button: the sample's ink grows only then. (The red on the
  // screen shows the sample painted since the last change.)
  int before = InkRight(box);
  ASSERT_GT(before, 20) << "the sample text is drawn";
  SetBox(f, Id::Combo1, L"Courier New");
  SetBox(f, Id::Text12, L"20");
  Click(f, Id::Check6);
  // A text colour, which applies at once, after them: once white ink is on the screen, a font
  // taken with the clicks before would be too.
  for (int c : {3, 4, 5}) Scroll(f, c, 255);
  ASSERT_TRUE(WaitUntil([&] { return Shows(box, 0xFFFFFF); }, std::chrono::seconds(3))) << "no white text";
  EXPECT_EQ(InkRight(box), before) << "font applied before the button";
  Click(f, Id::Command10);
  EXPECT_TRUE(WaitUntil([&] { return InkRight(box) > before * 13 / 10; }, std::chrono::seconds(3)))
      << before << " -> " << InkRight(box);
  // The skin box: the picture's corner (a dark teal in the shipped skin) gives way to the plain
  // background at once, and comes back.
  auto corner = [&] { return ScreenPixel(preview, 240 - 6, 64 - 6); };
  auto skinCorner = [&] { return NearColour(corner(), RGB(24, 123, 140)); };
  auto plainCorner = [&] { return corner() == GetSysColor(COLOR_BTNFACE); };
  EXPECT_TRUE(WaitUntil(skinCorner, std::chrono::seconds(3))) << "with the skin: " << std::hex << corner();
  Click(f, Id::Check3);
  EXPECT_FALSE(Ticked(f, Id::Check3));
  EXPECT_TRUE(WaitUntil(plainCorner, std::chrono::seconds(3))) << "without the skin: " << std::hex << corner();
  ShotIfWanted(L"preview_font_no_skin");
  Click(f, Id::Check3);
  EXPECT_TRUE(WaitUntil(skinCorner, std::chrono::seconds(3))) << "the skin again: " << std::hex << corner();
  Click(f, Id::Command1);
  EXPECT_TRUE(WaitUntil([&] { return !IsWindowVisible(preview); }, std::chrono::seconds(3)));
  // Hidden, it keeps what it had; shown again, it is the same window.
  Click(f, Id::Command1);
  EXPECT_TRUE(WaitUntil([&] { return IsWindowVisible(preview) != FALSE; }, std::chrono::seconds(3)));
  EXPECT_EQ(FindTopWindow(r.process.Id(), settings::kForm2Class), preview);
  EXPECT_EQ(WindowText(box), L"AbCd / あいうえ");
  Close(r);
}

TEST_F(Form1, HotkeyCaptureTakesTheReleasedKey) {
  TAV_REQUIRE_DISPOSABLE_PROFILE();  // a save makes or removes the user's shortcuts
  ASSERT_TRUE(Start());
  // The first click may only activate the window.
  ClickInto(f, Ctl(f, Id::Text7));
  ASSERT_EQ(FocusOf(f), Ctl(f, Id::Text7))
      << "focus " << FocusOf(f) << " foreground " << GetForegroundWindow() << " form " << f << " text7 " << Ctl(f, Id::Text7);
  struct Case {
    std::function<void()> press;
    std::wstring code, name, note;
  };
  const Case cases[] = {
      {[] { SendKey('A'); }, L"65", L"A キー"},
      {[] { SendKey(VK_F1); }, L"112", L"推奨しません"},
      {[] { SendKey(VK_LEFT); }, L"37", L"\u2190"},
      // With Ctrl, Shift or Win held: the combination; the modifiers' releases after it keep it.
      {[] { SendChord({VK_CONTROL, VK_SHIFT}, VK_SPACE); }, L"32", L"Ctrl+Shift+Space"},
      {[] { SendChord({VK_CONTROL}, VK_SPACE); }, L"32", L"Ctrl+Space", L"日本語入力の切り替えキーです"},
      {[] { SendKey(VK_RETURN); }, L"13", L"Enter"},
      {[] { SendAltKey('O'); }, L"18", L"Menu"},  // O released before Alt: the last key up counts
      {[] { TypeText(L"xyz"); }, L"90", L"Z キー"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    cases[i].press();
    EXPECT_TRUE(WaitUntil([&] { return TextOf(f, Id::Label7) == cases[i].name; }, std::chrono::seconds(3)))
        << "case " << i << ": " << TextOf(f, Id::Label7);
    EXPECT_EQ(TextOf(f, Id::Label5), cases[i].code) << "case " << i;
    const bool noted = IsWindowVisible(Ctl(f, Id::Label25)) != FALSE;
    EXPECT_EQ(noted ? TextOf(f, Id::Label25) : L"", cases[i].note) << "case " << i;
    EXPECT_EQ(TextOf(f, Id::Text7), L"ここに入力") << "case " << i;
    EXPECT_EQ(TextOf(f, Id::Label11), L"87") << "case " << i << ": the other hotkey stays";
    if (i == 1)
      ShotIfWanted(L"hotkey_not_recommended");
  }
  EXPECT_EQ(FocusOf(f), Ctl(f, Id::Text7)) << "Alt alone does not take the focus away";
  // Walking through with Tab and Shift+Tab changes no hotkey: the key that brings the focus in
  // is released in the box, but was not pressed there. A key typed afterwards shows that the
  // releases before it have been handled.
  auto tabTo = [&](Id box, bool shift) {
    SendKey(VK_TAB, shift);
    return WaitUntil([&] { return FocusOf(f) == Ctl(f, box); }, std::chrono::seconds(3));
  };
  ASSERT_TRUE(tabTo(Id::Text8, false));
  ASSERT_TRUE(tabTo(Id::Text7, true));
  SendKey('D');
  EXPECT_TRUE(WaitUntil([&] { return TextOf(f, Id::Label5) == L"68"; }, std::chrono::seconds(3)));
  EXPECT_EQ(TextOf(f, Id::Label11), L"87") << "Tab into hotkey 2";
  ASSERT_TRUE(tabTo(Id::Text8, false));
  ASSERT_TRUE(tabTo(Id::Text7, true));
  ASSERT_TRUE(tabTo(Id::Text8, false));
  SendChord({VK_CONTROL, VK_SHIFT}, 'C');
  EXPECT_TRUE(WaitUntil([&] { return TextOf(f, Id::Label11) == L"67"; }, std::chrono::seconds(3)));
  EXPECT_EQ(TextOf(f, Id::Label12), L"Ctrl+Shift+C キー");
  EXPECT_EQ(TextOf(f, Id::Label5), L"68") << "Shift+Tab into hotkey 1";
  // Text put in by any other way is set back.
  SetBox(f, Id::Text8, L"abc");
  EXPECT_EQ(TextOf(f, Id::Text8), L"ここに入力");
  Click(f, Id::Command2);
  std::string ini = inst.ReadRaw("settings/tavimbra.ini");
  EXPECT_NE(ini.find("key1=68\r\nkey2=67\r\n"), std::string::npos) << ini;
  // Hotkey 1 is plain Alt again, as in a file without Mod1.
  EXPECT_EQ(ini.find("Mod1="), std::string::npos) << ini;
  EXPECT_NE(ini.find("Mod2=6\r\n"), std::string::npos) << ini;
  Close(r);
}

// Ticked and saved, the shortcuts are made (ticking alone does nothing). Stored ticks show at the
// next start; a shortcut the user deleted meanwhile is made again by the next save, the other one
// kept. Unticked and saved, a shortcut is removed.
TEST_F(Form1, SaveCreatesAndRemovesTheShortcuts) {
  TAV_REQUIRE_DISPOSABLE_PROFILE();  // a save makes or removes the user's shortcuts
  const fs::path startUp = KnownFolder(FOLDERID_Startup) / L"Tavimbra.lnk";
  const fs::path sendTo = KnownFolder(FOLDERID_SendTo) / L"Tavimbraに登録.lnk";
  std::error_code ec;
  fs::remove(startUp, ec);
  fs::remove(sendTo, ec);
  ASSERT_TRUE(Start());
  Click(r.form, Id::Check9);
  Click(r.form, Id::Check8);
  EXPECT_FALSE(fs::exists(startUp)) << "ticking alone does nothing";
  Click(r.form, Id::Command2);
  for (const auto& [lnk, exe] : {std::pair{startUp, L"Tavimbra.exe"}, std::pair{sendTo, L"Tavimset.exe"}}) {
    const Shortcut s = ReadShortcut(lnk);
    EXPECT_TRUE(SamePath(s.target, inst.Root() / exe)) << lnk.string() << ": " << s.target.string();
    EXPECT_TRUE(SamePath(s.workingFolder, inst.Root())) << lnk.string() << ": " << s.workingFolder.string();
  }
  EXPECT_NE(inst.ReadRaw("settings/tavimbra.ini").find("SendTo=1\r\nStartUP=1\r\n"), std::string::npos);
  Close(r);
  for (const auto& [removed, kept, exe] :
       {std::tuple{startUp, sendTo, L"Tavimbra.exe"}, std::tuple{sendTo, startUp, L"Tavimset.exe"}}) {
    fs::remove(removed);
    r = StartForm1(inst);
    ASSERT_NE(r.form, nullptr);
    EXPECT_TRUE(Ticked(r.form, Id::Check8) && Ticked(r.form, Id::Check9)) << "SendTo=1, StartUP=1";
    Click(r.form, Id::Command2);
    EXPECT_TRUE(SamePath(ReadShortcut(removed).target, inst.Root() / exe)) << removed.string() << ": not made again";
    EXPECT_TRUE(fs::exists(kept)) << kept.string();
    if (removed != sendTo) Close(r);
  }
  Click(r.form, Id::Check9);
  Click(r.form, Id::Command2);
  EXPECT_FALSE(fs::exists(startUp)) << "unticked and saved: removed";
  EXPECT_TRUE(fs::exists(sendTo)) << "the other box is still ticked";
  EXPECT_NE(inst.ReadRaw("settings/tavimbra.ini").find("SendTo=1\r\nStartUP=0\r\n"), std::string::npos);
  Close(r);
  fs::remove(sendTo, ec);
}

// The settings window closed without saving, after changes to every kind of control: the
// settings file stays byte for byte, and none is made where there was none.
TEST_F(Form1, ClosedWithoutSavingLeavesTheSettingsFileAsItWas) {
  for (bool withFile : {true, false}) {
    Installation inst;
    const std::string stored =
        "; the user's own note\r\n[tavimbra]\r\nback=0F00FF\r\nText=\r\nKey1=65\r\nFontSize=10.5\r\n"
        "UseSkin=0\r\nunknown=kept\r\n\r\n[other]\r\nx=1";  // no line break at the end
    if (withFile) inst.WriteRaw("settings/tavimbra.ini", stored);
    Running r = StartForm1(inst);
    ASSERT_NE(r.form, nullptr) << withFile;
    HWND f = r.form;
    Scroll(f, 2, 10);
    SetBox(f, Id::Text4, L"ff");
    SetBox(f, Id::Text12, L"14");
    Leave(f, Id::Text12);
    for (Id box : {Id::Check1, Id::Check2, Id::Check3, Id::Check6, Id::Check8, Id::Check9}) Click(f, box);
    Click(f, Id::Command10);
    EXPECT_EQ(TextOf(f, Id::Text3), L"A") << withFile << ": the changes were taken";
    Close(r);
    if (withFile)
      EXPECT_EQ(inst.ReadRaw("settings/tavimbra.ini"), stored);
    else
      EXPECT_FALSE(fs::exists(inst.Root() / "settings" / "tavimbra.ini"));
  }
}

// The command line of another process, from its process parameters.
std::wstring CommandLineOf(HANDLE process) {
  using Query = NTSTATUS(WINAPI*)(HANDLE, PROCESSINFOCLASS, PVOID, ULONG, PULONG);
  auto query = reinterpret_cast<Query>(
      reinterpret_cast<void*>(GetProcAddress(GetModuleHandleW(L"ntdll.dll"), "NtQueryInformationProcess")));
  PROCESS_BASIC_INFORMATION basic{};
  if (!query || query(process, ProcessBasicInformation, &basic, sizeof basic, nullptr) != 0) return L"<no query>";
  PEB peb{};
  RTL_USER_PROCESS_PARAMETERS params{};
  if (!ReadProcessMemory(process, basic.PebBaseAddress, &peb, sizeof peb, nullptr) ||
      !ReadProcessMemory(process, peb.ProcessParameters, &params, sizeof params, nullptr))
    return L"<unreadable>";
  std::wstring text(params.CommandLine.Length / sizeof(wchar_t), L'\0');
  if (!ReadProcessMemory(process, params.CommandLine.Buffer, text.data(), params.CommandLine.Length, nullptr))
    return L"<unreadable>";
  return text;
}

// The processes that parent started.
std::vector<DWORD> ChildrenOf(DWORD parent) {
  std::vector<DWORD> children;
  HANDLE snap = CreateToolhelp32Snapshot(TH32CS_SNAPPROCESS, 0);
  PROCESSENTRY32W e{};
  e.dwSize = sizeof e;
  for (BOOL more = Process32FirstW(snap, &e); more; more = Process32NextW(snap, &e))
    if (e.th32ParentProcessID == parent) children.push_back(e.th32ProcessID);
  CloseHandle(snap);
  return children;
}

// The system's own file manager is started with a new window on the quoted folder, and the
// settings window does not wait for it.
TEST(Form1WineOnly, OpenFolderStartsTheFileManagerOnTheFolder) {
  // Windows' explorer.exe hands the folder to the running shell and ends at once: its command line
  // cannot be caught there, and the folder window it leaves is the shell's. (The line itself is
  // checked in settings_form_test.cpp.)
  TAV_WINE_ONLY("explorer.exe passes the folder to the running shell and ends before its command line is read");
  Installation inst;
  Running r = StartForm1(inst);
  ASSERT_NE(r.form, nullptr);
  Click(r.form, Id::Command7);
  std::vector<DWORD> children;
  ASSERT_TRUE(WaitUntil([&] { return !(children = ChildrenOf(r.process.Id())).empty(); }))
      << "nothing was started";
  ASSERT_EQ(children.size(), 1u);
  HANDLE child = OpenProcess(PROCESS_QUERY_LIMITED_INFORMATION | PROCESS_QUERY_INFORMATION | PROCESS_VM_READ |
                                 PROCESS_TERMINATE,
                             FALSE, children[0]);
  ASSERT_NE(child, nullptr);
  wchar_t image[MAX_PATH * 4] = {};
  DWORD size = MAX_PATH * 4;
  QueryFullProcessImageNameW(child, 0, image, &size);
  wchar_t windows[MAX_PATH] = {};
  GetSystemWindowsDirectoryW(windows, MAX_PATH);
  // The system's own: C:\Windows\explorer.exe on Windows (Wine runs it from system32).
  const std::u16string imagePath = U(image), folder = U(windows);
  EXPECT_TRUE(EqualsNoCase(imagePath.substr(0, folder.size() + 1), folder + u"\\") &&
              EqualsNoCase(FileNameOfPath(imagePath), u"explorer.exe"))
      << image;
  const std::wstring expected = L"explorer.exe /n, \"" + inst.Root().wstring() + L"\"";
  const std::wstring commandLine = CommandLineOf(child);
  EXPECT_TRUE(EqualsNoCase(U(commandLine.c_str()), U(expected.c_str()))) << commandLine;
  EXPECT_EQ(TextOf(r.form, Id::Label5), L"79") << "the settings window still answers";
  // The file manager window goes again; it is ours to end when it does not close.
  EnumWindows(
      [](HWND w, LPARAM pid) -> BOOL {
        DWORD owner = 0;
        GetWindowThreadProcessId(w, &owner);
        if (owner == static_cast<DWORD>(pid)) PostMessageW(w, WM_CLOSE, 0, 0);
        return TRUE;
      },
      static_cast<LPARAM>(children[0]));
  if (WaitForSingleObject(child, 5000) != WAIT_OBJECT_0) TerminateProcess(child, 0);
  CloseHandle(child);
  Close(r);
}

}  // namespace
}  // namespace tav::e2e
