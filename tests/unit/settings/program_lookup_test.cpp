#include <gtest/gtest.h>

#include "program_lookup.h"
#include "recording_dialogs.h"
#include "text_encoding.h"

namespace tav::settings {
namespace {

class FakePlatform : public LookupPlatform {
 public:
  AssociationResult answer{42, u"C:\\browser\\b.exe"};
  bool writeFails = false;
  std::vector<std::u16string> calls;
  std::string written;
  AssociationResult AssociatedProgram(const std::u16string& file, const std::u16string& folder) override {
    calls.push_back(u"find " + file + u" in [" + folder + u"]");
    return answer;
  }
  FileStatus WriteProbe(const std::u16string& path, std::string_view bytes) override {
    calls.push_back(u"write " + path);
    written = std::string(bytes);
    return writeFails ? FileStatus::Failed(u"read-only folder") : FileStatus::Ok();
  }
  void RemoveFile(const std::u16string& path) override { calls.push_back(u"delete " + path); }
};

TEST(ProgramLookup, FiveValuesHaveMessagesAndNoOtherDoes) {
  struct Case {
    long long value;
    const char16_t* message;
  };
  const Case cases[] = {
      {0, u"メモリ不足です"},
      {2, u"ファイルが見つかりません"},
      {3, u"パスが見つかりません"},
      {11, u"ファイルが無効です"},
      {31, u"関連付けられているファイルがありません"},
      {1, nullptr},
      {5, nullptr},
      {32, nullptr},
      {-1, nullptr},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    auto m = LookupFailureMessage(cases[i].value);
    EXPECT_EQ(m.has_value(), cases[i].message != nullptr) << "case " << i;
    if (m && cases[i].message) {
      EXPECT_EQ(*m, cases[i].message) << "case " << i;
    }
  }
}

TEST(ProgramLookup, AutomaticSettingTakesTheBrowserOnlyForHttpColonSlashSlash) {
  struct Case {
    const char16_t* commandLine;
    bool browser;
  };
  const Case cases[] = {
      {u"http://example.com", true}, {u"http://", true},          {u"http:/", false},
      {u"https://example.com", false}, {u"HTTP://example.com", false}, {u"ftp://x", false},
      {u" http://x", false},         {u"C:\\docs\\a.txt", false}, {u"", false},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(AutoSettingUsesBrowser(cases[i].commandLine), cases[i].browser) << "case " << i;
}

TEST(ProgramLookup, AssociationLooksUpTheCommandLineAsItStands) {
  for (long long value : {42LL, 31LL, 5LL}) {
    FakePlatform p;
    p.answer = {value, u"C:\\ed.exe"};
    RecordingDialogs d;
    auto r = AssociationLookup(p, d, u"\"C:\\My Docs\\a.txt\"");
    EXPECT_EQ(p.calls, std::vector<std::u16string>{u"find \"C:\\My Docs\\a.txt\" in []"}) << value;
    EXPECT_EQ(r.has_value(), value == 42) << value;
    EXPECT_EQ(d.log.size(), value == 31 ? 1u : 0u) << value;
  }
}

TEST(ProgramLookup, BrowserProbeIsWrittenThenAlwaysDeleted) {
  for (long long value : {42LL, 2LL, 7LL}) {
    FakePlatform p;
    p.answer = {value, u"C:\\browser\\b.exe"};
    RecordingDialogs d;
    auto r = BrowserLookup(p, d, u"C:\\T");
    EXPECT_EQ(p.calls, (std::vector<std::u16string>{u"write C:\\T\\browser.html",
                                                     u"find C:\\T\\browser.html in [C:\\T]",
                                                     u"delete C:\\T\\browser.html"}))
        << value;
    EXPECT_EQ(p.written, ToAnsi(u"このファイルは削除してください\r\n"));
    EXPECT_EQ(r.has_value(), value == 42) << value;
    if (r) {
      EXPECT_EQ(*r, u"C:\\browser\\b.exe");
    }
    EXPECT_EQ(d.log, value == 2 ? std::vector<std::u16string>{u"msg:ファイルが見つかりません"}
                                : std::vector<std::u16string>{})
        << value;
  }
}

// A probe that was refused (a link, a folder) is what the user has there: it is not deleted.
TEST(ProgramLookup, ProbeThatCannotBeWrittenIsReportedNotLookedUpAndNotDeleted) {
  FakePlatform p;
  p.writeFails = true;
  RecordingDialogs d;
  EXPECT_FALSE(BrowserLookup(p, d, u"C:\\T\\").has_value());
  EXPECT_EQ(p.calls, (std::vector<std::u16string>{u"write C:\\T\\browser.html"}));
  ASSERT_EQ(d.log.size(), 1u);
  EXPECT_NE(d.log[0].find(u"C:\\T\\browser.html"), std::u16string::npos);
  EXPECT_NE(d.log[0].find(u"read-only folder"), std::u16string::npos);
}

}  // namespace
}  // namespace tav::settings
