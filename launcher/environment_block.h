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

// text with each %name% of a variable the block sets replaced by its value, as the platform's
// ExpandEnvironmentStrings does: a name that is not set stays as written with both its "%" and
// the scan goes on after them ("%20" in an address stays); an empty name ("%%") is never set; a
// "%" without a closing one stays; values are not expanded again.
std::u16string ExpandEnvironmentText(std::u16string_view text, const char16_t* block);

}  // namespace tav
