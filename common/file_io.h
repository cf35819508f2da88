// Whole-file reads and writes, by full path.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace tav {

std::optional<std::string> ReadFileBytes(const std::u16string& path);
// Creates or truncates the file; fails (false) when its folder is missing.
bool WriteFileBytes(const std::u16string& path, std::string_view bytes);
bool IsRegularFile(const std::u16string& path);

}  // namespace tav
