#include "form3_win32.h"

#include <commctrl.h>

#include <algorithm>
#include <vector>

#include "caption_fit_win32.h"
#include "dialogs_win32.h"
#include "handles_win32.h"
#include "input_box_look_win32.h"
#include "install_folder.h"
#include "quick_registration.h"
#include "registration.h"
#include "replace_file_win32.h"
#include "text_encoding.h"
#include "ui_font_win32.h"

namespace tav::settings {
namespace {

constexpr wchar_t kClassName[] = L"TavimsetForm3";
constexpr wchar_t kCaption[] = L"Tavimbra 簡易登録";
constexpr int kClientWidth = 3330, kClientHeight = 2205;  // twips
constexpr DWORD kStyle = WS_OVERLAPPED | WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX;

enum Id : int { Command1 = 101, Text1, Text2, Text3, Label1, Label2, Label3 };

struct ControlPlace {
  int id;
  const wchar_t* cls;
  const wchar_t* caption;
  DWORD style;
  DWORD exStyle;
  int left, top, width, height;  // twips
};

// In tab order: creation order is the order Tab walks.
const ControlPlace kControls[] = {
    {Command1, L"BUTTON", L"登録", BS_PUSHBUTTON | WS_TABSTOP, 0, 2040, 240, 1095, 375},
    {Text1, L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 240, 345, 1695, 270},
    {Text2, L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 240, 1080, 2775, 270},
    {Text3, L"EDIT", L"", ES_AUTOHSCROLL | WS_TABSTOP, WS_EX_CLIENTEDGE, 240, 1680, 2775, 270},
    {Label1, L"STATIC", L"実行ファイル", SS_LEFT, 0, 240, 840, 1095, 255},
    {Label2, L"STATIC", L"コマンドライン", SS_LEFT, 0, 240, 1440, 1335, 255},
    {Label3, L"STATIC", L"登録コマンド", SS_LEFT, 0, 240, 120, 1095, 255},
};

class Form3 {
 public:
  Form3(std::u16string installFolder, QuickProposal proposal)
      : installFolder_(std::move(installFolder)), proposal_(std::move(proposal)) {}

  bool Create(HINSTANCE instance) {
    WNDCLASSEXW wc{};
    wc.cbSize = sizeof wc;
    wc.lpfnWndProc = &Form3::WndProc;
    wc.hInstance = instance;
    wc.hCursor = LoadCursorW(nullptr, reinterpret_cast<LPCWSTR>(IDC_ARROW));
    wc.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    wc.hIcon = LoadIconW(instance, MAKEINTRESOURCEW(1));
    wc.lpszClassName = kClassName;
    RegisterClassExW(&wc);
    hwnd_ = CreateWindowExW(0, kClassName, kCaption, kStyle, CW_USEDEFAULT, CW_USEDEFAULT, 100, 100, nullptr,
                            nullptr, instance, this);
    return hwnd_ != nullptr;
  }

  HWND hwnd() const { return hwnd_; }

 private:
  static LRESULT CALLBACK WndProc(HWND w, UINT msg, WPARAM wp, LPARAM lp) {
    Form3* self = nullptr;
    if (msg == WM_NCCREATE) {
      self = static_cast<Form3*>(reinterpret_cast<CREATESTRUCTW*>(lp)->lpCreateParams);
      self->hwnd_ = w;
      SetWindowLongPtrW(w, GWLP_USERDATA, reinterpret_cast<LONG_PTR>(self));
    } else {
      self = reinterpret_cast<Form3*>(GetWindowLongPtrW(w, GWLP_USERDATA));
    }
    if (!self) return DefWindowProcW(w, msg, wp, lp);
    try {
      return self->Handle(msg, wp, lp);
    } catch (...) {
      return 0;
    }
  }

