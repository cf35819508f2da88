#include <windows.h>

#include <vector>

#include "profile_file.h"
#include "text_encoding.h"

namespace tav {
namespace {

// Returned for a missing key; no real value holds it.
constexpr wchar_t kMissing[] = L"\x01\x02missing\x02\x01";

class Win32Profile final : public ProfileFileAt {
 public:
  using ProfileFileAt::ProfileFileAt;

  std::u16string ReadString(std::u16string_view key, std::u16string_view def, std::size_t bufferBytes) override {
    std::u16string value = Raw(key, std::u16string(def));
    return bufferBytes == 0 ? std::u16string() : FitAnsiBytes(value, bufferBytes - 1);
  }

  int ReadInt(std::u16string_view key, int def) override {
    // The platform's integer reader gives the default for an empty value; an empty value reads as 0 here.
    std::u16string v = Raw(key, U(kMissing));
    if (v == U(kMissing)) return def;
    return ParseProfileInt(v);
  }

  bool WriteString(std::u16string_view key, std::u16string_view value) override {
    return WritePrivateProfileStringW(W(section_), W(std::u16string(key)), W(std::u16string(value)), W(path_)) != 0;
  }

 private:
  std::u16string Raw(std::u16string_view key, const std::u16string& def) {
    std::vector<wchar_t> buf(1024);
    for (;;) {
      DWORD n = GetPrivateProfileStringW(W(section_), W(std::u16string(key)), W(def), buf.data(),
                                         static_cast<DWORD>(buf.size()), W(path_));
      if (n + 1 < buf.size() || buf.size() >= (1u << 20)) return U(buf.data(), n);
      buf.resize(buf.size() * 4);
    }
  }
};

}  // namespace

std::unique_ptr<ProfileFile> OpenWin32Profile(std::u16string path, std::u16string section) {
  return std::make_unique<Win32Profile>(std::move(path), std::move(section));
}

}  // namespace tav
