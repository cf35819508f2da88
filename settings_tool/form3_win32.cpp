#include "form3_win32.h"

#include <commctrl.h>

#include <vector>

#include "caption_fit_win32.h"
#include "dialogs_win32.h"
#include "form3_controls.h"
#include "handles_win32.h"
#include "input_box_look_win32.h"
#include "install_folder.h"
#include "quick_registration.h"
#include "registration.h"
#include "replace_file_win32.h"
#include "text_encoding.h"
#include "ui_font_win32.h"
#include "window_win32.h"

namespace tav::settings {
namespace {

constexpr wchar_t kCaption[] = L"Tavimbra 簡易登録";
constexpr int kClientWidth = 3330, kClientHeight = 2205;  // twips
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

// In tab order: creation order is the order Tab walks. Each box's caption comes right before it,
// where a screen reader looks for the box's name.
const ControlPlace kControls[] = {
    {Command1, L"BUTTON", L"登録", BS_PUSHBUTTON | WS_TABSTOP, 0, 2040, 240, 1095, 375},
    {Label3, L"STATIC", L"登録コマンド", SS_LEFT, 0, 240, 120, 1095, 255},
    {Text1, L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 240, 345, 1695, 270},
    {Label1, L"STATIC", L"実行ファイル", SS_LEFT, 0, 240, 840, 1095, 255},
    {Text2, L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 240, 1080, 2775, 270},
    {Label2, L"STATIC", L"コマンドライン", SS_LEFT, 0, 240, 1440, 1335, 255},
    {Text3, L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 240, 1680, 2775, 270},
};

class Form3 final : public Window {
 public:
  Form3(std::u16string installFolder, QuickProposal proposal)
      : installFolder_(std::move(installFolder)), proposal_(std::move(proposal)) {}

  bool Create(HINSTANCE instance) {
    return Window::Create(instance, {kForm3Class, reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1)}, 0, kCaption, kStyle,
                          CW_USEDEFAULT, CW_USEDEFAULT, 100, 100);
  }

 private:
  bool OnCommand(int id, int code, HWND) override {
    // Enter on the focused register button arrives as the default command.
    if ((id == Command1 && code == BN_CLICKED) || (id == IDOK && GetFocus() == GetDlgItem(hwnd_, Command1)))
      Command1_Click();
    return true;
  }

  LRESULT HandleMessage(UINT msg, WPARAM wp, LPARAM lp) override {
    switch (msg) {
      case WM_CREATE:
        Form_Load(reinterpret_cast<CREATESTRUCTW*>(lp)->hInstance);
        return 0;
      case WM_ACTIVATE:
        if (LOWORD(wp) == WA_INACTIVE) {
          HWND f = GetFocus();
          if (f && IsChild(hwnd_, f)) lastFocus_ = f;
        } else if (lastFocus_) {
          SetFocus(lastFocus_);
          return 0;
        }
        break;
      case WM_DPICHANGED:
        // Moved to a screen of another DPI: the same twips, counted anew.
        Layout(DpiChangedTo(wp));
        Place(reinterpret_cast<const RECT*>(lp));
        return 0;
      case WM_CLOSE:
        DestroyWindow(hwnd_);
        return 0;
      case WM_DESTROY:
        PostQuitMessage(0);
        return 0;
    }
    return DefWindowProcW(hwnd_, msg, wp, lp);
  }

  void Form_Load(HINSTANCE instance) {
    // A label's box reaching into the edit box under it gives way to it (ApplyPlaces).
    for (const ControlPlace& c : kControls) CreatePlacedControl(c, hwnd_, instance);
    SetWindowSubclass(GetDlgItem(hwnd_, Text1), &Form3::Text1Proc, 1, reinterpret_cast<DWORD_PTR>(this));
    SetWindowText(GetDlgItem(hwnd_, Text2), proposal_.program);
    SetWindowText(GetDlgItem(hwnd_, Text3), proposal_.commandLine);

    Layout(WindowDpi(hwnd_));
    Place(nullptr);
  }

