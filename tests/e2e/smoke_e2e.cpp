// The mechanics: programs start from a fresh installation folder, show a window, end on WM_CLOSE.
#include <gtest/gtest.h>

#include "driver.h"

namespace tav::e2e {
namespace {

TEST(Smoke, LauncherStartsFromItsFolderAndEndsOnClose) {
  Installation inst;
  Process p = inst.Start(L"Tavimbra.exe");
  // The launcher starts hidden: its window exists but is not shown.
  HWND w = WaitForTopWindow(p.Id(), kLauncherClass);
  ASSERT_NE(w, nullptr) << "no window";
  EXPECT_FALSE(IsWindowVisible(w));
  EXPECT_EQ(CloseAndWait(w, p), 0);
}

TEST(Smoke, ProbeRecordsItsCommandLine) {
  Installation inst;
  Process p(ProbeExe(), L"a  \"b c\"", inst.Root());
  EXPECT_EQ(p.Wait(), 0);
  ASSERT_TRUE(inst.WaitForProbe(1));
  auto log = inst.ProbeLog();
  EXPECT_EQ(log[0].commandLine, L"\"" + ProbeExe().wstring() + L"\" a  \"b c\"");
  EXPECT_EQ(fs::path(log[0].currentFolder), inst.Root());
}

}  // namespace
}  // namespace tav::e2e
