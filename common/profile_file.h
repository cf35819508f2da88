// One section of an initialisation file ("key=value" lines below "[section]").
#pragma once
#include <cstddef>
#include <memory>
#include <string>
#include <string_view>
#include <utility>

namespace tav {

class ProfileFile {
 public:
  virtual ~ProfileFile() = default;
  // The key's value, or def when the file, section or key is missing. The result takes at
  // most bufferBytes - 1 bytes in the ANSI code page (never half a character).
  virtual std::u16string ReadString(std::u16string_view key, std::u16string_view def, std::size_t bufferBytes) = 0;
  // The number at the start of the value; 0 when there is none (an empty value included);
  // def when the file, section or key is missing.
  virtual int ReadInt(std::u16string_view key, int def) = 0;
  // Creates the file (not its folder), the section and the key as needed.
  virtual bool WriteString(std::u16string_view key, std::u16string_view value) = 0;
};

// What both backends hold: the file and the section they read and write.
class ProfileFileAt : public ProfileFile {
 public:
  ProfileFileAt(std::u16string path, std::u16string section) : path_(std::move(path)), section_(std::move(section)) {}

 protected:
  std::u16string path_;
  std::u16string section_;
};

// Integer reading shared by both backends: optional blanks and sign, an optional 0x/0o/0b prefix,
// then digits; 32-bit wrap-around, like the platform's reader.
int ParseProfileInt(std::u16string_view value);

// Our own reader and writer of the format (used natively; checked against the platform under Wine).
std::unique_ptr<ProfileFile> OpenPortableProfile(std::u16string path, std::u16string section);
#ifdef _WIN32
// The platform's private-profile functions.
std::unique_ptr<ProfileFile> OpenWin32Profile(std::u16string path, std::u16string section);
#endif

inline constexpr std::u16string_view kSettingsSection = u"tavimbra";

}  // namespace tav
