// The name a screen reader gives each input box of the settings windows. Windows names an edit
// box or combo box after the static text before it in the window order: the first static control
// found through GW_HWNDPREV, the search stopping at a control with WS_GROUP or WS_TABSTOP.
#include <gtest/gtest.h>
#include <windows.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>

#include "form1_controls.h"
#include "form1_win32.h"
#include "form3_controls.h"
#include "form3_win32.h"
#include "registration_frame_win32.h"
#include "temp_dir.h"
#include "window_names.h"

namespace tav::settings {
namespace {

std::wstring NameByWindowOrder(HWND box) {
  for (HWND w = GetWindow(box, GW_HWNDPREV); w; w = GetWindow(w, GW_HWNDPREV)) {
    if (lstrcmpiW(test::ClassName(w).c_str(), L"Static") == 0) {
      wchar_t text[256] = {};
      GetWindowTextW(w, text, 256);
      return text;
    }
    const LONG_PTR style = GetWindowLongPtrW(w, GWL_STYLE);
    if (style & (WS_GROUP | WS_TABSTOP)) break;
  }
  return L"(no name)";
}

// Every edit box and combo box of the window against the caption it must be read by; one line
// per box that differs, or that the table does not know.
std::wstring WrongNames(HWND form, const std::map<int, std::wstring>& expected) {
  std::wstring wrong;
  std::size_t boxes = 0;
  for (HWND c = GetWindow(form, GW_CHILD); c; c = GetWindow(c, GW_HWNDNEXT)) {
    const std::wstring cls = test::ClassName(c);
    if (lstrcmpiW(cls.c_str(), L"Edit") != 0 && lstrcmpiW(cls.c_str(), L"ComboBox") != 0) continue;
    ++boxes;
    const int id = GetDlgCtrlID(c);
    const std::wstring name = NameByWindowOrder(c);
    auto it = expected.find(id);
    if (it == expected.end())
      wrong += L"box " + std::to_wstring(id) + L" is not in the table (read as '" + name + L"')\n";
    else if (name != it->second)
      wrong += L"box " + std::to_wstring(id) + L" is read as '" + name + L"', not '" + it->second + L"'\n";
  }
  if (boxes != expected.size()) wrong += L"found " + std::to_wstring(boxes) + L" boxes\n";
  return wrong;
}

int N(Form1Id id) { return static_cast<int>(id); }

// Only the same colour component of the two colour frames shares a name.
TEST(BoxNames, EveryBoxOfTheSettingsWindowIsReadByItsOwnCaption) {
  using Id = Form1Id;
  using Frame = RegistrationId;
  const std::map<int, std::wstring> expected = {
      {N(Id::Text1), L"赤"},
      {N(Id::Text2), L"緑"},
      {N(Id::Text3), L"青"},
      {N(Id::Text4), L"赤"},
      {N(Id::Text5), L"緑"},
      {N(Id::Text6), L"青"},
      {N(Id::Combo1), L"使用フォント"},
      {N(Id::Text12), L"サイズ"},
      {N(Id::Text7), L"ホットキー１"},
      {N(Id::Text8), L"ホットキー２"},
      {Frame::Text10, L"実行ファイルパス(D＆Dはexeファイルのみ受付)"},
      {Frame::Text11, L"コマンドライン（開くファイル,URL,フォルダ）"},
      {Frame::Text9, L"登録コマンド"},
  };
  Form1 form;
  ASSERT_TRUE(form.Create(GetModuleHandleW(nullptr)));
  std::wstring wrong = WrongNames(form.Hwnd(), expected);
  // Tab still takes each row's tick box before the row's box and button.
  HWND at = GetDlgItem(form.Hwnd(), Frame::Check4);
  for (int id : {Frame::Text10, Frame::Command8, Frame::Check5, Frame::Text11, Frame::Command9, Frame::Command11}) {
    at = GetNextDlgTabItem(form.Hwnd(), at, FALSE);
    if (GetDlgCtrlID(at) != id) wrong += L"Tab reaches " + std::to_wstring(GetDlgCtrlID(at)) + L", not " + std::to_wstring(id) + L"\n";
  }
  EXPECT_TRUE(wrong.empty()) << testing::PrintToString(wrong);
  DestroyWindow(form.Hwnd());
  MSG m;
  while (PeekMessageW(&m, nullptr, 0, 0, PM_REMOVE)) {
  }
}

TEST(BoxNames, EveryBoxOfTheQuickRegistrationWindowIsReadByItsOwnCaption) {
  const std::map<int, std::wstring> expected = {
      {Form3Id::Text1, L"登録コマンド"}, {Form3Id::Text2, L"実行ファイル"}, {Form3Id::Text3, L"コマンドライン"}};
  std::wstring wrong = L"no quick registration window\n";
  std::thread looker([&] {
    HWND form = nullptr;
    // Shown: its controls are made.
    for (int i = 0; i < 500 && !(form && IsWindowVisible(form)); ++i, Sleep(10))
      form = FindWindowW(kForm3Class, nullptr);
    if (!form) return;
    wrong = WrongNames(form, expected);
    // Tab still walks the register button first, then the three boxes.
    HWND first = GetNextDlgTabItem(form, nullptr, FALSE);
    if (GetDlgCtrlID(first) != Form3Id::Command1) wrong += L"Tab starts on " + std::to_wstring(GetDlgCtrlID(first)) + L"\n";
    HWND next = first;
    for (int id : {Form3Id::Text1, Form3Id::Text2, Form3Id::Text3}) {
      next = GetNextDlgTabItem(form, next, FALSE);
      if (GetDlgCtrlID(next) != id) wrong += L"Tab reaches " + std::to_wstring(GetDlgCtrlID(next)) + L"\n";
    }
    PostMessageW(form, WM_CLOSE, 0, 0);
  });
  test::TempDir folder;
  RunQuickRegistration(GetModuleHandleW(nullptr), u"C:\\docs\\memo.txt", folder.Text());
  looker.join();
  EXPECT_TRUE(wrong.empty()) << testing::PrintToString(wrong);
}

}  // namespace
}  // namespace tav::settings
