// File associations of the tests' own: the user's (HKCU\Software\Classes), no administrator
// rights needed. Tests that make them call TAV_REQUIRE_DISPOSABLE_PROFILE() first.
#pragma once
#include <windows.h>

#include <optional>
#include <string>
#include <vector>

#include "private_prefix.h"

namespace tav::test {

// While it lives, files of type ext open with program ("program" "%1"); the earlier association
// comes back afterwards.
class FileTypeOpensWith {
 public:
  FileTypeOpensWith(const std::wstring& ext, const std::wstring& progId, const std::wstring& program)
      : ext_(ext), progId_(progId) {
    // Windows reads the user's classes first. Wine 8 reads only the machine's, where the test
    // prefix (its own, see private_prefix.h) takes the entry for the moment as well.
    roots_.push_back(HKEY_CURRENT_USER);
    if (UnderWine()) roots_.push_back(HKEY_LOCAL_MACHINE);
    for (HKEY root : roots_) {
      Saved s;
      s.root = root;
      s.had = Read(root, Classes(ext_), s.value);
      saved_.push_back(s);
      Set(root, Classes(progId_ + L"\\shell\\open\\command"), L"\"" + program + L"\" \"%1\"");
      Set(root, Classes(ext_), progId_);
    }
  }
  ~FileTypeOpensWith() {
    for (const Saved& s : saved_) {
      RegDeleteTreeW(s.root, Classes(progId_).c_str());
      if (s.had)
        Set(s.root, Classes(ext_), s.value);
      else
        RegDeleteTreeW(s.root, Classes(ext_).c_str());
    }
  }
  FileTypeOpensWith(const FileTypeOpensWith&) = delete;
  FileTypeOpensWith& operator=(const FileTypeOpensWith&) = delete;

 private:
  struct Saved {
    HKEY root = nullptr;
    bool had = false;
    std::wstring value;
  };
  static std::wstring Classes(const std::wstring& key) { return L"Software\\Classes\\" + key; }
  static bool Read(HKEY root, const std::wstring& key, std::wstring& value) {
    wchar_t buf[256] = {};
    DWORD size = sizeof buf;
    if (RegGetValueW(root, key.c_str(), nullptr, RRF_RT_REG_SZ, nullptr, buf, &size) != ERROR_SUCCESS) return false;
    value = buf;
    return true;
  }
  static void Set(HKEY root, const std::wstring& key, const std::wstring& value) {
    RegSetKeyValueW(root, key.c_str(), nullptr, REG_SZ, value.c_str(),
                    static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
  }
  std::wstring ext_, progId_;
  std::vector<HKEY> roots_;
  std::vector<Saved> saved_;
};

// Why a class of the test's own cannot decide how files of type ext open here: on Windows the
// user's choice (made at the first sign-in for .html) is kept, hash-protected, under the
// Explorer's FileExts\<ext>\UserChoice and wins over any class a program writes.
inline std::optional<std::string> WhyTheUserChoiceDecides(const std::wstring& ext) {
  if (UnderWine()) return std::nullopt;
  const std::wstring key = L"Software\\Microsoft\\Windows\\CurrentVersion\\Explorer\\FileExts\\" + ext + L"\\UserChoice";
  HKEY k = nullptr;
  if (RegOpenKeyExW(HKEY_CURRENT_USER, key.c_str(), 0, KEY_READ, &k) != ERROR_SUCCESS) return std::nullopt;
  RegCloseKey(k);
  return "the user's own choice for this file type (UserChoice) decides which program opens it, over any class a "
         "test writes";
}

// While it lives, .html files open with program: the default browser, as far as the lookup sees.
class HtmlOpensWith : public FileTypeOpensWith {
 public:
  explicit HtmlOpensWith(const std::wstring& program) : FileTypeOpensWith(L".html", L"TavimsetTest.html", program) {}
};

}  // namespace tav::test

// After TAV_REQUIRE_DISPOSABLE_PROFILE() in a test that makes .html open with a program of its own.
#define TAV_REQUIRE_OWN_HTML_ASSOCIATION()                                          \
  do {                                                                              \
    if (auto tav_why_ = ::tav::test::WhyTheUserChoiceDecides(L".html"))             \
      TAV_SKIP_UNSUPPORTED() << *tav_why_;                                          \
  } while (0)
