#include <gtest/gtest.h>

#include <map>
#include <set>

#include "command_name.h"
#include "registration.h"
#include "text_encoding.h"

namespace tav::settings {
namespace {

const std::u16string kFolder = u"C:\\T";

// Dialog answers "yes" to everything, so only the name decides what happens.
struct YesDialogs final : Dialogs {
  std::vector<std::u16string> errors;
  void Message(const std::u16string&) override {}
  void Error(const std::u16string& t) override { errors.push_back(t); }
  bool AskYesNo(const std::u16string&) override { return true; }
};

// Every path the registration hands to the file system, recorded.
struct PathRecorder final : CommandFiles {
  std::set<std::u16string> touched;
  std::map<std::u16string, std::string> files;
  bool FolderExists(const std::u16string& f) override { return f == u"C:\\T\\texts"; }
  bool Exists(const std::u16string& p) override { return touched.insert(p), files.count(p) > 0; }
  FileStatus CreateNew(const std::u16string& p, std::string_view bytes) override {
    touched.insert(p);
    files[p] = std::string(bytes);
    return FileStatus::Ok();
  }
  FileStatus MoveReplacing(const std::u16string& from, const std::u16string& to) override {
    touched.insert(from), touched.insert(to);
    files[to] = files[from];
    files.erase(from);
    return FileStatus::Ok();
  }
  void Remove(const std::u16string& p) override { touched.insert(p), files.erase(p); }
};

// Names that would reach past texts\ (parent folders, absolute and network paths, devices,
// alternate data streams) are refused before any file is touched; the names that are accepted
// stay one file directly in texts\.
TEST(RegistrationSafety, NoNameReachesOutsideTexts) {
  struct Case {
    std::u16string name;
    bool accepted;
  };
  const Case cases[] = {
      {u"..\\settings\\tavimbra", false},
      {u"..", true},  // the file "...txt" in texts
      {u"...", true},
      {u". .", true},
      {u"../x", false},
      {u"a\\..\\..\\b", false},
      {u"C:\\Windows\\win", false},
      {u"C:win", false},
      {u"\\\\server\\share\\x", false},
      {u"\\\\?\\C:\\x", false},
      {u"\\\\.\\PhysicalDrive0", false},
      {u"/etc/passwd", false},
      {u"memo:stream", false},
      {u"memo::$DATA", false},
      {u"CON", false},
      {u"nul", false},
      {u"AUX.tar", false},
      {u"prn ", false},
      {u"COM1", false},
      {u"lpt9", false},
      {u"COM\u00B2", false},
      {u"CONIN$", false},
      {u"conout$", false},
      {u"memo\nx", false},
      {u"memo*", false},
      {u"my memo", true},
      {u"メモ帳", true},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    const std::u16string& name = cases[i].name;
    YesDialogs d;
    PathRecorder f;
    RegistrationRequest r{name, u"C:\\a.exe", u"x", false, false, false};
    const RegistrationResult result = RegisterCommand(r, kFolder, d, f);
    EXPECT_EQ(result == RegistrationResult::kRegistered, cases[i].accepted) << "case " << i;
    EXPECT_EQ(CheckCommandName(name) == CommandNameProblem::kNone, cases[i].accepted) << "case " << i;
    if (!cases[i].accepted) {
      EXPECT_TRUE(f.touched.empty()) << "case " << i;
      EXPECT_EQ(d.errors.size(), 1u) << "case " << i;
      continue;
    }
    const std::u16string file = u"C:\\T\\texts\\" + name + u".txt";
    EXPECT_EQ(f.files, (std::map<std::u16string, std::string>{{file, "C:\\a.exe x\r\n"}})) << "case " << i;
    for (const auto& p : f.touched) {
      bool temp = false;
      for (int k = 0; k < 100 && !temp; ++k) temp = p == TempPathFor(kFolder + u"\\texts", k);
      EXPECT_TRUE(p == file || temp) << "case " << i << " touched " << ToUtf8(p);
    }
  }
}

}  // namespace
}  // namespace tav::settings