  LRESULT Handle(UINT msg, WPARAM wp, LPARAM lp) {
    switch (msg) {
      case WM_CREATE:
        Form_Load(reinterpret_cast<CREATESTRUCTW*>(lp)->hInstance);
        return 0;
      case WM_COMMAND:
        // Enter on the focused register button arrives as the default command.
        if ((LOWORD(wp) == Command1 && HIWORD(wp) == BN_CLICKED) ||
            (LOWORD(wp) == IDOK && GetFocus() == GetDlgItem(hwnd_, Command1)))
          Command1_Click();
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
        Layout(HIWORD(wp));
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
    for (const ControlPlace& c : kControls) {
      HWND w = CreateWindowExW(c.exStyle, c.cls, c.caption, WS_CHILD | WS_VISIBLE | WS_CLIPSIBLINGS | c.style, 0, 0,
                               0, 0, hwnd_, reinterpret_cast<HMENU>(static_cast<INT_PTR>(c.id)), instance, nullptr);
      // A label's box reaches into the edit box under it: keep labels beneath, clipped.
      if (c.id >= Label1) SetWindowPos(w, HWND_BOTTOM, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    }
    SetWindowSubclass(GetDlgItem(hwnd_, Text1), &Form3::Text1Proc, 1, reinterpret_cast<DWORD_PTR>(this));
    SetWindowTextW(GetDlgItem(hwnd_, Text2), W(proposal_.program));
    SetWindowTextW(GetDlgItem(hwnd_, Text3), W(proposal_.commandLine));

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
    MONITORINFO mi{};
    mi.cbSize = sizeof mi;
    GetMonitorInfoW(target ? MonitorFromRect(target, MONITOR_DEFAULTTONEAREST)
                         : MonitorFromWindow(hwnd_, MONITOR_DEFAULTTOPRIMARY),
                    &mi);
    const RECT& work = mi.rcWork;
    SIZE size = WindowSizeForClient(hwnd_, client_, dpi_);
    int w = std::min<int>(size.cx, work.right - work.left), h = std::min<int>(size.cy, work.bottom - work.top);
    int x = target ? target->left : work.left + (work.right - work.left - w) / 2;
    int y = target ? target->top : work.top + (work.bottom - work.top - h) / 2;
    x = std::max<int>(work.left, std::min<int>(x, work.right - w));
    y = std::max<int>(work.top, std::min<int>(y, work.bottom - h));
    SetWindowPos(hwnd_, nullptr, x, y, w, h, SWP_NOZORDER | SWP_NOACTIVATE);
    // Wine draws the frame at the system DPI whatever the window's: size by what the client got.
    RECT client;
    GetClientRect(hwnd_, &client);
    if (client.right != client_.cx || client.bottom != client_.cy)
      SetWindowPos(hwnd_, nullptr, 0, 0, w + client_.cx - client.right, h + client_.cy - client.bottom,
                   SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
  }

  // Text1 takes Enter as a character of its own: typing it registers.
  static LRESULT CALLBACK Text1Proc(HWND w, UINT msg, WPARAM wp, LPARAM lp, UINT_PTR id, DWORD_PTR data) {
    auto* self = reinterpret_cast<Form3*>(data);
    switch (msg) {
      case WM_GETDLGCODE:
        if (lp && reinterpret_cast<MSG*>(lp)->message == WM_KEYDOWN && reinterpret_cast<MSG*>(lp)->wParam == VK_RETURN)
          return DefSubclassProc(w, msg, wp, lp) | DLGC_WANTALLKEYS;
        break;
      case WM_CHAR:
        if (wp == 13) {
          try {
            self->Command1_Click();
          } catch (...) {
          }
          return 0;
        }
        break;
      case WM_NCDESTROY:
        RemoveWindowSubclass(w, &Form3::Text1Proc, id);
        break;
    }
    return DefSubclassProc(w, msg, wp, lp);
  }

  std::u16string Text(int id) const {
    HWND w = GetDlgItem(hwnd_, id);
    int n = GetWindowTextLengthW(w);
    std::wstring s(static_cast<std::size_t>(n) + 1, L'\0');
    int got = GetWindowTextW(w, s.data(), n + 1);
    return U(s.c_str(), static_cast<std::size_t>(got < 0 ? 0 : got));
  }

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

  HWND hwnd_ = nullptr;
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
  ShowWindow(form.hwnd(), SW_SHOWNORMAL);
  SetForegroundWindow(form.hwnd());
  SetFocus(GetDlgItem(form.hwnd(), Command1));
  MSG msg;
  int code = 0;
  while (true) {
    BOOL got = GetMessageW(&msg, nullptr, 0, 0);
    if (got == 0) {
      code = static_cast<int>(msg.wParam);
      break;
    }
    if (got < 0) break;
    if (IsWindow(form.hwnd()) && IsDialogMessageW(form.hwnd(), &msg)) continue;
    TranslateMessage(&msg);
    DispatchMessageW(&msg);
  }
  return code;
}

}  // namespace tav::settings
