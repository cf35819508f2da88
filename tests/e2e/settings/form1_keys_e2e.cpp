// Keys in the settings window as Windows delivers them: a release whose press never arrived,
// and Enter on a focused push button.
#include <gtest/gtest.h>

#include "dialogs_helpers.h"
#include "driver.h"
#include "form1_controls.h"
#include "form2_win32.h"
#include "launcher/running_launcher.h"
#include "registration_controls.h"

namespace tav::e2e {
namespace {

using Id = settings::Form1Id;

HWND Ctl(HWND form, int id) { return GetDlgItem(form, id); }
HWND Ctl(HWND form, Id id) { return Ctl(form, static_cast<int>(id)); }

// Tab until the focus is on target (the order goes round).
bool TabTo(HWND form, HWND target) {
  for (int i = 0; i < 80 && FocusOf(form) != target; ++i) {
    HWND before = FocusOf(form);
    SendKey(VK_TAB);
    WaitUntil([&] { return FocusOf(form) != before; }, std::chrono::seconds(2));
  }
  return FocusOf(form) == target;
}

// Started, with the window in the foreground and a control focused: keys go there.
Running Open(const Installation& inst) {
  Running o = StartForm1(inst);
  if (o.form) WaitUntil([&] { return GetForegroundWindow() == o.form && FocusOf(o.form) != nullptr; });
  return o;
}

// Windows keeps the press of PrintScreen (44, "Snapshot") for itself; only its release reaches
// the box, and that is the key captured.
TEST(Form1Keys, ReleaseWhosePressNeverArrivedIsCaptured) {
  Installation inst;
  Running o = Open(inst);
  ASSERT_NE(o.form, nullptr);
  const struct {
    Id box, code, name;
  } boxes[] = {{Id::Text7, Id::Label5, Id::Label7}, {Id::Text8, Id::Label11, Id::Label12}};
  for (const auto& b : boxes) {
    ClickInto(o.form, Ctl(o.form, b.box));
    ASSERT_EQ(FocusOf(o.form), Ctl(o.form, b.box));
    SendKeyAlone(VK_SNAPSHOT, true);
    EXPECT_TRUE(WaitUntil([&] { return WindowText(Ctl(o.form, b.code)) == L"44"; }, std::chrono::seconds(3)))
        << static_cast<int>(b.box) << ": " << WindowText(Ctl(o.form, b.code));
    EXPECT_EQ(WindowText(Ctl(o.form, b.name)), L"Snapshot");
  }
  EXPECT_EQ(CloseAndWait(o.form, o.process), 0);
}

// Shift pressed while the window is in front, held through a real click into a capture box and
// repeating there, then let go: the key that brought nothing new is no hotkey. Windows hands the
// box the focus with the Shift down in its thread's key state (input arrives in the order given,
// and the key state follows the messages the thread has taken). The pointer is on the box before
// the Shift is pressed: Wine resets keys the X server does not hold down (keys given by
// SendInput) when it moves the pointer, which no user's own key would meet.
TEST(Form1Keys, ShiftHeldThroughAClickIntoTheBoxIsPassedOver) {
  Installation inst;
  Running o = Open(inst);
  ASSERT_NE(o.form, nullptr);
  HWND box = Ctl(o.form, Id::Text7), code = Ctl(o.form, Id::Label5);
  ASSERT_EQ(WindowText(code), L"79");
  PointerTo(box);
  SendKeyAlone(VK_SHIFT, false);
  PointerClick(box);  // the pointer is there already: no move resets the held Shift
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(o.form) == box; }, std::chrono::seconds(3)));
  for (int i = 0; i < 3; ++i) SendKeyAlone(VK_SHIFT, false);  // repeats: the key was down already
  SendKeyAlone(VK_SHIFT, true);
  // Tab, after it, takes the focus on: by then the Shift's release has been handled.
  SendKey(VK_TAB);
  ASSERT_TRUE(WaitUntil([&] { return FocusOf(o.form) != box; }, std::chrono::seconds(3)));
  EXPECT_EQ(WindowText(code), L"79") << "Shift's release was taken as the hotkey";
  EXPECT_EQ(CloseAndWait(o.form, o.process), 0);
}