  // Controls at their twips places, with room for their captions in the font for dpi.
  void Layout(UINT dpi) {
    UniqueFont font = CreateUiFont(dpi);
    std::vector<DesignedControl> designed;
    for (const ControlPlace& c : kControls) {
      HWND w = GetDlgItem(hwnd_, c.id);
      SendMessageW(w, WM_SETFONT, reinterpret_cast<WPARAM>(font.get()), FALSE);
      designed.push_back({w, {c.left, c.top, c.left + c.width, c.top + c.height}});
    }
    CaptionLayout layout = LayOutCaptions(designed, {kClientWidth, kClientHeight}, dpi);
    ApplyPlaces(layout.places, 0);
    InvalidateRect(hwnd_, nullptr, TRUE);
    font_ = std::move(font);
    dpi_ = dpi;
    client_ = layout.client;
  }

  // Sized for its client at its DPI, inside the work area of its monitor (of target's when given):
  // centred, or at target's top-left.
  void Place(const RECT* target) {
    PlaceInWorkArea(hwnd_, WorkAreaOf(hwnd_, target), WindowSizeForClient(hwnd_, client_, dpi_), client_, target);
  }

  // Text1 takes Enter as a character of its own: typing it registers.
  static LRESULT CALLBACK Text1Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data) {
    const auto byDefault = [&] { return DefSubclassProc(w, msg, wp, lp); };
    return AnswerOrDefault(
        [&]() -> LRESULT {
          switch (msg) {
            case WM_GETDLGCODE:
              if (lp && reinterpret_cast<MSG*>(lp)->message == WM_KEYDOWN &&
                  reinterpret_cast<MSG*>(lp)->wParam == VK_RETURN)
                return byDefault() | DLGC_WANTALLKEYS;
              break;
            case WM_CHAR:
              if (wp == 13) {
                reinterpret_cast<Form3*>(data)->Command1_Click();
                return 0;
              }
              break;
            case WM_NCDESTROY:
              RemoveWindowSubclass(w, &Form3::Text1Proc, id);
              break;
          }
          return byDefault();
        },
        byDefault);
  }

  std::u16string Text(int id) const { return WindowText(GetDlgItem(hwnd_, id)); }

  void Command1_Click() {
    if (busy_) return;  // a second Enter while a message box is up
    busy_ = true;
    RegistrationRequest r;
    r.name = Text(Text1);
    r.program = Text(Text2);
    r.commandLine = Text(Text3);
    r.quoteProgram = r.quoteCommandLine = false;
    r.quitAfter = true;
    MessageBoxDialogs dialogs(hwnd_);
    Win32CommandFiles files;
    RegistrationResult result = RegisterCommand(r, installFolder_, dialogs, files);
    busy_ = false;
    if (result == RegistrationResult::kQuit) DestroyWindow(hwnd_);
  }

  HWND lastFocus_ = nullptr;
  bool busy_ = false;
  UniqueFont font_;
  UINT dpi_ = 96;
  SIZE client_{};
  std::u16string installFolder_;
  QuickProposal proposal_;
};

}  // namespace

int RunQuickRegistration(HINSTANCE instance, const std::u16string& argumentText) {
  return RunQuickRegistration(instance, argumentText, InstallFolder());
}

int RunQuickRegistration(HINSTANCE instance, const std::u16string& argumentText, const std::u16string& installFolder) {
  Form3 form(installFolder, ProposeForArgument(argumentText));
  if (!form.Create(instance)) return 1;
  ShowWindow(form.Hwnd(), SW_SHOWNORMAL);
  SetForegroundWindow(form.Hwnd());
  SetFocus(GetDlgItem(form.Hwnd(), Command1));
  MSG msg;
  int code = 0;
  while (true) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      code = static_cast<int>(msg.wParam);
      break;
    }
    if (got < 0) break;
    if (IsWindow(form.Hwnd()) && IsDialogMessageW(form.Hwnd(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return code;
}

}  // namespace tav::settings
