// Whole-file reads and writes, by full path.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace tav {

// nullopt when the file cannot be opened or a read fails midway (the system's error is left for
// GetLastError on Windows).
std::optional<std::string> ReadFileBytes(const std::u16string& path);
// Creates or truncates the file; fails (false) when its folder is missing.
bool WriteFileBytes(const std::u16string& path, std::string_view bytes);
bool IsRegularFile(const std::u16string& path);

}  // namespace tav
