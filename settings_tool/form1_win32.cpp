#include "form1_win32.h"

#include <commctrl.h>
#include <imm.h>

#include <vector>

#include "colour.h"
#include "hotkey_in_use_win32.h"
#include "install_folder.h"
#include "launcher_settings.h"
#include "key_names.h"
#include "profile_file.h"
#include "settings_form.h"
#include "settings_save_win32.h"
#include "shortcuts_win32.h"
#include "system_message_win32.h"
#include "text_encoding.h"
#include "ui_font_win32.h"

namespace tav::settings {

namespace {
using Id = Form1Id;

// Client area at 96 dpi; the registration group takes the band at 328-569 (its twips place).
constexpr int kClientWidth = 561, kClientHeight = 667;

constexpr DWORD kChild = WS_CHILD | WS_VISIBLE;
constexpr DWORD kGroup = kChild | BS_GROUPBOX;
constexpr DWORD kLabel = kChild | SS_LEFT | SS_NOPREFIX;
constexpr DWORD kEdit = kChild | WS_TABSTOP | ES_AUTOHSCROLL;
constexpr DWORD kCheck = kChild | WS_TABSTOP | BS_AUTOCHECKBOX;
constexpr DWORD kButton = kChild | WS_TABSTOP | BS_PUSHBUTTON;
// The two hotkey frames: each a box with its key code, the key's name, the in-use note.
constexpr int kHotkeyFrameTop = 24, kHotkeyFrameStep = 96;
}  // namespace

bool Form1::Create(HINSTANCE instance) {
  instance_ = instance;
  folder_ = InstallFolder();
  const DWORD style = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;
  // Made on the primary monitor, then sized for the scale of the monitor it is on.
  RECT work{};
  SystemParametersInfoW(SPI_GETWORKAREA, 0, &work, 0);
  if (!Window::Create(instance, {kForm1Class, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)}, WS_EX_CONTROLPARENT,
                      L"Tavimbra Config", style, work.left, work.top, Px(kClientWidth), Px(kClientHeight)))
    return false;
  dpi_ = WindowDpi(hwnd_);
  uiFont_ = CreateUiFont(dpi_);
  CreateControls();
  scroll_.Attach(hwnd_);
  scroll_.SetFoot({Item(Id::Command7), Item(Id::Command2)});
  Layout();
  scroll_.Place(nullptr);
  form2_.Create(instance, hwnd_);
  colours_.OnPreviewColour([this](bool text, std::uint32_t bgr) {
    if (text)
      form2_.SetTextColour(bgr);
    else
      form2_.SetBackColour(bgr);
  });
  Load();
  // The window opens at its top, on a control there whose leaving rewrites nothing, so opening
  // and saving at once writes back what was read (leaving an empty colour box would make it
  // "0", the size box the default size). Enter on it only shows the preview.
  lastFocus_ = Item(Id::Command1);
  return true;
}

void Form1::Show(int showCommand) {
  ShowWindow(hwnd_, showCommand);
  UpdateWindow(hwnd_);
}

HWND Form1::Add(Id id, const wchar_t* cls, const wchar_t* text, DWORD style, int x, int y, int w, int h,
                DWORD exStyle) {
  HWND c = CreateWindowExW(exStyle, cls, text, style, Px(x), Px(y), Px(w), Px(h), hwnd_,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance_, nullptr);
  SendMessageW(c, WM_SETFONT, reinterpret_cast<WPARAM>(uiFont_.get()), FALSE);
  designed_.push_back({c, {x * kTwipsPerDip, y * kTwipsPerDip, (x + w) * kTwipsPerDip, (y + h) * kTwipsPerDip}});
  return c;
}

