// Reader and writer of the initialisation-file format with the platform's semantics:
// lines trimmed; "[name]" up to the last "]" opens a section (name trimmed); "name = value" splits at the
// first "="; names compare without case; only the first section of a name is searched and
// its first key of a name wins; one pair of matching quotes around a value is dropped on
// reading; a rewrite keeps the file's encoding and the existing spelling of names.
#include <optional>
#include <vector>

#include "file_io.h"
#include "profile_file.h"
#include "text_encoding.h"

namespace tav {

int ParseProfileInt(std::u16string_view v) {
  std::size_t i = 0;
  while (i < v.size() && v[i] <= u' ') ++i;
  bool neg = false;
  if (i < v.size() && (v[i] == u'+' || v[i] == u'-')) neg = v[i++] == u'-';
  unsigned base = 10;
  if (i + 1 < v.size() && v[i] == u'0') {  // the platform's reader takes 0x, 0o and 0b prefixes
    if (v[i + 1] == u'x') base = 16;
    if (v[i + 1] == u'o') base = 8;
    if (v[i + 1] == u'b') base = 2;
    if (base != 10) i += 2;
  }
  unsigned int n = 0;
  for (; i < v.size(); ++i) {
    char16_t c = v[i];
    unsigned d = c >= u'0' && c <= u'9'   ? c - u'0'
                 : c >= u'a' && c <= u'z' ? c - u'a' + 10
                 : c >= u'A' && c <= u'Z' ? c - u'A' + 10
                                          : 99;
    if (d >= base) break;
    n = n * base + d;
  }
  if (neg) n = 0u - n;
  return static_cast<int>(n);
}

namespace {

enum class Encoding { Ansi, Utf8, Utf16LE, Utf16BE };

bool IsSpace(char16_t c) {
  return c == u' ' || c == u'\t' || c == u'\r' || c == u'\n' || c == u'\v' || c == u'\f' || c == 0x1A ||
         c == 0x3000 || c == 0xA0;
}

std::u16string_view Trim(std::u16string_view s) {
  while (!s.empty() && IsSpace(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsSpace(s.back())) s.remove_suffix(1);
  return s;
}

struct Key {
  std::u16string name;
  std::optional<std::u16string> value;  // no "=" on the line: no value
};
struct Section {
  std::u16string name;  // empty for the lines before the first header
  std::vector<Key> keys;
};

struct Document {
  Encoding encoding = Encoding::Ansi;
  std::vector<Section> sections{Section{}};  // the first holds the lines before any header
};

std::u16string Decode(const std::string& bytes, Encoding& enc) {
  auto starts = [&](std::string_view m) { return bytes.compare(0, m.size(), m) == 0; };
  if (starts("\xEF\xBB\xBF")) {
    enc = Encoding::Utf8;
    return FromUtf8(std::string_view(bytes).substr(3));
  }
  if (starts("\xFF\xFE") || starts("\xFE\xFF")) {
    enc = bytes[0] == '\xFF' ? Encoding::Utf16LE : Encoding::Utf16BE;
    return FromUtf16Bytes(std::string_view(bytes).substr(2), enc == Encoding::Utf16LE);
  }
  enc = Encoding::Ansi;
  return FromAnsi(bytes);
}

std::string Encode(std::u16string_view text, Encoding enc) {
  switch (enc) {
    case Encoding::Utf8:
      return "\xEF\xBB\xBF" + ToUtf8(text);
    case Encoding::Utf16LE:
    case Encoding::Utf16BE: {
      bool le = enc == Encoding::Utf16LE;
      std::string out = le ? "\xFF\xFE" : "\xFE\xFF";
      for (char16_t c : text) {
        char lo = static_cast<char>(c & 0xFF), hi = static_cast<char>(c >> 8);
        out.push_back(le ? lo : hi);
        out.push_back(le ? hi : lo);
      }
      return out;
    }
    case Encoding::Ansi:
      break;
  }
  return ToAnsi(text);
}

Document Parse(const std::string& bytes) {
  Document doc;
  std::u16string text = Decode(bytes, doc.encoding);
  std::u16string_view rest(text);
  while (!rest.empty()) {
    auto nl = rest.find(u'\n');
    std::u16string_view line = Trim(rest.substr(0, nl));
    rest = nl == std::u16string_view::npos ? std::u16string_view() : rest.substr(nl + 1);
    if (line.empty()) continue;
    if (line.front() == u'[') {
      auto close = line.rfind(u']');
      if (close != std::u16string_view::npos) {
        doc.sections.push_back(Section{std::u16string(Trim(line.substr(1, close - 1))), {}});
        continue;
      }
    }
    Key key;
    auto eq = line.find(u'=');
    if (eq == std::u16string_view::npos) {
      key.name = std::u16string(line);
    } else {
      key.name = std::u16string(Trim(line.substr(0, eq)));
      key.value = std::u16string(Trim(line.substr(eq + 1)));
    }
    doc.sections.back().keys.push_back(std::move(key));
  }
  return doc;
}

std::u16string Serialise(const Document& doc) {
  std::u16string out;
  for (std::size_t i = 0; i < doc.sections.size(); ++i) {
    const Section& s = doc.sections[i];
    // Every header is written back, "[]" too: its keys must not join the section above. (Wine's
    // own writer drops that header; we keep everything but the key we write.)
    if (i > 0) out += u"[" + s.name + u"]\r\n";
    for (const Key& k : s.keys) {
      out += k.name;
      if (k.value) out += u"=" + *k.value;
      out += u"\r\n";
    }
  }
  return out;
}

Section* FindSection(Document& doc, std::u16string_view name) {
  for (Section& s : doc.sections)
    if (!s.name.empty() && EqualsNoCase(s.name, name)) return &s;
  return nullptr;
}

Key* FindKey(Section& s, std::u16string_view name) {
  for (Key& k : s.keys)
    if (EqualsNoCase(k.name, name)) return &k;
  return nullptr;
}

std::u16string StripQuotes(std::u16string_view v) {
  if (v.size() >= 2 && (v.front() == u'"' || v.front() == u'\'') && v.back() == v.front())
    return std::u16string(v.substr(1, v.size() - 2));
  return std::u16string(v);
}

class PortableProfile final : public ProfileFileAt {
 public:
  using ProfileFileAt::ProfileFileAt;

  std::u16string ReadString(std::u16string_view key, std::u16string_view def, std::size_t bufferBytes) override {
    auto v = Lookup(key);
    std::u16string value = v ? StripQuotes(*v) : std::u16string(def);
    return bufferBytes == 0 ? std::u16string() : FitAnsiBytes(value, bufferBytes - 1);
  }

  int ReadInt(std::u16string_view key, int def) override {
    auto v = Lookup(key);
    return v ? ParseProfileInt(StripQuotes(*v)) : def;
  }

  bool WriteString(std::u16string_view key, std::u16string_view value) override {
    auto bytes = ReadFileBytes(path_);
    Document doc = bytes ? Parse(*bytes) : Document{};
    Section* s = FindSection(doc, Trim(section_));
    if (!s) {
      doc.sections.push_back(Section{std::u16string(Trim(section_)), {}});
      s = &doc.sections.back();
    }
    Key* k = FindKey(*s, Trim(key));
    if (!k) {
      s->keys.push_back(Key{std::u16string(Trim(key)), std::nullopt});
      k = &s->keys.back();
    }
    std::u16string_view v = value;
    while (!v.empty() && IsSpace(v.front())) v.remove_prefix(1);
    if (k->value && *k->value == v && bytes) return true;  // nothing to change
    k->value = std::u16string(v);
    return WriteFileBytes(path_, Encode(Serialise(doc), doc.encoding));
  }

 private:
  std::optional<std::u16string> Lookup(std::u16string_view key) {
    auto bytes = ReadFileBytes(path_);
    if (!bytes) return std::nullopt;
    Document doc = Parse(*bytes);
    Section* s = FindSection(doc, Trim(section_));
    if (!s) return std::nullopt;
    Key* k = FindKey(*s, Trim(key));
    if (!k || !k->value) return std::nullopt;
    return k->value;
  }
};

}  // namespace

std::unique_ptr<ProfileFile> OpenPortableProfile(std::u16string path, std::u16string section) {
  return std::make_unique<PortableProfile>(std::move(path), std::move(section));
}

}  // namespace tav
