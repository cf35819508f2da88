// The settings file: any file on disk, then one write. What was written reads back the same,
// every other key of every section reads as before, integers are the value's leading number and
// a short buffer takes the longest prefix that fits without splitting a character.
#include <unistd.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <vector>

#include "file_io.h"
#include "fuzz_target.h"
#include "profile_file.h"
#include "settings.h"
#include "text_encoding.h"

namespace tav::fuzz {
namespace {

constexpr std::u16string_view kAlphabet = u"=[]; \t\r\n\"'aBkK1-x\u3000\u00A0\x1A\u3042";
const std::u16string kKeys[] = {u"Back", u"Text", u"AutoComplete", u"KeepFocus", u"UseSkin", u"key1", u"Key2",
                                u"Font", u"FontSize", u"Bold", u"ITALIC", u"SendTo", u"StartUP", u"a"};

bool IsBlank(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f' || c == 0x1A ||
         c == 0x3000 || c == 0xA0;
}
std::u16string Trimmed(std::u16string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return std::u16string(s);
}
bool SameName(std::u16string_view a, std::u16string_view b) { return EqualsNoCase(Trimmed(a), Trimmed(b)); }

// A value that the format stores and gives back unchanged: one line, no blanks at its ends,
// not wrapped in a pair of quotes, and text the file's code page holds.
bool Plain(std::u16string_view v) {
  if (v.find_first_of(u"\r\n") != std::u16string_view::npos || Trimmed(v) != v || !WellFormed(v)) return false;
  return !(v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front());
}
// A key name the writer can add: one line, no "=", not a section header.
bool PlainKey(std::u16string_view k) {
  return !k.empty() && Trimmed(k) == k && k.find_first_of(u"=\r\n") == std::u16string_view::npos &&
         k.front() != u'[' && WellFormed(k);
}

// A private folder for the file, in memory when the system has one; removed at exit.
std::string g_folder;
const std::u16string& Folder() {
  static const std::u16string folder = [] {
    char pattern[] = "/dev/shm/tav-fuzz-profile-XXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made) made = mkdtemp(std::strcpy(pattern, "/tmp/tav-fuzz-prof-XXXXXX"));
    if (!made) std::abort();
    g_folder = made;
    std::atexit([] {
      std::remove((g_folder + "/s.ini").c_str());
      rmdir(g_folder.c_str());
    });
    return std::u16string(g_folder.begin(), g_folder.end());
  }();
  return folder;
}

// Section and key names that appear in the file, to probe with.
void NamesIn(std::u16string_view text, std::vector<std::u16string>& sections, std::vector<std::u16string>& keys) {
  while (!text.empty()) {
    auto nl = text.find(u'\n');
    std::u16string line = Trimmed(text.substr(0, nl));
    text = nl == std::u16string_view::npos ? std::u16string_view() : text.substr(nl + 1);
    if (line.empty()) continue;
    if (line.front() == u'[' && line.rfind(u']') != std::u16string::npos) {
      if (sections.size() < 5) sections.push_back(Trimmed(line.substr(1, line.rfind(u']') - 1)));
    } else if (keys.size() < 24) {
      keys.push_back(Trimmed(line.substr(0, line.find(u'='))));
    }
  }
}

constexpr std::u16string_view kMissing = u"<missing>";

void CheckBufferCut(ProfileFile& f, std::u16string_view key, const std::u16string& full) {
  for (std::size_t buffer : {1u, 2u, 4u, 50u, 100u}) {
    std::u16string cut = f.ReadString(key, kMissing, buffer);
    TAV_CHECK(full.compare(0, cut.size(), cut) == 0 && cut.size() <= full.size());
    TAV_CHECK(ToAnsi(cut).size() <= buffer - 1);
    if (cut.size() < full.size()) {
      // The next character (a surrogate pair counts as one) would not have fitted.
      std::size_t next = IsSurrogate(full[cut.size()]) && cut.size() + 1 < full.size() ? 2 : 1;
      TAV_CHECK(ToAnsi(full.substr(0, cut.size() + next)).size() > buffer - 1);
    }
  }
}

}  // namespace

TAV_FUZZ_TARGET(profile) {
  Input in(data, size);
  const std::u16string path = Folder() + u"/s.ini";
  const std::uint8_t mode = in.Byte();
  std::u16string section = (mode & 1) ? std::u16string(kSettingsSection) : in.Text(kAlphabet, 6);
  std::u16string key = (mode & 2) ? kKeys[in.Below(std::size(kKeys))] : in.Text(kAlphabet, 6);
  std::u16string value = in.Text(kAlphabet, 12);
  if (mode & 4) value = FromUtf8(in.Bytes(24)) + value;
  const std::string file = in.Rest();

  std::remove(ToUtf8(path).c_str());
  if (!(mode & 8)) TAV_CHECK(WriteFileBytes(path, file));

  // What every probe reads before the write.
  std::vector<std::u16string> sections{section, u"tavimbra", u"other"}, keys(std::begin(kKeys), std::end(kKeys));
  keys.push_back(key);
  if (file.size() < 4096) {
    std::u16string text = file.compare(0, 2, "\xFF\xFE") == 0   ? FromUtf16Bytes(std::string_view(file).substr(2), true)
                          : file.compare(0, 2, "\xFE\xFF") == 0 ? FromUtf16Bytes(std::string_view(file).substr(2), false)
                                                                : FromUtf8(file);
    NamesIn(text, sections, keys);
  }
  std::vector<std::u16string> before;
  for (const auto& s : sections) {
    auto f = OpenPortableProfile(path, s);
    for (const auto& k : keys) before.push_back(f->ReadString(k, kMissing, 1 << 20));
  }

  auto f = OpenPortableProfile(path, section);
  const bool written = f->WriteString(key, value);
  TAV_CHECK(written);

  // A line break in a name or value, "=" in a key or a key that looks like a header makes other
  // lines of the file, as with the platform's writer; the callers write none of these.
  const bool lineSafe = (section + key + value).find_first_of(u"\r\n") == std::u16string::npos &&
                        key.find(u'=') == std::u16string::npos && Trimmed(key).compare(0, 1, u"[") != 0;
  std::size_t i = 0;
  for (const auto& s : sections) {
    auto g = OpenPortableProfile(path, s);
    for (const auto& k : keys) {
      std::u16string now = g->ReadString(k, kMissing, 1 << 20);
      if (lineSafe && !(SameName(s, section) && SameName(k, key))) TAV_CHECK(now == before[i]);
      ++i;
    }
  }

  if (PlainKey(key) && !Trimmed(section).empty() && section.find_first_of(u"[]\r\n") == std::u16string::npos &&
      WellFormed(section)) {
    const std::u16string back = f->ReadString(key, kMissing, 1 << 20);
    if (Plain(value)) TAV_CHECK(back == value);
    TAV_CHECK(f->ReadInt(key, -7) == ParseProfileInt(back));
    CheckBufferCut(*f, key, back);
  }

  // The whole save, then the settings program's reads: every text comes back as saved.
  if ((mode & 16) && Plain(value)) {
    std::remove(ToUtf8(path).c_str());
    auto s = OpenPortableProfile(path, std::u16string(kSettingsSection));
    SettingTexts v{value, value + u"x", u"1", u"0", value, ToDecimal(static_cast<int>(value.size()) - 3),
                     value, value, value, u"2", u"-1", u"1", u"0"};
    int order = 0, sendToAt = -1, startUpAt = -1;
    WriteSettings(*s, v, [&](SettingId id) {
      if (id == SettingId::SendTo) sendToAt = order++;
      if (id == SettingId::StartUp) startUpAt = order++;
    });
    TAV_CHECK(sendToAt == 0 && startUpAt == 1);
    Settings r = ReadAllSettings(*s);
    TAV_CHECK(r.back == FitAnsiBytes(value, kColourBufferBytes - 1));
    TAV_CHECK(r.text == FitAnsiBytes(value + u"x", kColourBufferBytes - 1));
    TAV_CHECK(r.font == FitAnsiBytes(value, kFontBufferBytes - 1));
    TAV_CHECK(r.autoComplete == 1 && r.keepFocus == 0 && r.bold == 2 && r.italic == -1 && r.sendTo == 1 &&
              r.startUp == 0);
    TAV_CHECK(r.useSkin == ParseProfileInt(value) && r.fontSize == ParseProfileInt(value));
    TAV_CHECK(r.key1 == static_cast<int>(value.size()) - 3 && r.key2 == ParseProfileInt(value));
  }
  return 0;
}

}  // namespace tav::fuzz
