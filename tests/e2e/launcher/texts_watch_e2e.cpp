// New command files join completion without a refresh: written by another program, registered
// through Tavimset, removed, or in a texts\ that appears or is replaced while the launcher runs;
// a burst of files gathered into few rebuilds, and none while the window is shown.
#include <windows.h>

#include <gtest/gtest.h>

#include <chrono>
#include <functional>
#include <cstdio>
#include <string>
#include <thread>

#include "driver.h"
#include "launcher/running_launcher.h"
#include "registration_controls.h"
#include "settings/dialogs_helpers.h"

namespace tav::e2e {
namespace {

using namespace std::chrono_literals;

// The launcher window's properties that tell what its watch of texts\ did.
constexpr wchar_t kChangePending[] = L"TavimbraChangePending";
constexpr wchar_t kListRebuilds[] = L"TavimbraListRebuilds";
// How long changes are gathered at most, and how long the folder must be quiet, in the launcher.
constexpr auto kLongestWait = 2000ms;
constexpr auto kQuiet = 200ms;

std::string Narrow(const std::wstring& w) { return ToUtf8(U(w.c_str())); }

UINT_PTR Prop(HWND form, const wchar_t* name) { return reinterpret_cast<UINT_PTR>(GetPropW(form, name)); }
bool Pending(HWND form) { return Prop(form, kChangePending) != 0; }
UINT_PTR Rebuilds(HWND form) { return Prop(form, kListRebuilds); }

// A change has been seen and the rebuild it caused is done.
bool WaitRebuilt(HWND form, UINT_PTR atLeast = 1, std::chrono::milliseconds within = 15s) {
  return WaitUntil([&] { return Rebuilds(form) >= atLeast && !Pending(form); }, within);
}

// Summoned, text typed, and what the box then shows; hidden again.
std::wstring TypedAtNextSummon(RunningLauncher& l, const std::wstring& typed) {
  l.other.Activate();
  if (!l.Summon()) return L"<no summon>";
  TypeText(typed);
  l.KeysHandled();
  std::wstring text = l.Text();
  l.Escape();
  return text;
}

TEST(TextsWatch, ChangesReachCompletionAtTheNextSummonWithoutARefresh) {
  struct Case {
    const char* what;
    std::function<void(Installation&)> before, change;
    const wchar_t* typed;
    const wchar_t* shown;
  };
  const Case cases[] = {
      {"a file written by another program", nullptr,
       [](Installation& i) { i.WriteCommand(L"zebra", L"x"); }, L"ze", L"zebra"},
      {"a file removed", [](Installation& i) { i.WriteCommand(L"zebra", L"x"); },
       [](Installation& i) { fs::remove(i.Texts() / "zebra.txt"); }, L"ze", L"ze"},
      {"a file renamed", [](Installation& i) { i.WriteCommand(L"zebra", L"x"); },
       [](Installation& i) { fs::rename(i.Texts() / "zebra.txt", i.Texts() / "yak.txt"); }, L"y", L"yak"},
      {"texts\\ missing at start, then moved in with a file", [](Installation& i) { fs::remove_all(i.Texts()); },
       [](Installation& i) {
         fs::create_directories(i.Root() / "texts-new");
         i.WriteRaw("texts-new\\zebra.txt", "x\r\n");
         fs::rename(i.Root() / "texts-new", i.Texts());
       },
       L"ze", L"zebra"},
      {"texts\\ replaced by another folder", [](Installation& i) { i.WriteCommand(L"memo", L"x"); },
       [](Installation& i) {
         fs::create_directories(i.Root() / "texts-new");
         i.WriteRaw("texts-new\\zebra.txt", "x\r\n");
         fs::rename(i.Texts(), i.Root() / "texts-old");
         fs::rename(i.Root() / "texts-new", i.Texts());
       },
       L"ze", L"zebra"},
  };
  for (const Case& c : cases) {
    Installation inst;
    if (c.before) c.before(inst);
    RunningLauncher l(inst);
    ASSERT_TRUE(l.started) << c.what;
    c.change(inst);
    if (!WaitRebuilt(l.form)) {
      ADD_FAILURE() << c.what << ": not rebuilt; rebuilds " << Rebuilds(l.form) << ", pending " << Pending(l.form);
      continue;
    }
    EXPECT_EQ(TypedAtNextSummon(l, c.typed), c.shown) << c.what;
    // And texts\ as it now stands is watched on.
    const UINT_PTR before = Rebuilds(l.form);
    inst.WriteCommand(L"walrus", L"x");
    if (!WaitRebuilt(l.form, before + 1)) {
      ADD_FAILURE() << c.what << ": a file written afterwards was not seen";
      continue;
    }
    EXPECT_EQ(TypedAtNextSummon(l, L"wa"), L"walrus") << c.what << ", afterwards";
  }
}

// Registered in the settings window while the launcher runs: the two programs never signal each
// other, the file alone carries the name.
TEST(TextsWatch, ANameRegisteredThroughTavimsetCompletesAtTheNextSummon) {
  using enum settings::RegistrationId;
  Installation inst;
  RunningLauncher l(inst);
  ASSERT_TRUE(l.started);
  Running settings = StartForm1(inst);
  ASSERT_NE(settings.form, nullptr);
  SetControlText(settings.form, Text9, L"quokka");
  SetControlText(settings.form, Text10, L"C:\\WINDOWS\\notepad.exe");
  ClickButton(settings.form, Command4);
  HWND box = WaitForMessageBox(settings.process.Id());
  ASSERT_NE(box, nullptr) << "no message after registering";
  EXPECT_EQ(MessageBoxText(box).rfind(L"コマンドが登録されました。", 0), 0u) << Narrow(MessageBoxText(box));
  AnswerMessageBox(box, IDOK);
  EXPECT_EQ(CloseAndWait(settings.form, settings.process), 0);
  ASSERT_TRUE(WaitRebuilt(l.form));
  EXPECT_EQ(TypedAtNextSummon(l, L"quo"), L"quokka");
  EXPECT_EQ(Rebuilds(l.form), 1u) << "one file registered, one rebuild";
}

// A thousand files copied in: gathered into a rebuild per quiet moment at most (each one needs the
// folder quiet a while, or the longest wait over), not one per file.
TEST(TextsWatch, ABurstOfAThousandFilesGivesFewRebuilds) {
  Installation inst;
  RunningLauncher l(inst);
  ASSERT_TRUE(l.started);
  const auto t0 = std::chrono::steady_clock::now();
  for (int i = 0; i < 1000; ++i)
    inst.WriteRaw(fs::path(L"texts") / (L"burst" + std::to_wstring(i) + L"-x.txt"), "x\r\n");
  const auto writing = std::chrono::steady_clock::now() - t0;
  ASSERT_TRUE(WaitRebuilt(l.form, 1, 30s));
  const UINT_PTR rebuilds = Rebuilds(l.form);
  const auto bound = static_cast<UINT_PTR>(writing / kQuiet) + 2;
  std::printf("1000 files written in %lld ms: %llu rebuilds (at most %llu)\n",
              static_cast<long long>(std::chrono::duration_cast<std::chrono::milliseconds>(writing).count()),
              static_cast<unsigned long long>(rebuilds), static_cast<unsigned long long>(bound));
  EXPECT_LE(rebuilds, bound);
  EXPECT_EQ(TypedAtNextSummon(l, L"burst0"), L"burst0-x") << "the first one is in the list";
  EXPECT_EQ(TypedAtNextSummon(l, L"burst999"), L"burst999-x") << "the last one is in the list";
}

// Typing never waits for a rebuild: a change seen while the window is shown is rebuilt only after
// it hides, however long it is shown.
TEST(TextsWatch, NoRebuildWhileShownThenRightAfterHiding) {
  Installation inst;
  RunningLauncher l(inst);
  ASSERT_TRUE(l.started);
  ASSERT_TRUE(l.Summon());
  inst.WriteCommand(L"zebra", L"x");
  ASSERT_TRUE(WaitUntil([&] { return Pending(l.form); })) << "the change was not seen";
  const auto seen = std::chrono::steady_clock::now();
  std::this_thread::sleep_until(seen + kLongestWait + kQuiet + 300ms);  // past every wait of the gathering
  TypeText(L"ze");
  ASSERT_TRUE(l.KeysHandled());
  EXPECT_EQ(l.Text(), L"ze") << "rebuilt while shown";
  EXPECT_EQ(Rebuilds(l.form), 0u);
  EXPECT_TRUE(Pending(l.form));
  l.Escape();
  ASSERT_TRUE(WaitRebuilt(l.form, 1, 5s)) << "no rebuild after hiding";
  EXPECT_EQ(TypedAtNextSummon(l, L"ze"), L"zebra");
}

}  // namespace
}  // namespace tav::e2e
