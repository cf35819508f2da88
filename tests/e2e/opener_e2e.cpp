// The generic opener opens its argument with the shell's default action for the file's type.
#include <gtest/gtest.h>

#include "driver.h"

namespace tav::e2e {
namespace {

// Makes the probe the program that opens *.tavprobe files (the test prefix is our own).
class OpenerTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::wstring command = L"\"" + ProbeExe().wstring() + L"\" \"%1\"";
    ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, L".tavprobe", nullptr, REG_SZ, L"TavProbeFile",
                              sizeof(L"TavProbeFile")),
              ERROR_SUCCESS);
    ASSERT_EQ(RegSetKeyValueW(HKEY_CLASSES_ROOT, L"TavProbeFile\\shell\\open\\command", nullptr,
                              REG_SZ, command.c_str(), static_cast<DWORD>((command.size() + 1) * sizeof(wchar_t))),
              ERROR_SUCCESS);
  }
  void TearDown() override {
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L".tavprobe");
    RegDeleteTreeW(HKEY_CLASSES_ROOT, L"TavProbeFile");
  }
};

TEST_F(OpenerTest, OpensQuotedAndUnquotedDocumentsWithTheirProgram) {
  Installation inst;
  fs::create_directories(inst.Root() / "my docs");
  inst.WriteRaw(fs::path("my docs") / "a b.tavprobe", "x");
  inst.WriteRaw("plain.tavprobe", "x");
  fs::path opener = inst.Root() / "plugins" / "kovrand" / "kovrand.exe";
  ASSERT_TRUE(fs::exists(opener));

  std::wstring spaced = (inst.Root() / "my docs" / "a b.tavprobe").wstring();
  std::wstring plain = (inst.Root() / "plain.tavprobe").wstring();
  // As the launcher starts it from a command file: relative program, argument quoted or not.
  EXPECT_EQ(Process(opener, L"\"" + spaced + L"\"", inst.Root()).Wait(), 0);
  ASSERT_TRUE(inst.WaitForProbe(1));
  EXPECT_EQ(Process(opener, plain, inst.Root()).Wait(), 0);
  ASSERT_TRUE(inst.WaitForProbe(2));
  EXPECT_EQ(Process(opener, spaced, inst.Root()).Wait(), 0);  // unquoted path with a space
  ASSERT_TRUE(inst.WaitForProbe(3));

  auto log = inst.ProbeLog();
  auto endsWith = [](const std::wstring& s, const std::wstring& tail) {
    return s.size() >= tail.size() && _wcsicmp(s.c_str() + s.size() - tail.size(), tail.c_str()) == 0;
  };
  EXPECT_TRUE(endsWith(log[0].commandLine, L"a b.tavprobe\"")) << log[0].commandLine;
  EXPECT_TRUE(endsWith(log[1].commandLine, L"plain.tavprobe\"")) << log[1].commandLine;
  EXPECT_TRUE(endsWith(log[2].commandLine, L"a b.tavprobe\"")) << log[2].commandLine;
}

TEST_F(OpenerTest, NothingToOpenEndsWithAnErrorCode) {
  Installation inst;
  fs::path opener = inst.Root() / "plugins" / "kovrand" / "kovrand.exe";
  Process p(opener, L"", inst.Root());
  // It says so in a message box; close it like a user would.
  HWND box = WaitForTopWindow(p.Id(), L"#32770", true);
  ASSERT_NE(box, nullptr);
  PostMessageW(box, WM_COMMAND, IDOK, 0);
  EXPECT_EQ(p.Wait(), 2);
  EXPECT_TRUE(inst.ProbeLog().empty());
}

}  // namespace
}  // namespace tav::e2e
