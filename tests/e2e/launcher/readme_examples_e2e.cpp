// An example line of the README's command tables run as written, the probe standing in for its
// program: a program named relative to the installation folder is found there. (Every row's
// command line: launcher_sequences_test.cpp.)
#include <windows.h>

#include <gtest/gtest.h>

#include <algorithm>

#include "driver.h"
#include "launcher/running_launcher.h"
#include "readme_examples.h"
#include "temp_dir.h"

namespace tav::e2e {
namespace {

TEST(ReadmeExamples, AnExampleLineRunsFromTheInstallationFolder) {
  const auto examples = test::ReadmeExamples(DistFolder().parent_path().parent_path() / "README.md");
  const auto web = std::find_if(examples.begin(), examples.end(), [](const auto& e) { return e.file == u"web.txt"; });
  ASSERT_NE(web, examples.end()) << "the README's example tables were not found";
  Installation inst;
  const std::u16string program = web->line.substr(0, web->line.find(u' '));
  fs::copy_file(ProbeExe(), inst.Root() / test::PathOf(program), fs::copy_options::overwrite_existing);
  inst.WriteCommand(L"web", W(web->line));
  RunningLauncher l(inst);
  ASSERT_TRUE(l.Summon());
  TypeText(W(web->typed));
  SendKey(VK_RETURN);
  ASSERT_TRUE(inst.WaitForProbe(1)) << "nothing started";
  const std::u16string got = U(inst.ProbeLog().back().commandLine.c_str());
  EXPECT_EQ(got.rfind(program + u" ", 0), 0u) << ToUtf8(got);
  EXPECT_NE(got.find(web->runs), std::u16string::npos) << ToUtf8(got) << " lacks " << ToUtf8(web->runs);
}

}  // namespace
}  // namespace tav::e2e
