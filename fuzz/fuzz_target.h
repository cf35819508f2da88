// Shared by the fuzz targets: the entry point, property checks and reading the input.
#pragma once
#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <string>
#include <string_view>

namespace tav::fuzz {

using Entry = int (*)(const std::uint8_t*, std::size_t);

#ifdef TAV_FUZZ_REPLAY
// The replay test runs every registered target over its corpus.
struct Registration {
  Registration(const char* name, Entry entry);
};
#define TAV_FUZZ_TARGET(name)                                                  \
  static int name##_One(const std::uint8_t* data, std::size_t size);          \
  static const ::tav::fuzz::Registration name##_registration(#name, name##_One); \
  static int name##_One(const std::uint8_t* data, std::size_t size)
#else
#define TAV_FUZZ_TARGET(name) extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
#endif

// The file the replay test is running (libFuzzer names its own inputs).
inline std::string g_replayedFile;

// A broken property stops the run, so libFuzzer keeps the input and the replay test fails.
[[noreturn]] inline void Fail(const char* file, int line, const char* what) {
  std::fprintf(stderr, "%s:%d: property broken: %s%s%s\n", file, line, what,
               g_replayedFile.empty() ? "" : " (input ", g_replayedFile.empty() ? "" : (g_replayedFile + ")").c_str());
  std::abort();
}
#define TAV_CHECK(cond) ((cond) ? (void)0 : ::tav::fuzz::Fail(__FILE__, __LINE__, #cond))

// Reads the input front to back; past its end every read gives zeros.
class Input {
 public:
  Input(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}
  bool Empty() const { return pos_ >= size_; }
  std::size_t Left() const { return pos_ < size_ ? size_ - pos_ : 0; }
  std::uint8_t Byte() { return pos_ < size_ ? data_[pos_++] : 0; }
  bool Bool() { return Byte() & 1; }
  // 0 .. n-1
  std::size_t Below(std::size_t n) { return n == 0 ? 0 : Byte() % n; }
  // Up to maxLen units, each picked from alphabet (a byte beyond its size gives that byte's unit).
  std::u16string Text(std::u16string_view alphabet, std::size_t maxLen) {
    std::u16string s;
    for (std::size_t n = Below(maxLen + 1); n > 0 && !Empty(); --n) {
      std::uint8_t b = Byte();
      s.push_back(b < alphabet.size() ? alphabet[b] : static_cast<char16_t>(b % 2 ? b : 0x3000 + b));
    }
    return s;
  }
  // Up to maxLen raw bytes.
  std::string Bytes(std::size_t maxLen) {
    std::size_t n = Below(maxLen + 1) ;
    if (n > Left()) n = Left();
    std::string s(reinterpret_cast<const char*>(data_ + pos_), n);
    pos_ += n;
    return s;
  }
  std::string Rest() {
    std::string s(reinterpret_cast<const char*>(data_ + pos_), Left());
    pos_ = size_;
    return s;
  }
  // The rest as UTF-16 units, two bytes each (lone surrogates included).
  std::u16string RestUnits() {
    std::u16string s;
    while (Left() >= 2) s.push_back(static_cast<char16_t>(Byte() | (Byte() << 8)));
    pos_ = size_;
    return s;
  }

 private:
  const std::uint8_t* data_;
  std::size_t size_;
  std::size_t pos_ = 0;
};

inline bool IsSurrogate(char16_t c) { return c >= 0xD800 && c <= 0xDFFF; }
// True when every surrogate is half of a well-formed pair.
inline bool WellFormed(std::u16string_view s) {
  for (std::size_t i = 0; i < s.size(); ++i) {
    if (!IsSurrogate(s[i])) continue;
    if (s[i] >= 0xDC00 || i + 1 >= s.size() || s[i + 1] < 0xDC00 || s[i + 1] > 0xDFFF) return false;
    ++i;
  }
  return true;
}

}  // namespace tav::fuzz
