// The mechanics: the probe started from a fresh installation folder records how it was started.
// (The launcher's hidden start and its end on a close request: launcher_e2e.cpp.)
#include <gtest/gtest.h>

#include "driver.h"

namespace tav::e2e {
namespace {

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
