// The shell's association lookup and the probe file, for the program lookup buttons.
#pragma once
#include "program_lookup.h"

namespace tav::settings {

class Win32LookupPlatform : public LookupPlatform {
 public:
  AssociationResult AssociatedProgram(const std::u16string& file, const std::u16string& folder) override;
  FileStatus WriteProbe(const std::u16string& path, std::string_view bytes) override;
  void RemoveFile(const std::u16string& path) override;
};

}  // namespace tav::settings
