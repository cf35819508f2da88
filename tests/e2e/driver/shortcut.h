// Shortcuts (.lnk) as the shell makes and reads them, and paths compared as the file system does.
#pragma once
#include <filesystem>

namespace tav::e2e {

struct Shortcut {
  std::filesystem::path target, workingFolder;  // both empty when the shortcut cannot be read
};
Shortcut ReadShortcut(const std::filesystem::path& lnk);
// A shortcut to target that starts in target's folder, as the settings program makes it.
bool MakeShortcut(const std::filesystem::path& lnk, const std::filesystem::path& target);

// The same file or folder by name: letter case aside, and "." or ".." steps resolved.
bool SamePath(const std::filesystem::path& a, const std::filesystem::path& b);

}  // namespace tav::e2e
