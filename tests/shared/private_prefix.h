// Tests that save settings or make shortcuts touch the current user's Start-up and Send To
// folders. They run only inside a private Wine prefix made by the test scripts (which mark it
// with .tav-ready), never on someone's own Windows account or everyday prefix.
#pragma once
#include <windows.h>

#include <gtest/gtest.h>

#include <optional>
#include <string>

namespace tav::test {

inline std::optional<std::string> WhyNotAPrivateTestPrefix() {
  HMODULE ntdll = GetModuleHandleW(L"ntdll.dll");
  if (!ntdll || !GetProcAddress(ntdll, "wine_get_version"))
    return "not running under Wine: these tests would change the signed-in user's Start-up and Send To folders";
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

// Registered once per test program: a fatal failure here skips every test and fails the run.
class PrivateTestPrefix : public ::testing::Environment {
 public:
  void SetUp() override {
    if (auto why = WhyNotAPrivateTestPrefix()) FAIL() << *why;
  }
};

}  // namespace tav::test