// Enter on a focused push button clicks it, as in every dialog: the window opens on the
// preview button, and Enter also saves, and registers (here: asks for the name first).
TEST(Form1Keys, EnterOnAFocusedPushButtonClicksIt) {
  TAV_REQUIRE_DISPOSABLE_PROFILE();  // a save makes or removes the user's shortcuts
  Installation inst;
  Running o = Open(inst);
  ASSERT_NE(o.form, nullptr);
  HWND preview = Ctl(o.form, Id::Command1);
  ASSERT_EQ(FocusOf(o.form), preview) << ClassName(FocusOf(o.form)) << " '" << WindowText(FocusOf(o.form)) << "'";
  SendKey(VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] { return FindTopWindow(o.process.Id(), settings::kForm2Class, true) != nullptr; },
                        std::chrono::seconds(3)))
      << "Enter on 「プレビュー ON/OFF」 shows the preview";

  ASSERT_TRUE(TabTo(o.form, Ctl(o.form, Id::Command2)));
  SendKey(VK_RETURN);
  EXPECT_TRUE(WaitUntil([&] {
    std::error_code ec;
    if (!fs::exists(inst.Root() / "settings" / "tavimbra.ini", ec)) return false;
    return inst.ReadRaw("settings/tavimbra.ini").find("StartUP=0") != std::string::npos;
  })) << "Enter on 「設定の変更を保存」 saves";

  ASSERT_TRUE(TabTo(o.form, Ctl(o.form, settings::RegistrationId::Command4)));
  SendKey(VK_RETURN);
  HWND box = WaitForMessageBox(o.process.Id(), std::chrono::seconds(5));
  ASSERT_NE(box, nullptr) << "Enter on 「コマンド登録実行」 registers";
  EXPECT_EQ(MessageBoxText(box), L"コマンドを設定してください");
  AnswerMessageBox(box, IDOK);
  EXPECT_EQ(CloseAndWait(o.form, o.process), 0);
}

// A captured key that another program holds with Alt gets a note under its box until another key
// is captured; the running launcher's own keys (Alt+O, Alt+W here) are not another program's,
// also when the settings file names another key by now (Key1 saved as A after the launcher started).
TEST(Form1Keys, AKeyAnotherProgramHoldsIsNoted) {
  HeldHotkeys holder({'Q'});
  ASSERT_TRUE(holder.Held());
  Installation inst;
  RunningLauncher launcher(inst);
  ASSERT_TRUE(launcher.started);
  inst.WriteSettings({L"Key1=65"});
  Running o = Open(inst);
  ASSERT_NE(o.form, nullptr);
  const struct {
    Id frame, box, code, name, note;
  } boxes[] = {{Id::Frame7, Id::Text7, Id::Label5, Id::Label7, Id::Label25},
               {Id::Frame8, Id::Text8, Id::Label11, Id::Label12, Id::Label26}};
  // Each note lies inside its frame, clear of the box and the labels.
  for (const auto& b : boxes) {
    RECT note, frame, other, overlap;
    GetWindowRect(Ctl(o.form, b.note), &note);
    GetWindowRect(Ctl(o.form, b.frame), &frame);
    EXPECT_TRUE(note.left >= frame.left && note.right <= frame.right && note.top >= frame.top &&
                note.bottom <= frame.bottom)
        << static_cast<int>(b.note);
    for (Id id : {b.box, b.code, b.name}) {
      GetWindowRect(Ctl(o.form, id), &other);
      EXPECT_FALSE(IntersectRect(&overlap, &note, &other)) << static_cast<int>(b.note) << " over " << static_cast<int>(id);
    }
  }
  const struct {
    WORD key;
    bool noted;
    WORD modifier = VK_MENU;  // VK_MENU: the key alone, which means Alt
  } keys[] = {{'Q', true}, {'A', false}, {'Q', false, VK_CONTROL}, {'A', false},
                {'Q', true}, {'A', false}, {'O', false}, {'W', false}};
  for (const auto& b : boxes) {
    ClickInto(o.form, Ctl(o.form, b.box));
    ASSERT_EQ(FocusOf(o.form), Ctl(o.form, b.box));
    for (const auto& k : keys) {
      if (k.modifier == VK_MENU)
        SendKey(k.key);
      else
        SendChord({k.modifier}, k.key);
      const std::wstring code = std::to_wstring(k.key);
      ASSERT_TRUE(WaitUntil([&] { return WindowText(Ctl(o.form, b.code)) == code; }, std::chrono::seconds(3)))
          << static_cast<int>(b.box) << " " << k.key;
      HWND note = Ctl(o.form, b.note);
      EXPECT_EQ(IsWindowVisible(note) != FALSE, k.noted) << static_cast<int>(b.box) << " " << k.key;
      EXPECT_EQ(WindowText(note), L"他のプログラムが使用中です");
      if (b.box == Id::Text8 && k.key == 'Q') ShotIfWanted(L"settings-hotkey-in-use");
      if (b.box == Id::Text8) {
        EXPECT_FALSE(IsWindowVisible(Ctl(o.form, Id::Label25))) << k.key << ": each hotkey has its own note";
      }
    }
  }
  EXPECT_EQ(CloseAndWait(o.form, o.process), 0);
}

}  // namespace
}  // namespace tav::e2e
