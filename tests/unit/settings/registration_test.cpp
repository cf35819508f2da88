#include <gtest/gtest.h>

#include <map>
#include <set>

#include "recording_dialogs.h"
#include "registration.h"
#include "text_encoding.h"

namespace tav::settings {
namespace {

// A folder in memory that can be made to fail at one step.
class FakeFiles : public CommandFiles {
 public:
  enum Fault { kNoFault, kCreateFails, kCreateFailsHalfWritten, kMoveFails, kFolderFails };
  std::set<std::u16string> folders{u"C:\\T\\texts"};
  std::map<std::u16string, std::string> files;
  Fault fault = kNoFault;
  int creates = 0, moves = 0;

  bool FolderExists(const std::u16string& f) override { return folders.count(f) > 0; }
  bool Exists(const std::u16string& p) override { return files.count(p) > 0; }
  FileStatus CreateNew(const std::u16string& p, std::string_view bytes) override {
    ++creates;
    if (files.count(p)) return {FileStatus::kAlreadyExists, {}};
    if (fault == kCreateFails) return FileStatus::Failed(u"disk says no");
    if (fault == kCreateFailsHalfWritten) {
      files[p] = std::string(bytes.substr(0, bytes.size() / 2));
      return FileStatus::Failed(u"disk full");
    }
    files[p] = std::string(bytes);
    return FileStatus::Ok();
  }
  FileStatus MoveReplacing(const std::u16string& from, const std::u16string& to) override {
    ++moves;
    if (fault == kMoveFails) return FileStatus::Failed(u"access denied");
    files[to] = files.at(from);
    files.erase(from);
    return FileStatus::Ok();
  }
  void Remove(const std::u16string& p) override { files.erase(p); }
  FileStatus MakeFolder(const std::u16string& f) override {
    if (fault == kFolderFails) return FileStatus::Failed(u"no folder");
    folders.insert(f);
    return FileStatus::Ok();
  }
  void RemoveFolderIfEmpty(const std::u16string& f) override {
    auto inside = files.lower_bound(f + u"\\");
    if (inside == files.end() || inside->first.rfind(f + u"\\", 0) != 0) folders.erase(f);
  }
};

const std::u16string kFolder = u"C:\\T";
const std::u16string kTexts = u"C:\\T\\texts";
const std::u16string kFile = u"C:\\T\\texts\\notepad.txt";

RegistrationRequest Request(std::u16string n, std::u16string p, std::u16string c, bool qp = false, bool qc = false,
                            bool quit = false) {
  return {std::move(n), std::move(p), std::move(c), qp, qc, quit};
}

TEST(Registration, LineQuotesEachPartWholeWithOneSpaceBetween) {
  struct Case {
    const char16_t *p, *c;
    bool qp, qc;
    const char16_t* line;
  };
  const Case cases[] = {
      {u"C:\\WINDOWS\\notepad.exe", u"", false, false, u"C:\\WINDOWS\\notepad.exe "},
      {u"C:\\WINDOWS\\notepad.exe", u"", true, true, u"\"C:\\WINDOWS\\notepad.exe\" \"\""},
      {u"a.exe", u"b c", true, false, u"\"a.exe\" b c"},
      {u"a.exe", u"b c", false, true, u"a.exe \"b c\""},
      {u"\"a b.exe\"", u"x", true, false, u"\"\"a b.exe\"\" x"},  // nothing stripped: quotes doubled
      {u" a ", u" b ", false, false, u" a   b "},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    EXPECT_EQ(ComposeRegistrationLine(cases[i].p, cases[i].c, cases[i].qp, cases[i].qc), cases[i].line)
        << "case " << i;
}

TEST(Registration, EmptyNameOrProgramStopsWithItsMessageAndTouchesNothing) {
  struct Case {
    RegistrationRequest r;
    const char16_t* message;
  };
  const Case cases[] = {
      {Request(u"", u"a.exe", u"x"), u"msg:コマンドを設定してください"},
      {Request(u"", u"", u""), u"msg:コマンドを設定してください"},
      {Request(u"n", u"", u"x"), u"msg:実行ファイルを設定してください"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    RecordingDialogs d;
    FakeFiles f;
    EXPECT_EQ(RegisterCommand(cases[i].r, kFolder, d, f), RegistrationResult::kNotRegistered) << "case " << i;
    EXPECT_EQ(d.log, std::vector<std::u16string>{cases[i].message}) << "case " << i;
    EXPECT_TRUE(f.files.empty()) << "case " << i;
    EXPECT_EQ(f.creates, 0) << "case " << i;
  }
}

TEST(Registration, NewFileHoldsTheLineAndCrLfAndTheConfirmationQuotesIt) {
  RecordingDialogs d;
  FakeFiles f;
  EXPECT_EQ(RegisterCommand(Request(u"notepad", u"C:\\WINDOWS\\notepad.exe", u""), kFolder, d, f),
            RegistrationResult::kRegistered);
  EXPECT_EQ(f.files, (std::map<std::u16string, std::string>{{kFile, "C:\\WINDOWS\\notepad.exe \r\n"}}));
  EXPECT_EQ(d.log, std::vector<std::u16string>{
                       u"msg:コマンドが登録されました。ファイルの内容は [C:\\WINDOWS\\notepad.exe ]です。"});
}

TEST(Registration, QuitAfterOnlyWhenAsked) {
  for (bool quit : {false, true}) {
    RecordingDialogs d;
    FakeFiles f;
    EXPECT_EQ(RegisterCommand(Request(u"n", u"p", u"c", false, false, quit), kFolder, d, f),
              quit ? RegistrationResult::kQuit : RegistrationResult::kRegistered)
        << quit;
  }
}

TEST(Registration, ExistingFileIsReplacedOnlyAfterYes) {
  const std::u16string question =
      u"ask:C:\\T\\texts\\notepad.txtは既に存在しています。\r\n既存のファイルを削除しますか?";
  for (bool yes : {false, true}) {
    RecordingDialogs d;
    d.answers = {yes};
    FakeFiles f;
    f.files[kFile] = "old\r\n";
    RegistrationResult r = RegisterCommand(Request(u"notepad", u"new.exe", u"x", true, false), kFolder, d, f);
    if (yes) {
      EXPECT_EQ(r, RegistrationResult::kRegistered);
      EXPECT_EQ(f.files, (std::map<std::u16string, std::string>{{kFile, "\"new.exe\" x\r\n"}}));
      EXPECT_EQ(d.log, (std::vector<std::u16string>{
                           question, u"msg:コマンドが登録されました。ファイルの内容は [\"new.exe\" x]です。"}));
    } else {
      EXPECT_EQ(r, RegistrationResult::kNotRegistered);
      EXPECT_EQ(f.files, (std::map<std::u16string, std::string>{{kFile, "old\r\n"}}));
      EXPECT_EQ(d.log, std::vector<std::u16string>{question});
      EXPECT_EQ(f.creates, 0);
    }
  }
}

TEST(Registration, EveryFailingStepKeepsTheOldContentAndNamesTheFile) {
  const FakeFiles::Fault faults[] = {FakeFiles::kCreateFails, FakeFiles::kCreateFailsHalfWritten,
                                     FakeFiles::kMoveFails, FakeFiles::kFolderFails};
  for (bool existed : {true, false}) {
    for (std::size_t i = 0; i < std::size(faults); ++i) {
      RecordingDialogs d;
      d.answers = {true};
      FakeFiles f;
      f.fault = faults[i];
      if (existed) f.files[kFile] = "old\r\n";
      EXPECT_EQ(RegisterCommand(Request(u"notepad", u"new.exe", u""), kFolder, d, f),
                RegistrationResult::kNotRegistered)
          << "case " << i << " existed " << existed;
      // Nothing half-written anywhere: only the old file, untouched.
      const std::map<std::u16string, std::string> before =
          existed ? std::map<std::u16string, std::string>{{kFile, "old\r\n"}} : std::map<std::u16string, std::string>{};
      EXPECT_EQ(f.files, before) << "case " << i;
      ASSERT_FALSE(d.log.empty());
      const std::u16string& last = d.log.back();
      EXPECT_EQ(last.rfind(u"err:" + kFile + u" に書き込めませんでした。", 0), 0u) << "case " << i;
      EXPECT_NE(last.find(i == 3 ? u"no folder" : i == 2 ? u"access denied" : i == 1 ? u"disk full" : u"disk says no"),
                std::u16string::npos)
          << "case " << i;
      EXPECT_NE(last.find(existed ? u"元の内容のまま" : u"登録されませんでした"), std::u16string::npos)
          << "case " << i;
      // A temporary file that cannot be made is named as such.
      EXPECT_EQ(last.find(TempPathFor(kTexts, 0)) != std::u16string::npos, i < 2) << "case " << i;
      EXPECT_EQ(last.find(TempFolderFor(kTexts) + u" を作成できません") != std::u16string::npos, i == 3) << "case " << i;
      EXPECT_EQ(f.folders, std::set<std::u16string>{kTexts}) << "case " << i;
    }
  }
}

TEST(Registration, TemporaryNameInUseIsSkippedNotOverwritten) {
  FakeFiles f;
  f.files[TempPathFor(kTexts, 0)] = "someone else's";
  f.files[TempPathFor(kTexts, 1)] = "another";
  EXPECT_EQ(SaveCommandFile(f, kTexts, kFile, "line\r\n").kind, FileStatus::kOk);
  EXPECT_EQ(f.files[kFile], "line\r\n");
  EXPECT_EQ(f.files[TempPathFor(kTexts, 0)], "someone else's");
  EXPECT_EQ(f.files[TempPathFor(kTexts, 1)], "another");
  EXPECT_EQ(f.files.size(), 3u);
  EXPECT_EQ(f.folders.count(TempFolderFor(kTexts)), 1u) << "not empty: it stays";
}

// The temporary file lies in a folder of its own inside texts\ (on the command file's volume; the
// launcher lists no folder, and would list a file there as a command), is short whatever the
// name, so every name the name check lets through can be saved, and its folder goes afterwards.
TEST(Registration, TemporaryFileIsShortAndInAFolderOfItsOwnInTexts) {
  for (std::size_t length : {1u, 245u, 251u}) {
    RecordingDialogs d;
    std::u16string name(length, u'a');
    std::vector<std::u16string> created;
    struct Spy : FakeFiles {
      std::vector<std::u16string>* seen;
      FileStatus CreateNew(const std::u16string& p, std::string_view b) override {
        seen->push_back(p);
        return FakeFiles::CreateNew(p, b);
      }
    } spy;
    spy.seen = &created;
    EXPECT_EQ(RegisterCommand(Request(name, u"a.exe", u""), kFolder, d, spy), RegistrationResult::kRegistered)
        << length;
    ASSERT_EQ(created.size(), 1u) << length;
    EXPECT_EQ(created[0].rfind(u"C:\\T\\texts\\tavimset-temp\\", 0), 0u) << ToUtf8(created[0]);
    EXPECT_LE(created[0].size() - kTexts.size(), 40u) << ToUtf8(created[0]);
    EXPECT_EQ(spy.files.count(kFolder + u"\\texts\\" + name + u".txt"), 1u) << length;
    EXPECT_EQ(spy.files.size(), 1u) << length;
    EXPECT_EQ(spy.folders, std::set<std::u16string>{kTexts}) << length;
  }
}

TEST(Registration, MissingTextsFolderIsReportedBeforeAnyQuestion) {
  RecordingDialogs d;
  FakeFiles f;
  f.folders.clear();
  EXPECT_EQ(RegisterCommand(Request(u"n", u"p", u""), kFolder, d, f), RegistrationResult::kNotRegistered);
  ASSERT_EQ(d.log.size(), 1u);
  EXPECT_EQ(d.log[0].rfind(u"err:コマンドを保存するフォルダ C:\\T\\texts がありません。", 0), 0u);
  EXPECT_EQ(f.creates, 0);
}

TEST(Registration, UnusableNameIsRefusedBeforeAnythingIsWritten) {
  const char16_t* names[] = {u"..\\evil", u"a/b", u"c:x", u"what?", u"star*", u"CON", u"nul.x", u"LPT1"};
  for (std::size_t i = 0; i < std::size(names); ++i) {
    RecordingDialogs d;
    FakeFiles f;
    EXPECT_EQ(RegisterCommand(Request(names[i], u"p.exe", u""), kFolder, d, f), RegistrationResult::kNotRegistered)
        << "case " << i;
    ASSERT_EQ(d.log.size(), 1u) << "case " << i;
    EXPECT_EQ(d.log[0].rfind(u"err:", 0), 0u) << "case " << i;
    EXPECT_EQ(f.creates, 0) << "case " << i;
    EXPECT_TRUE(f.files.empty()) << "case " << i;
  }
}

// A line break pasted into either box would make the file two lines, and the launcher would run
// only the second: refused, naming the box, before the replace question, the old file untouched.
TEST(Registration, LineBreakInProgramOrCommandLineIsRefused) {
  struct Case {
    const char16_t *p, *c;
    const char16_t* box;
  };
  const Case cases[] = {
      {u"C:\\a.exe\r\nC:\\b.exe", u"x", u"err:実行ファイルに改行"},
      {u"a.exe\n", u"", u"err:実行ファイルに改行"},
      {u"\ra.exe", u"", u"err:実行ファイルに改行"},
      {u"a.exe", u"C:\\x.txt\r\nC:\\y.txt", u"err:コマンドラインに改行"},
      {u"a.exe", u"x\n", u"err:コマンドラインに改行"},
      {u"a.exe", u"\r", u"err:コマンドラインに改行"},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i)
    for (bool quoted : {false, true}) {
      RecordingDialogs d;
      d.answers = {true};
      FakeFiles f;
      f.files[kFile] = "old.exe \r\n";
      EXPECT_EQ(RegisterCommand(Request(u"notepad", cases[i].p, cases[i].c, quoted, quoted), kFolder, d, f),
                RegistrationResult::kNotRegistered)
          << "case " << i;
      ASSERT_EQ(d.log.size(), 1u) << "case " << i;
      EXPECT_EQ(d.log[0].rfind(cases[i].box, 0), 0u) << "case " << i << ": " << ToUtf8(d.log[0]);
      EXPECT_NE(d.log[0].find(u"登録されませんでした"), std::u16string::npos) << "case " << i;
      EXPECT_EQ(f.files, (std::map<std::u16string, std::string>{{kFile, "old.exe \r\n"}})) << "case " << i;
      EXPECT_EQ(f.creates, 0) << "case " << i;
    }
  // A tab is no line end: it stays in the line.
  RecordingDialogs d;
  FakeFiles f;
  EXPECT_EQ(RegisterCommand(Request(u"notepad", u"a.exe", u"x\ty"), kFolder, d, f), RegistrationResult::kRegistered);
  EXPECT_EQ(f.files.at(kFile), "a.exe x\ty\r\n");
}

TEST(Registration, NameIsUsedExactlyAsTyped) {
  const char16_t* names[] = {u"メモ帳", u"my memo", u"memo ", u"Memo."};
  for (std::size_t i = 0; i < std::size(names); ++i) {
    RecordingDialogs d;
    FakeFiles f;
    EXPECT_EQ(RegisterCommand(Request(names[i], u"p.exe", u""), kFolder, d, f), RegistrationResult::kRegistered)
        << "case " << i;
    EXPECT_EQ(f.files.count(u"C:\\T\\texts\\" + std::u16string(names[i]) + u".txt"), 1u) << "case " << i;
  }
}
}  // namespace
}  // namespace tav::settings
