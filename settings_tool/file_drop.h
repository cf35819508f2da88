// What the two drop areas of the registration group make of a dropped file list.
#pragma once
#include <optional>
#include <string>
#include <vector>

namespace tav::settings {

// Program box: each file in turn, kept only while it ends in "exe" (exactly, lower case).
// nullopt: no file, the box keeps its text.
std::optional<std::u16string> ProgramBoxAfterDrop(const std::vector<std::u16string>& files);
// Command-line box: the last file of the list, of any kind.
std::optional<std::u16string> CommandLineBoxAfterDrop(const std::vector<std::u16string>& files);

}  // namespace tav::settings
