// Reading an environment block: "NAME=value" strings one after another, each ended by a zero,
// the block ended by an empty string.
#pragma once
#include <optional>
#include <string>
#include <string_view>

namespace tav {

// The value of the variable called name (ASCII letters compared without regard to case, as the
// platform compares variable names); nullopt when the block has no such variable. Entries whose
// name begins with "=" (the per-drive current folders) never match.
std::optional<std::u16string> EnvironmentValue(const char16_t* block, std::u16string_view name);

}  // namespace tav
