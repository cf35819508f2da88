// A fresh folder per test, removed afterwards; paths as the programs take them (UTF-16).
#pragma once
#ifdef _WIN32
#include <windows.h>
#endif

#include <filesystem>
#include <random>
#include <string>

#include "text_encoding.h"

namespace tav::test {

inline std::u16string PathText(const std::filesystem::path& p) {
#ifdef _WIN32
  return U(p.c_str());
#else
  return FromUtf8(p.string());
#endif
}

inline std::filesystem::path PathOf(const std::u16string& s) {
#ifdef _WIN32
  return std::filesystem::path(std::wstring(s.begin(), s.end()));
#else
  return std::filesystem::path(ToUtf8(s));
#endif
}

class TempDir {
 public:
  TempDir() {
    std::random_device rd;
    for (int i = 0; i < 100; ++i) {
      path_ = std::filesystem::temp_directory_path() / ("tavtest-" + std::to_string(rd()));
      if (std::filesystem::create_directory(path_)) return;
    }
    throw std::runtime_error("no temporary folder");
  }
  ~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
  }
  TempDir(const TempDir&) = delete;
  TempDir& operator=(const TempDir&) = delete;
  const std::filesystem::path& path() const { return path_; }
  std::u16string Text(const std::string& child = {}) const { return PathText(child.empty() ? path_ : path_ / child); }

 private:
  std::filesystem::path path_;
};

inline void WriteBytes(const std::filesystem::path& p, const std::string& bytes) {
  FILE* f = nullptr;
#ifdef _WIN32
  f = _wfopen(p.c_str(), L"wb");
#else
  f = std::fopen(p.c_str(), "wb");
#endif
  if (!f) throw std::runtime_error("cannot write " + p.string());
  std::fwrite(bytes.data(), 1, bytes.size(), f);
  std::fclose(f);
}

inline std::string ReadBytes(const std::filesystem::path& p) {
  FILE* f = nullptr;
#ifdef _WIN32
  f = _wfopen(p.c_str(), L"rb");
#else
  f = std::fopen(p.c_str(), "rb");
#endif
  if (!f) return "<missing>";
  std::string s;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) s.append(buf, n);
  std::fclose(f);
  return s;
}

#ifdef _WIN32
// The file's last write put seconds back, as if written that long ago.
inline void Age(const std::filesystem::path& p, int seconds) {
  HANDLE h = CreateFileW(p.c_str(), FILE_WRITE_ATTRIBUTES, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                         nullptr, OPEN_EXISTING, 0, nullptr);
  FILETIME now;
  GetSystemTimeAsFileTime(&now);
  ULARGE_INTEGER t{{now.dwLowDateTime, now.dwHighDateTime}};
  t.QuadPart -= static_cast<ULONGLONG>(seconds) * 10'000'000;
  FILETIME then{t.LowPart, t.HighPart};
  SetFileTime(h, nullptr, nullptr, &then);
  CloseHandle(h);
}
#endif

}  // namespace tav::test