void Form1::CreateControls() {
  CreateVisualFrame();
  CreateBehaviourFrame();

  // Frame3: the registration group, at its own place.
  registration_.Create(hwnd_, instance_, uiFont_.get());
  for (const DesignedControl& c : registration_.DesignedPlaces()) designed_.push_back(c);

  Add(Id::Label13, L"STATIC", L"※設定の変更は次回のTavimbra起動時より有効", kLabel, 8, 577, 545, 16);
  Add(Id::Label6, L"STATIC", L"※オートコンプリートへの反映は登録直後より有効", kLabel, 8, 595, 545, 32);
  Add(Id::Command7, L"BUTTON", L"Tavimbraのフォルダを開く", kButton, 8, 633, 190, 26);
  Add(Id::Command2, L"BUTTON", L"設定の変更を保存", kButton, 393, 633, 160, 26);
  // Under each hotkey's name, shown while its captured key is held by another program. Made last,
  // so no box takes its text for a name.
  for (int k = 0; k < 2; ++k)
    Add(k == 0 ? Id::Label25 : Id::Label26, L"STATIC", kHotkeyInUseNote, kLabel & ~WS_VISIBLE, 344,
        kHotkeyFrameTop + 66 + k * kHotkeyFrameStep, 193, 16);

  // Frames paint below the controls they hold.
  for (Id f : {Id::Frame4, Id::Frame5, Id::Frame6, Id::Frame7, Id::Frame8, Id::Frame1, Id::Frame2})
    SetWindowPos(Item(f), HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
}

void Form1::CreateVisualFrame() {
  // Frame2: visual settings.
  Add(Id::Frame2, L"BUTTON", L"ビジュアル設定", kGroup, 8, 4, 312, 308);
  static const wchar_t* const kComponentLabels[] = {L"赤", L"緑", L"青"};
  static const Id kLabelIds[] = {Id::Label1, Id::Label2, Id::Label3, Id::Label8, Id::Label9, Id::Label10};
  for (int colour = 0; colour < 2; ++colour) {
    int left = colour == 0 ? 16 : 167;
    Add(colour == 0 ? Id::Frame4 : Id::Frame5, L"BUTTON",
        colour == 0 ? L"テキスト背景色の設定" : L"テキスト表示色の設定", kGroup, left, 24, 145, 108);
    for (int row = 0; row < 3; ++row) {
      int c = colour * 3 + row, top = 48 + row * 26;
      Add(kLabelIds[c], L"STATIC", kComponentLabels[row], kLabel, left + 8, top + 3, 16, 16);
      HWND box = Add(Offset(Id::Text1, c), L"EDIT", L"0", kEdit, left + 26, top, 30, 22,
                     WS_EX_CLIENTEDGE);
      SendMessageW(box, EM_LIMITTEXT, kMaxComponentChars, 0);
      DisableInputMethod(box);  // numbers only: a composition would bring full-width digits
      HWND bar = Add(Offset(Id::HScroll1, c), L"SCROLLBAR", L"", kChild | WS_TABSTOP | SBS_HORZ, left + 62, top + 2,
                     75, 18);
      SetScrollRange(bar, SB_CTL, 0, 255, FALSE);
      SetScrollPos(bar, SB_CTL, 0, FALSE);
    }
  }
  Add(Id::Frame6, L"BUTTON", L"フォントの設定", kGroup, 16, 140, 296, 124);
  Add(Id::Label22, L"STATIC", L"使用フォント", kLabel, 24, 167, 74, 16);
  HWND fontBox = Add(Id::Combo1, L"COMBOBOX", L"", kChild | WS_TABSTOP | WS_VSCROLL | CBS_DROPDOWN | CBS_AUTOHSCROLL,
                     100, 163, 204, 300);
  COMBOBOXINFO fontBoxParts{};
  fontBoxParts.cbSize = sizeof fontBoxParts;
  SetWindowSubclass(fontBox, Combo1_Wheel, 1, reinterpret_cast<DWORD_PTR>(this));
  if (GetComboBoxInfo(fontBox, &fontBoxParts) && fontBoxParts.hwndItem)
    SetWindowSubclass(fontBoxParts.hwndItem, Combo1_Wheel, 1, reinterpret_cast<DWORD_PTR>(this));
  Add(Id::Label4, L"STATIC", L"サイズ", kLabel, 24, 199, 74, 16);
  DisableInputMethod(Add(Id::Text12, L"EDIT", W(ToDecimal(DefaultNumber(SettingId::FontSize))), kEdit, 100, 196, 44, 22, WS_EX_CLIENTEDGE));
  Add(Id::Check6, L"BUTTON", L"ボールド", kCheck, 152, 198, 72, 18);
  Add(Id::Check7, L"BUTTON", L"イタリック", kCheck, 228, 198, 76, 18);
  Add(Id::Command10, L"BUTTON", L"プレビューに反映", kButton, 174, 228, 130, 26);
  Add(Id::Check3, L"BUTTON", L"スキンを使用する", kCheck, 24, 280, 150, 18);
  Add(Id::Command1, L"BUTTON", L"プレビュー ON/OFF", kButton, 174, 276, 130, 26);
}

void Form1::CreateBehaviourFrame() {
  // Frame1: behaviour settings.
  Add(Id::Frame1, L"BUTTON", L"動作設定", kGroup, 328, 4, 225, 308);
  for (int k = 0; k < 2; ++k) {
    int top = kHotkeyFrameTop + k * kHotkeyFrameStep;
    Add(k == 0 ? Id::Frame7 : Id::Frame8, L"BUTTON", k == 0 ? L"ホットキー１" : L"ホットキー２", kGroup, 336, top,
        209, kHotkeyFrameStep - 6);
    // The frame's title names the box for a screen reader, which takes a box's name from the
    // static text right before it: that text, with no size, so nothing shows twice.
    CreateWindowExW(0, L"STATIC", k == 0 ? L"ホットキー１" : L"ホットキー２", kLabel, 0, 0, 0, 0, hwnd_,
                    reinterpret_cast<HMENU>(static_cast<INT_PTR>(k == 0 ? Id::Label23 : Id::Label24)), instance_,
                    nullptr);
    HWND box = Add(k == 0 ? Id::Text7 : Id::Text8, L"EDIT", kCaptureText, kEdit, 344, top + 22, 72, 22,
                   WS_EX_CLIENTEDGE);
    capture_[k].Attach(box, [this, k](WPARAM key, int modifiers) {
      if (k == 0)
        Text7_KeyUp(key, modifiers);
      else
        Text8_KeyUp(key, modifiers);
    });
    Add(k == 0 ? Id::Label5 : Id::Label11, L"STATIC", L"0", kLabel | SS_RIGHT, 420, top + 25, 32, 16);
    // The key's name on a row of its own, the frame's width: with modifiers it is long
    // ("Ctrl+Shift+Space キー").
    Add(k == 0 ? Id::Label7 : Id::Label12, L"STATIC", L"0", kLabel, 344, top + 46, 193, 16);
  }
  Add(Id::Check8, L"BUTTON", L"送るに登録", kCheck, 340, 216, 205, 18);
  Add(Id::Check9, L"BUTTON", L"スタートアップ", kCheck, 340, 238, 205, 18);
  Add(Id::Check2, L"BUTTON", L"フォーカスを保持する(推奨)", kCheck, 340, 264, 205, 18);
  Add(Id::Check1, L"BUTTON", L"オートコンプリートを使用する", kCheck, 340, 288, 205, 18);
}

void Form1::Load() {
  colours_.ResetStrings();
  auto file = OpenWin32Profile(SettingsFilePath(WithTrailingBackslash(folder_)), std::u16string(kSettingsSection));
  Settings s = ReadAllSettings(*file);

  colours_.AssignStored(s.back, s.text);
  SyncComponents();
  // The preview takes them as the launcher does, so it shows what the launcher will show.
  const LauncherSetup launcher = InterpretSettings(s);
  form2_.SetBackColour(launcher.backColour);
  form2_.SetTextColour(launcher.textColour);
  form2_.SetFont(FontChoiceOf(launcher));

  SetText(Id::Combo1, s.font);
  SetText(Id::Text12, ToDecimal(s.fontSize));
  if (launcher.bold) Tick(Id::Check6);
  if (launcher.italic) Tick(Id::Check7);

  // The names are looked up even when the code equals the design-time "0" (a key read as 0).
  // A Mod value is kept as read, even one that registers as Alt, so a save keeps it.
  modifiers_[0] = modifiersAsRead_[0] = s.mod1;
  modifiers_[1] = modifiersAsRead_[1] = s.mod2;
  SetText(Id::Label5, ToDecimal(s.key1));
  Label5_Change();
  SetText(Id::Label11, ToDecimal(s.key2));
  Label11_Change();
  if (IsOn(s.autoComplete)) Tick(Id::Check1);
  if (IsOn(s.keepFocus)) Tick(Id::Check2);
  if (IsOn(s.useSkin)) {
    Tick(Id::Check3);
    Check3_Click();
  }
  FillFontList(Item(Id::Combo1));
  if (IsOn(s.sendTo)) Tick(Id::Check8);
  if (IsOn(s.startUp)) Tick(Id::Check9);
  form2_.Hide();
}

void Form1::Layout() {
  CaptionLayout layout =
      LayOutCaptions(designed_, {kClientWidth * kTwipsPerDip, kClientHeight * kTwipsPerDip}, dpi_);
  scroll_.SetContent(std::move(layout.places), layout.client, dpi_);
}

bool Form1::PreTranslateMessage(const MSG& msg) {
  if (msg.message != WM_KEYDOWN || !IsChild(hwnd_, msg.hwnd)) return false;
  // As in a dialog; the dialog manager does it only for a default button, and this window keeps
  // none. (Under Wine Enter already clicked a button reached by Tab, though not the one the
  // window opens on.)
  if (msg.wParam == VK_RETURN) return ClickPushButton(msg.hwnd);
  if (IsCaptureBox(msg.hwnd)) return false;  // every key but Tab is a hotkey there
  return scroll_.PageKey(msg);
}

void Form1::OnDpiChanged(UINT dpi, const RECT* suggested) {
  if (!dpi || dpi == dpi_) return;
  dpi_ = dpi;
  UniqueFont font = CreateUiFont(dpi_);
  for (const DesignedControl& c : designed_)
    SendMessageW(c.control, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
  uiFont_ = std::move(font);  // the old font goes only after no control uses it
  Layout();
  scroll_.Place(suggested);
}

LRESULT Form1::HandleMessage(UINT msg, WPARAM wp, LPARAM lp) {
  if (LRESULT result = 0; scroll_.HandleMessage(msg, wp, lp, result)) return result;
  switch (msg) {
    case WM_HSCROLL:
      OnHScroll(wp, lp);
      return 0;
    case WM_ACTIVATE:
      // Like a dialog: the focus leaves with the window and comes back to the same control.
      if (LOWORD(wp) == WA_INACTIVE) {
        HWND focus = GetFocus();
        if (focus && IsChild(hwnd_, focus)) lastFocus_ = focus;
      } else if (!HIWORD(wp)) {
        HWND target = lastFocus_ && IsWindow(lastFocus_) ? lastFocus_ : GetNextDlgTabItem(hwnd_, nullptr, FALSE);
        if (target) SetFocus(target);
      }
      return 0;
    case WM_DPICHANGED:
      OnDpiChanged(DpiChangedTo(wp), reinterpret_cast<const RECT*>(lp));
      return 0;
    case WM_CLOSE:
      DestroyWindow(hwnd_);  // closing ends the program without asking
      return 0;
    case WM_DESTROY:
      scroll_.Detach();
      PostQuitMessage(0);
      return 0;
  }
  return DefWindowProcW(hwnd_, msg, wp, lp);
}

bool Form1::OnCommand(int id, int code, HWND) {
  if (registration_.OnCommand(id, code)) return true;
  if (const int c = ComponentOf(id, Id::Text1); c >= 0) {
    // Our own rewrites are no user change; a narrowed text comes back as a change of its own.
    if (code == EN_CHANGE && !applying_ && !NarrowDigitsIn(Offset(Id::Text1, c), true)) ComponentBox_Change(c);
    if (code == EN_KILLFOCUS) ComponentBox_LostFocus(c);
    return true;
  }
  switch (static_cast<Id>(id)) {
    case Id::Text7:
      if (code == EN_CHANGE) Text7_Change();
      break;
    case Id::Text8:
      if (code == EN_CHANGE) Text8_Change();
      break;
    case Id::Text12:
      if (code == EN_CHANGE) NarrowDigitsIn(Id::Text12, false);
      if (code == EN_KILLFOCUS) Text12_LostFocus();
      break;
    case Id::Check3:
      if (code == BN_CLICKED) Check3_Click();
      break;
    case Id::Command1:
      if (code == BN_CLICKED) Command1_Click();
      break;
    case Id::Command2:
      if (code == BN_CLICKED) Command2_Click();
      break;
    case Id::Command7:
      if (code == BN_CLICKED) Command7_Click();
      break;
    case Id::Command10:
      if (code == BN_CLICKED) Command10_Click();
      break;
    default:
      break;
  }
  return true;
}


// --- Save and open folder ---------------------------------------------------------------------

void Form1::Command2_Click() {
  if (GetFocus() == Item(Id::Text12)) Text12_LostFocus();
  FormValues v;
  v.backColour = colours_.BackColour();
  v.textColour = colours_.TextColour();
  v.autoComplete = Ticked(Id::Check1);
  v.keepFocus = Ticked(Id::Check2);
  v.useSkin = Ticked(Id::Check3);
  v.key1Caption = Text(Id::Label5);
  v.key2Caption = Text(Id::Label11);
  for (int k = 0; k < 2; ++k) {
    v.modifiers[k] = modifiers_[k];
    v.modifiersAsRead[k] = modifiersAsRead_[k];
  }
  v.fontFace = Text(Id::Combo1);
  v.fontStorable = SurvivesAnsi(v.fontFace);
  v.fontSizeText = Text(Id::Text12);
  v.bold = Ticked(Id::Check6);
  v.italic = Ticked(Id::Check7);
  v.sendTo = Ticked(Id::Check8);
  v.startUp = Ticked(Id::Check9);
  ShellShortcuts shortcuts;
  if (auto message = SaveSettingsFile(SettingsFilePath(WithTrailingBackslash(folder_)), v, shortcuts))
    MessageBoxW(hwnd_, W(*message), kSettingsCaption, MB_OK | MB_ICONEXCLAMATION);
}

void Form1::Command7_Click() {
  // The system's own file manager, never a program of that name planted beside us.
  wchar_t windows[MAX_PATH] = {};
  // The shared Windows folder: on a Remote Desktop server GetWindowsDirectoryW is per user.
  UINT n = GetSystemWindowsDirectoryW(windows, MAX_PATH);
  std::u16string explorer = JoinPath(U(windows, n < MAX_PATH ? n : 0), u"explorer.exe");
  const DWORD error = CreateProcessShownNormally(W(explorer), OpenFolderCommandLine(folder_)).error;
  if (!error) return;
  std::u16string text = u"フォルダを開けませんでした。\r\n" + folder_ + u"\r\n" + SystemMessage(error);
  MessageBoxW(hwnd_, W(text), kSettingsCaption, MB_OK | MB_ICONEXCLAMATION);
}

// --- Control access ---------------------------------------------------------------------------

std::u16string Form1::Text(Id id) const { return WindowText(Item(id)); }

void Form1::SetText(Id id, const std::u16string& text) { SetWindowText(Item(id), text); }

bool Form1::Ticked(Id id) const { return IsDlgButtonChecked(hwnd_, static_cast<int>(id)) == BST_CHECKED; }

void Form1::Tick(Id id) { CheckDlgButton(hwnd_, static_cast<int>(id), BST_CHECKED); }

}  // namespace tav::settings
