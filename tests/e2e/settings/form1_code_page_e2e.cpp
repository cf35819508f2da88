// A face the system code page cannot hold is never written to the settings file: it would come
// back as another name ("MS P????" under code page 1252) that no font has. Run in the Japanese
// run and in the English one (TAV_EXPECT_ACP=1252, where the default face itself is such a face).
#include <gtest/gtest.h>

#include "dialogs_helpers.h"
#include "driver.h"
#include "form1_controls.h"
#include "text_encoding.h"

namespace tav::e2e {
namespace {

using Id = settings::Form1Id;
constexpr wchar_t kDefaultFace[] = L"ＭＳ Ｐゴシック";

bool Holds(const std::wstring& text) { return FromAnsi(ToAnsi(U(text.c_str()))) == U(text.c_str()); }

bool SaveDone(const Installation& inst) {
  std::error_code ec;
  if (!fs::exists(inst.Root() / "settings" / "tavimbra.ini", ec)) return false;
  return inst.ReadRaw("settings/tavimbra.ini").find("StartUP=") != std::string::npos;
}

TEST(Form1AnyCodePage, FaceTheCodePageCannotHoldIsNeverWrittenLossy) {
  TAV_REQUIRE_DISPOSABLE_PROFILE();  // a save makes or removes the user's shortcuts
  wchar_t expected[16] = {};
  if (GetEnvironmentVariableW(L"TAV_EXPECT_ACP", expected, 16)) {
    ASSERT_EQ(GetACP(), wcstoul(expected, nullptr, 10));
  }
  // Under Western code pages the default face; under Japanese a Korean name.
  const bool defaultHeld = Holds(kDefaultFace);
  const std::wstring face = defaultHeld ? L"맑은 고딕" : kDefaultFace;
  ASSERT_FALSE(Holds(face));

  // From the defaults: the default face is written only where it can be; a missing key reads as
  // the default anyway, so there is nothing to tell.
  {
    Installation inst;
    Process p = inst.Start(L"Tavimset.exe");
    HWND form = WaitForTopWindow(p.Id(), settings::kForm1Class, true);
    ASSERT_NE(form, nullptr);
    ShotIfWanted(L"form1_cp" + std::to_wstring(GetACP()) + L"_opened");
    ClickButton(form, static_cast<int>(Id::Command2));
    ASSERT_TRUE(WaitUntil([&] { return SaveDone(inst); }));
    const std::string ini = inst.ReadRaw("settings/tavimbra.ini");
    if (defaultHeld)
      EXPECT_NE(ini.find("\r\nFont=" + ToAnsi(U(kDefaultFace)) + "\r\n"), std::string::npos) << ini;
    else
      EXPECT_EQ(ini.find("Font="), std::string::npos) << ini;
    EXPECT_NE(ini.find("\r\nFontSize=11\r\n"), std::string::npos) << ini;
    // Posted behind the click: handled once the save has returned, or inside the loop of a
    // message box it opened (the box is there by then).
    ASSERT_TRUE(PostedMessagesHandled(GetDlgItem(form, static_cast<int>(Id::Text1))));
    EXPECT_EQ(FindMessageBox(p.Id()), nullptr) << "nothing to tell";
    EXPECT_EQ(CloseAndWait(form, p), 0);
  }

  // A face chosen that the file cannot hold: the file keeps its face, every other key is saved,
  // and the message names the face.
  Installation inst;
  inst.WriteSettings({L"Font=Arial", L"Bold=0"});
  Process p = inst.Start(L"Tavimset.exe");
  HWND form = WaitForTopWindow(p.Id(), settings::kForm1Class, true);
  ASSERT_NE(form, nullptr);
  SetControlText(form, static_cast<int>(Id::Combo1), face);
  SendMessageW(GetDlgItem(form, static_cast<int>(Id::Check6)), BM_SETCHECK, BST_CHECKED, 0);
  ClickButton(form, static_cast<int>(Id::Command2));
  HWND box = WaitForMessageBox(p.Id());
  ASSERT_NE(box, nullptr);
  const std::wstring text = MessageBoxText(box);
  EXPECT_NE(text.find(L"[" + face + L"]"), std::wstring::npos) << ToUtf8(U(text.c_str()));
  EXPECT_NE(text.find(L"文字コードで保存できない"), std::wstring::npos) << ToUtf8(U(text.c_str()));
  ShotIfWanted(L"form1_cp" + std::to_wstring(GetACP()) + L"_face_message");
  AnswerMessageBox(box, IDOK);
  const std::string ini = inst.ReadRaw("settings/tavimbra.ini");
  EXPECT_NE(ini.find("\r\nFont=Arial\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("\r\nBold=1\r\n"), std::string::npos) << ini;
  EXPECT_NE(ini.find("\r\nStartUP=0"), std::string::npos) << ini;
  EXPECT_EQ(ini.find('?'), std::string::npos) << ini;
  EXPECT_EQ(CloseAndWait(form, p), 0);
}

}  // namespace
}  // namespace tav::e2e
