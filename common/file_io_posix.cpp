#include <sys/stat.h>

#include <cstdio>

#include "file_io.h"
#include "text_encoding.h"

namespace tav {

std::optional<std::string> ReadFileBytes(const std::u16string& path) {
  std::FILE* f = std::fopen(ToUtf8(path).c_str(), "rb");
  if (!f) return std::nullopt;
  std::string data;
  char buf[4096];
  std::size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
  const bool failed = std::ferror(f) != 0;
  std::fclose(f);
  if (failed) return std::nullopt;
  return data;
}

bool WriteFileBytes(const std::u16string& path, std::string_view bytes) {
  std::FILE* f = std::fopen(ToUtf8(path).c_str(), "wb");
  if (!f) return false;
  bool ok = std::fwrite(bytes.data(), 1, bytes.size(), f) == bytes.size();
  ok = (std::fclose(f) == 0) && ok;
  return ok;
}

bool IsRegularFile(const std::u16string& path) {
  struct stat st {};
  return ::stat(ToUtf8(path).c_str(), &st) == 0 && S_ISREG(st.st_mode);
}

}  // namespace tav
