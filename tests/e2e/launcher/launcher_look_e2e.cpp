// How the summoned window looks with its settings. Screenshots go to %TAV_SHOT_DIR% when set.
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "driver.h"

namespace tav::e2e {
namespace {

constexpr wchar_t kFormClass[] = L"TavimbraForm1";

struct Shown {
  ForegroundWindow other;  // the application the user works in
  Process proc;
  HWND form = nullptr, edit = nullptr;
};

// Started and called up with Alt+O; form is null when it did not come up.
std::unique_ptr<Shown> StartAndSummon(Installation& inst) {
  auto p = std::make_unique<Shown>();
  Shown& s = *p;
  s.proc = inst.Start(L"Tavimbra.exe");
  s.form = WaitForTopWindow(s.proc.Id(), kFormClass);
  WaitForHotkeyTaken('W');
  if (s.form) s.edit = FindChild(s.form, L"Edit");
  SendAltKey('O');
  if (!WaitUntil([&] { return IsWindowVisible(s.form) && FocusOf(s.form) == s.edit; }, std::chrono::seconds(5)))
  {
    const std::wstring fg = DescribeForeground();
    ADD_FAILURE() << "not summoned; foreground: " << std::string(fg.begin(), fg.end());
    s.form = nullptr;
  }
  return p;
}

void Shot(const wchar_t* name) {
  wchar_t dir[MAX_PATH];
  if (!GetEnvironmentVariableW(L"TAV_SHOT_DIR", dir, MAX_PATH)) return;
  Sleep(300);
  SaveScreenshot(fs::path(dir) / (std::wstring(name) + L".bmp"));
}

void Close(Shown& s) {
  PostMessageW(s.form, WM_CLOSE, 0, 0);
  s.proc.Wait(std::chrono::seconds(5));
}

TEST(LauncherLook, SkinColoursAndFont) {
  struct Case {
    const wchar_t* shot;
    std::vector<std::wstring> settings;
    bool removeSkin;
    COLORREF box;        // inside the box, away from the text
    bool skinExpected;   // the skin's bluish picture at the top-left corner
  } cases[] = {
      {L"skin", {}, false, RGB(255, 255, 255), true},
      {L"noskin", {L"UseSkin=0"}, false, RGB(255, 255, 255), false},
      {L"red-bold-14", {L"Back=0000FF", L"Text=FFFFFF", L"Bold=1", L"FontSize=14"}, false, RGB(255, 0, 0), true},
      {L"bad-colour", {L"Back=GG00FF", L"UseSkin=2"}, false, RGB(255, 255, 255), false},
      {L"empty-back", {L"Back="}, false, RGB(0, 0, 0), true},
      {L"skin-missing", {L"Back=00FF00", L"Italic=1"}, true, RGB(0, 255, 0), false},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Installation inst;
    inst.WriteSettings(cases[i].settings);
    if (cases[i].removeSkin) fs::remove(inst.Root() / "settings" / "skin.bmp");
    auto shown = StartAndSummon(inst);
    Shown& s = *shown;
    ASSERT_NE(s.form, nullptr) << "case " << i;
    // Visible to the window manager a moment before it is on the screen.
    WaitUntil([&] { return ScreenPixel(s.form, 200, 36) == cases[i].box; }, std::chrono::seconds(2));
    EXPECT_EQ(ScreenPixel(s.form, 200, 36), cases[i].box) << "case " << i;
    COLORREF corner = ScreenPixel(s.form, 2, 2);
    bool plain = corner == GetSysColor(COLOR_BTNFACE);
    EXPECT_EQ(!plain, cases[i].skinExpected) << "case " << i << " corner " << std::hex << corner;
    TypeText(L"calc/テスト Tavimbra");
    EXPECT_TRUE(WaitUntil([&] { return WindowText(s.edit) == L"calc/テスト Tavimbra"; }, std::chrono::seconds(3)))
        << "case " << i;
    Shot(cases[i].shot);
    Close(s);
  }
}

TEST(LauncherLook, JapaneseCommandNames) {
  Installation inst;
  inst.WriteCommand(L"メモ帳", L"x");
  inst.WriteCommand(L"メール", L"x");
  inst.WriteCommand(L"計算機", L"x");
  auto shown = StartAndSummon(inst);
  Shown& s = *shown;
  ASSERT_NE(s.form, nullptr);
  TypeText(L"メ");
  EXPECT_TRUE(WaitUntil([&] { return WindowText(s.edit) == L"メール"; }, std::chrono::seconds(3)))
      << "the first in the list's order";
  EXPECT_EQ(EditSelection(s.edit), std::make_pair(1, 3));
  TypeText(L"モ");
  EXPECT_TRUE(WaitUntil([&] { return WindowText(s.edit) == L"メモ帳"; }, std::chrono::seconds(3)));
  EXPECT_EQ(EditSelection(s.edit), std::make_pair(2, 3));
  Shot(L"japanese");
  Close(s);
}

}  // namespace
}  // namespace tav::e2e
