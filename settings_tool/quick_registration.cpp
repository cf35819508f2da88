#include "quick_registration.h"

#include "install_folder.h"

namespace tav::settings {

QuickProposal ProposeForArgument(std::u16string_view a) {
  // Only the last character decides whether the shell already quoted the text.
  std::u16string q = (!a.empty() && a.back() == u'"') ? std::u16string(a) : u"\"" + std::u16string(a) + u"\"";
  if (q.size() >= 5) {
    std::u16string_view ext = std::u16string_view(q).substr(q.size() - 5, 4);
    if (ext == u".exe" || ext == u".EXE") return {q, {}};
  }
  return {std::u16string(kOpenerRelativePath), std::u16string(a)};
}

}  // namespace tav::settings
