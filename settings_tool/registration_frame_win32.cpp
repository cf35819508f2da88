#include "registration_frame_win32.h"

#include "dialogs_win32.h"
#include "drop_area_win32.h"
#include "file_drop.h"
#include "file_drop_win32.h"
#include "install_folder.h"
#include "open_dialog_win32.h"
#include "program_lookup.h"
#include "program_lookup_win32.h"
#include "registration.h"
#include "replace_file_win32.h"
#include "input_box_look_win32.h"
#include "text_encoding.h"
#include "window_win32.h"

namespace tav::settings {
namespace {

constexpr int kFrameLeft = 120, kFrameTop = 4920;
constexpr int kFrame9Left = 3720, kFrame9Top = 1800;  // inside Frame3

constexpr wchar_t kQuoteCaptionWide[] = L"登録時に \"\"\u3000で囲む";  // Check4: ideographic space
constexpr wchar_t kQuoteCaptionAscii[] = L"登録時に \"\" で囲む";      // Check5: ASCII space
constexpr wchar_t kDropHere[] = L"ここにファイルをドロップしてください";

// Places from Frame3's origin (Frame9's buttons: from Frame9's). In window order, which is also
// the tab order: a screen reader names a box after the caption right before it, and a tab stop
// between them would leave the box unnamed, so each tick box comes before its row's caption.
const ControlPlace kControls[] = {
    {Frame3, L"BUTTON", L"コマンド登録補助", BS_GROUPBOX, 0, 0, 0, 8175, 3615, false},
    {Check4, L"BUTTON", kQuoteCaptionWide, BS_AUTOCHECKBOX | WS_TABSTOP, 0, 3945, 315, 2670, 255, false},
    {Label17, L"STATIC", L"実行ファイルパス(D＆Dはexeファイルのみ受付)", SS_LEFTNOWORDWRAP, 0, 120, 360, 4695, 375, false},
    {Text10, L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 240, 600, 6135, 270, false},
    {Command8, L"BUTTON", L"...", BS_PUSHBUTTON | WS_TABSTOP, 0, 6360, 600, 375, 255, false},
    {Label16, L"STATIC", kDropHere, SS_CENTER | SS_NOTIFY, 0, 6720, 240, 1215, 615, false},
    {Check5, L"BUTTON", kQuoteCaptionAscii, BS_AUTOCHECKBOX | WS_TABSTOP, 0, 3960, 1185, 2580, 255, false},
    {Label18, L"STATIC", L"コマンドライン（開くファイル,URL,フォルダ）", SS_LEFTNOWORDWRAP, 0, 120, 1200, 3855, 375, false},
    {Text11, L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 240, 1440, 6135, 270, false},
    {Command9, L"BUTTON", L"...", BS_PUSHBUTTON | WS_TABSTOP, 0, 6360, 1440, 375, 255, false},
    {Label19, L"STATIC", kDropHere, SS_CENTER | SS_NOTIFY, 0, 6720, 1080, 1215, 615, false},
    {Command11, L"BUTTON", L"オート設定(推奨)", BS_PUSHBUTTON | WS_TABSTOP, 0, 240, 1920, 3255, 975, false},
    {Frame9, L"BUTTON", L"コマンドラインを実行させるプログラムを指定", BS_GROUPBOX, 0, kFrame9Left, kFrame9Top, 4215,
     1095, false},
    {Command3, L"BUTTON", L"関連付けられたプログラムを検索して指定", BS_PUSHBUTTON | WS_TABSTOP, 0, 240, 240, 3615, 255,
     true},
    {Command5, L"BUTTON", L"フォルダ登録(explorerを指定)", BS_PUSHBUTTON | WS_TABSTOP, 0, 240, 480, 3615, 255, true},
    {Command6, L"BUTTON", L"URL登録(標準のブラウザを指定)", BS_PUSHBUTTON | WS_TABSTOP, 0, 240, 720, 3615, 255, true},
    // Label20 reaches to Text9 (1080 instead of 975) so its six characters stay on one line.
    {Label20, L"STATIC", L"登録コマンド", SS_LEFTNOWORDWRAP, 0, 240, 3120, 1080, 375, false},
    {Text9, L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 1320, 3120, 2175, 270, false},
    {Command4, L"BUTTON", L"コマンド登録実行", BS_PUSHBUTTON | WS_TABSTOP, 0, 3720, 3000, 4215, 495, false},
};

}  // namespace

void RegistrationFrame::Create(HWND parent, HINSTANCE instance, HFONT uiFont) {
  parent_ = parent;
  if (installFolder_.empty()) installFolder_ = InstallFolder();
  for (const ControlPlace& c : kControls) {
    SendMessageW(CreatePlacedControl(c, parent, instance), WM_SETFONT, reinterpret_cast<WPARAM>(uiFont), FALSE);
  }
  MakeDropArea(Item(Label16));
  MakeDropArea(Item(Label19));
  // The group boxes hold them all: they stay beneath, clipped by what lies on them. The box
  // captions stay right before their boxes (that is where a screen reader finds a box's name);
  // where they reach into the boxes and check boxes beside them, they give way (ApplyPlaces).
  for (int id : {Label16, Label19, Frame9, Frame3})
    SetWindowPos(Item(id), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
  CheckDlgButton(parent, Check4, BST_CHECKED);
  CheckDlgButton(parent, Check5, BST_CHECKED);

  AcceptFileDrops(Item(Label16), [this](const std::vector<std::u16string>& files) {
    if (auto box = ProgramBoxAfterDrop(files)) SetText(Text10, *box);
  });
  AcceptFileDrops(Item(Label19), [this](const std::vector<std::u16string>& files) {
    if (auto box = CommandLineBoxAfterDrop(files)) SetText(Text11, *box);
  });
}

std::vector<DesignedControl> RegistrationFrame::DesignedPlaces() const {
  std::vector<DesignedControl> places;
  for (const ControlPlace& c : kControls) {
    int left = kFrameLeft + c.left + (c.inFrame9 ? kFrame9Left : 0);
    int top = kFrameTop + c.top + (c.inFrame9 ? kFrame9Top : 0);
    places.push_back({Item(c.id), {left, top, left + c.width, top + c.height}});
  }
  return places;
}

bool RegistrationFrame::OnCommand(int id, int code) {
  if (id < kRegistrationFirstId || id > kRegistrationLastId) return false;
  if (code != BN_CLICKED) return true;
  switch (id) {
    case Command4: Command4_Click(); break;
    case Command8: Command8_Click(); break;
    case Command9: Command9_Click(); break;
    case Command3: Command3_Click(); break;
    case Command5: Command5_Click(); break;
    case Command6: Command6_Click(); break;
    case Command11: Command11_Click(); break;
    default: break;
  }
  return true;
}

void RegistrationFrame::Command4_Click() {
  RegistrationRequest r;
  r.name = Text(Text9);
  r.program = Text(Text10);
  r.commandLine = Text(Text11);
  r.quoteProgram = Ticked(Check4);
  r.quoteCommandLine = Ticked(Check5);
  r.quitAfter = false;
  MessageBoxDialogs dialogs(parent_);
  Win32CommandFiles files;
  RegisterCommand(r, installFolder_, dialogs, files);
}

void RegistrationFrame::Command8_Click() {
  SetText(Text10, openfile::ShowOpenDialog(parent_, u"実行ファイル(*.exe)", u"*.exe"));
}

void RegistrationFrame::Command9_Click() {
  SetText(Text11, openfile::ShowOpenDialog(parent_, u"すべてのファイル(*.*)", u"*.*"));
}

void RegistrationFrame::Command3_Click() {
  MessageBoxDialogs dialogs(parent_);
  Win32LookupPlatform platform;
  if (auto program = AssociationLookup(platform, dialogs, Text(Text11))) SetText(Text10, *program);
}

void RegistrationFrame::Command5_Click() {
  SetText(Text10, std::u16string(kExplorerProgram));
  CheckDlgButton(parent_, Check4, BST_UNCHECKED);
}

void RegistrationFrame::Command6_Click() { BrowserLookupInto(); }

void RegistrationFrame::Command11_Click() {
  if (AutoSettingUsesBrowser(Text(Text11))) {
    BrowserLookupInto();
    return;
  }
  CheckDlgButton(parent_, Check4, BST_UNCHECKED);
  SetText(Text10, std::u16string(kOpenerRelativePath));
}

void RegistrationFrame::BrowserLookupInto() {
  MessageBoxDialogs dialogs(parent_);
  Win32LookupPlatform platform;
  if (auto program = BrowserLookup(platform, dialogs, installFolder_)) SetText(Text10, *program);
}

std::u16string RegistrationFrame::Text(int id) const { return WindowText(Item(id)); }

void RegistrationFrame::SetText(int id, const std::u16string& text) { SetWindowText(Item(id), text); }

bool RegistrationFrame::Ticked(int id) const { return IsDlgButtonChecked(parent_, id) == BST_CHECKED; }

}  // namespace tav::settings
