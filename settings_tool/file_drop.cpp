#include "file_drop.h"

namespace tav::settings {

std::optional<std::u16string> ProgramBoxAfterDrop(const std::vector<std::u16string>& files) {
  std::optional<std::u16string> box;
  for (const auto& f : files) {
    box = f;
    if (box->size() < 3 || box->compare(box->size() - 3, 3, u"exe") != 0) box->clear();
  }
  return box;
}

std::optional<std::u16string> CommandLineBoxAfterDrop(const std::vector<std::u16string>& files) {
  if (files.empty()) return std::nullopt;
  return files.back();
}

}  // namespace tav::settings
