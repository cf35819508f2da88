#include "profile_conformance.h"

namespace tav::test {
INSTANTIATE_TEST_SUITE_P(Portable, ProfileConformance,
                         ::testing::Values(ProfileBackend{"Portable", &OpenPortableProfile}), BackendName);
}  // namespace tav::test

#include "temp_dir.h"

namespace tav::test {
namespace {

// A rewrite keeps every section apart, "[]" included: its keys never join the section above,
// where they would start to count.
TEST(PortableProfile, RewriteKeepsAnEmptySectionHeader) {
  TempDir dir;
  WriteBytes(dir.path() / "s.ini", "[tavimbra]\r\nBack=1\r\n[]\r\nText=2\r\n");
  auto f = OpenPortableProfile(dir.Text("s.ini"), u"tavimbra");
  EXPECT_EQ(f->ReadString(u"Text", u"<def>", 50), u"<def>");
  ASSERT_TRUE(f->WriteString(u"Back", u"3"));
  EXPECT_EQ(f->ReadString(u"Back", u"<def>", 50), u"3");
  EXPECT_EQ(f->ReadString(u"Text", u"<def>", 50), u"<def>");
  EXPECT_EQ(ReadBytes(dir.path() / "s.ini"), "[tavimbra]\r\nBack=3\r\n[]\r\nText=2\r\n");
}

}  // namespace
}  // namespace tav::test
