// A file association of the tests' own, for the default-browser lookup.
#pragma once
#include <windows.h>

#include <string>

namespace tav::test {

// While it lives, .html files open with program (in the test prefix's registry).
class HtmlOpensWith {
 public:
  explicit HtmlOpensWith(const std::wstring& program) {
    const std::wstring command = L"\"" + program + L"\" \"%1\"";
    // The user's own classes win on Windows; Wine 8 looks only at the machine's, which get our
    // entry for the moment and their own value back afterwards.
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE}) {
      Set(root, L"Software\\Classes\\TavimsetTest.html\\shell\\open\\command", command);
      Set(root, L"Software\\Classes\\.html", L"TavimsetTest.html");
    }
  }
  ~HtmlOpensWith() {
    RegDeleteTreeW(HKEY_CURRENT_USER, L"Software\\Classes\\.html");
    for (HKEY root : {HKEY_CURRENT_USER, HKEY_LOCAL_MACHINE})
      RegDeleteTreeW(root, L"Software\\Classes\\TavimsetTest.html");
    if (hadMachineType_)
      Set(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.html", machineType_);
    else
      RegDeleteKeyValueW(HKEY_LOCAL_MACHINE, L"Software\\Classes\\.html", nullptr);
  }
  HtmlOpensWith(const HtmlOpensWith&) = delete;
  HtmlOpensWith& operator=(const HtmlOpensWith&) = delete;

 private:
  void Set(HKEY root, const std::wstring& key, const std::wstring& value) {
    HKEY k = nullptr;
    if (RegCreateKeyExW(root, key.c_str(), 0, nullptr, 0, KEY_READ | KEY_WRITE, nullptr, &k, nullptr) != ERROR_SUCCESS)
      return;
    if (root == HKEY_LOCAL_MACHINE && key.ends_with(L".html") && !saved_) {
      wchar_t old[256] = {};
      DWORD size = sizeof old - sizeof(wchar_t);
      hadMachineType_ = RegQueryValueExW(k, nullptr, nullptr, nullptr, reinterpret_cast<BYTE*>(old), &size) ==
                        ERROR_SUCCESS;
      machineType_ = old;
      saved_ = true;
    }
    RegSetValueExW(k, nullptr, 0, REG_SZ, reinterpret_cast<const BYTE*>(value.c_str()),
                   static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
    RegCloseKey(k);
  }
  bool saved_ = false, hadMachineType_ = false;
  std::wstring machineType_;
};

}  // namespace tav::test
