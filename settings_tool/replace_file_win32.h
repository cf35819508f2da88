// Command files on disk: create a new file in full, then move it into place in one step.
#pragma once
#include "registration.h"

namespace tav::settings {

// A temporary file untouched for this long belongs to no save still running.
inline constexpr unsigned kStaleTemporarySeconds = 30;
// How long a move that another program's open handle refuses is tried again.
inline constexpr unsigned kMoveRetryMilliseconds = 2000;

class Win32CommandFiles : public CommandFiles {
 public:
  bool FolderExists(const std::u16string& folder) override;
  bool Exists(const std::u16string& path) override;
  FileStatus CreateNew(const std::u16string& path, std::string_view bytes) override;
  FileStatus MoveReplacing(const std::u16string& from, const std::u16string& to) override;
  void Remove(const std::u16string& path) override;
  bool RemoveStale(const std::u16string& path) override;
  FileStatus MakeFolder(const std::u16string& folder) override;
  void RemoveFolderIfEmpty(const std::u16string& folder) override;
};

}  // namespace tav::settings
