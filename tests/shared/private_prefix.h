// Where the Windows-side tests may run, and what they may touch there.
//
// Under Wine they run only inside a private prefix made by the test scripts (marked with
// .tav-ready), never in someone's everyday prefix. On Windows every test runs as an ordinary
// user, except those that change the signed-in user's Start-up or Send To folder, file
// associations or stored environment: those run only in a throwaway profile (a disposable VM
// or CI runner) that says so with TAV_DISPOSABLE_PROFILE=1, and skip elsewhere.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tav::test {

inline bool UnderWine() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  return ntdll && GetProcAddress(ntdll, "wine_get_version");
}

// Under Wine: why this is not the scripts' private prefix; nothing when it is.
inline std::optional<std::string> WhyNotAPrivateTestPrefix() {
  wchar_t prefix[MAX_PATH * 2] = {};
  DWORD n = GetEnvironmentVariableW(L"WINEPREFIX", prefix, MAX_PATH * 2);
  if (!n || n >= MAX_PATH * 2) return "WINEPREFIX is not set: run the tests through scripts/test.sh";
  std::wstring marker = L"Z:" + std::wstring(prefix) + L"/.tav-ready";
  for (wchar_t& c : marker)
    if (c == L'/') c = L'\\';
  if (GetFileAttributesW(marker.c_str()) == INVALID_FILE_ATTRIBUTES)
    return "the Wine prefix is not one the test scripts made (no .tav-ready): run the tests through scripts/test.sh";
  return std::nullopt;
}

// Why the user's folders, associations and stored environment may not be changed here.
inline std::optional<std::string> WhyNotADisposableProfile() {
  if (UnderWine()) return WhyNotAPrivateTestPrefix();
  wchar_t v[8] = {};
  if (GetEnvironmentVariableW(L"TAV_DISPOSABLE_PROFILE", v, 8) == 1 && v[0] == L'1') return std::nullopt;
  return "this test changes the signed-in user's Start-up/Send To folders, file associations or stored "
         "environment; it runs only in a throwaway profile that sets TAV_DISPOSABLE_PROFILE=1";
}

// Registered once per test program: under Wine, a fatal failure here skips every test and fails
// the run when the prefix is not the scripts' own. On Windows each test that needs it asks.
class PrivateTestPrefix : public ::testing::Environment {
 public:
  void SetUp() override {
    if (!UnderWine()) return;
    if (auto why = WhyNotAPrivateTestPrefix()) FAIL() << *why;
  }
};

}  // namespace tav::test

// The message of a skip the test scripts accept: the platform really cannot do what the test
// needs. Any other skip fails the tier.
#define TAV_UNSUPPORTED_HERE "unsupported here: "
#define TAV_SKIP_UNSUPPORTED() GTEST_SKIP() << TAV_UNSUPPORTED_HERE

// First statement of a test that changes the user's Start-up/Send To folders, file associations
// or stored environment. Under Wine only the scripts' private prefix will do, and another fails.
#define TAV_REQUIRE_DISPOSABLE_PROFILE()                                  \
  do {                                                                    \
    if (auto tav_why_ = ::tav::test::WhyNotADisposableProfile()) {       \
      if (::tav::test::UnderWine()) FAIL() << *tav_why_;                  \
      TAV_SKIP_UNSUPPORTED() << *tav_why_;                                \
    }                                                                     \
  } while (0)

// First statement of a test that needs the Japanese system code page (932). The test scripts run
// Wine in a Japanese locale, so there another code page fails the run; on Windows the test skips
// with the reason (the system locale is changed in the Control Panel's Region settings, with
// administrator rights and a restart).
#define TAV_REQUIRE_CODE_PAGE_932()                                                                        \
  do {                                                                                                     \
    if (GetACP() == 932) break;                                                                            \
    if (::tav::test::UnderWine()) FAIL() << "ANSI code page is " << GetACP() << ", not 932 (run with LANG=ja_JP.UTF-8)"; \
    TAV_SKIP_UNSUPPORTED() << "needs the Japanese system code page 932; this system uses " << GetACP()        \
                           << " (set the system locale to Japanese: administrator rights and a restart)";  \
  } while (0)

// First statement of a test that holds only under Wine (its name says WineOnly too).
#define TAV_WINE_ONLY(reason)                                                       \
  do {                                                                              \
    if (!::tav::test::UnderWine()) TAV_SKIP_UNSUPPORTED() << "Wine only: " << reason; \
  } while (0)
