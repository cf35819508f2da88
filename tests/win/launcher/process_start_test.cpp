// The launcher's start through the shell, against fakes of ShellExecuteExW and of the foreground:
// what the shell is asked, and which window owns its prompt.
#include <windows.h>
#include <shellapi.h>

#include <gtest/gtest.h>

#include <optional>

#include "desktop_window_win32.h"
#include "process_start_win32.h"
#include "text_encoding.h"
#include "window_win32.h"

namespace tav {
namespace {

// A top-level window of a test, destroyed at the end.
struct TestWindow {
  HWND hwnd = nullptr;
  TestWindow(const wchar_t* cls, const wchar_t* title, bool visible) {
    WNDCLASSW wc{};
    wc.lpfnWndProc = DefWindowProcW;
    wc.hInstance = GetModuleHandleW(nullptr);
    wc.lpszClassName = cls;
    RegisterClassW(&wc);  // a second registration of the same class fails harmlessly
    hwnd = CreateWindowExW(0, cls, title, WS_OVERLAPPEDWINDOW | (visible ? WS_VISIBLE : 0), 10, 10, 200, 100,
                           nullptr, nullptr, wc.hInstance, nullptr);
  }
  ~TestWindow() {
    if (hwnd) DestroyWindow(hwnd);
  }
};

// Enter and Esc hand the foreground to the desktop's shell window (class Progman, "Program
// Manager"), never to an application window whose title begins with "Program", nor to a hidden
// or otherwise titled Progman window; without a shell window nothing is activated. On Windows
// GetShellWindow finds the real one first, and a test's stand-in is never chosen.
TEST(DesktopHandOver, ActivatesOnlyTheDesktopShellWindow) {
  const HWND realShell = GetShellWindow();
  TestWindow folder(L"CabinetWClass", L"Program Files", true);
  TestWindow hidden(L"Progman", L"Program Manager", false), otherShell(L"Progman", L"Other shell", true);
  for (bool withDesktop : {false, true}) {
    std::optional<TestWindow> desktop;
    if (withDesktop) desktop.emplace(L"Progman", L"Program Manager", true);
    const HWND expected = realShell ? realShell : desktop ? desktop->hwnd : nullptr;
    DesktopHandOver handOver;
    EXPECT_EQ(handOver.Activate(), expected != nullptr) << withDesktop;
    EXPECT_EQ(handOver.HandedTo(), expected) << withDesktop;
    handOver.Await();
    if (expected) EXPECT_EQ(GetForegroundWindow(), expected) << withDesktop;
  }
}

struct Seen {
  int calls = 0;
  SHELLEXECUTEINFOW info{};
  std::u16string verb, file, parameters, folder;
};

ShellCalls Recording(Seen& seen, HWND& foreground, DWORD error) {
  ShellCalls calls;
  calls.foreground = [&foreground] { return foreground; };
  calls.execute = [&seen, error](SHELLEXECUTEINFOW* info) {
    ++seen.calls;
    seen.info = *info;
    seen.verb = info->lpVerb ? U(info->lpVerb) : u"<none>";
    seen.file = info->lpFile ? U(info->lpFile) : u"<none>";
    seen.parameters = info->lpParameters ? U(info->lpParameters) : u"<none>";
    seen.folder = info->lpDirectory ? U(info->lpDirectory) : u"<none>";
    SetLastError(error);
    return error == 0 ? TRUE : FALSE;
  };
  return calls;
}

TEST(ProcessStart, ThePromptsOwnerIsAWindowInFrontNeverTheHiddenLauncher) {
  TestWindow launcher(L"TavTestLauncher", L"", false);
  TestWindow work(L"TavTestWork", L"the user's work", true);
  TestWindow otherHidden(L"TavTestWork", L"hidden", false);
  TestWindow progman(L"Progman", L"Program Manager", true);
  HWND gone = TestWindow(L"TavTestWork", L"gone", true).hwnd;  // destroyed already
  ASSERT_TRUE(launcher.hwnd && work.hwnd && otherHidden.hwnd && progman.hwnd && gone);

  const std::u16string folder = u"C:\\Tavimbra\\";
  UserEnvironment environment;
  DesktopHandOver desktop;
  // The desktop's shell window, as Enter hands it the foreground (on Windows the real one).
  ASSERT_TRUE(desktop.Activate());
  const HWND handedTo = desktop.HandedTo();
  ASSERT_TRUE(IsWindowVisible(handedTo));

  struct Case {
    HWND foreground, owner;
  } cases[] = {
      {work.hwnd, work.hwnd},  // the user went on working while the program did not start
      {handedTo, handedTo},
      {launcher.hwnd, handedTo},
      {otherHidden.hwnd, handedTo},
      {nullptr, handedTo},  // the foreground is in passage
      {gone, handedTo},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Seen seen;
    HWND foreground = cases[i].foreground;
    LauncherProcessStart start(folder, environment, desktop, Recording(seen, foreground, 0));
    start.SetWindow(launcher.hwnd);
    // The fallback and Ctrl+Shift+Enter alike.
    const StartAs as = i % 2 ? StartAs::administrator : StartAs::usual;
    EXPECT_EQ(start.StartThroughShell(u"C:\\a b\\admin.exe", u"/x", as), 0u) << "case " << i;
    ASSERT_EQ(seen.calls, 1) << "case " << i;
    EXPECT_EQ(seen.info.hwnd, cases[i].owner) << "case " << i;
  }
}

TEST(ProcessStart, TheShellIsAskedForTheProgramInTheInstallationFolder) {
  constexpr StartAs usual = StartAs::usual, admin = StartAs::administrator;
  const std::u16string folder = u"C:\\Tavimbra\\";
  UserEnvironment environment;
  DesktopHandOver desktop;
  struct Case {
    StartAs as;
    const char16_t *program, *parameters, *passed, *verb;
    DWORD error;
  } cases[] = {
      // The elevation fallback: the default action runs a program, asking when it requires it.
      {usual, u"C:\\a b\\admin.exe", u"/x \"y z\"", u"/x \"y z\"", u"<none>", 0},
      {usual, u"admin.exe", u"/q", u"/q", u"<none>", ProcessStart::kCancelled},  // refused: the caller decides
      // Ctrl+Shift+Enter: "runas" always asks.
      {admin, u"C:\\a b\\tool.exe", u"/x \"y z\"", u"/x \"y z\"", u"runas", 0},
      {admin, u"cmd.exe", u"", u"<none>", u"runas", 0},
      {admin, u"nothing.exe", u"/k", u"/k", u"runas", ERROR_FILE_NOT_FOUND},
  };
  for (std::size_t i = 0; i < std::size(cases); ++i) {
    Seen seen;
    HWND foreground = nullptr;
    LauncherProcessStart start(folder, environment, desktop, Recording(seen, foreground, cases[i].error));
    EXPECT_EQ(start.StartThroughShell(cases[i].program, cases[i].parameters, cases[i].as), cases[i].error)
        << "case " << i;
    ASSERT_EQ(seen.calls, 1) << "case " << i;
    EXPECT_EQ(seen.verb, cases[i].verb) << "case " << i;
    EXPECT_EQ(seen.file, cases[i].program) << "case " << i;
    EXPECT_EQ(seen.parameters, cases[i].passed) << "case " << i;
    EXPECT_EQ(seen.folder, folder) << "case " << i;
    EXPECT_EQ(seen.info.nShow, SW_SHOWNORMAL) << "case " << i;
    EXPECT_NE(seen.info.fMask & SEE_MASK_FLAG_NO_UI, 0u) << "case " << i;  // failures in the launcher's words
  }
}

}  // namespace
}  // namespace tav
