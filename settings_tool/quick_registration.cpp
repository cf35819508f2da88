#include "quick_registration.h"

#include "install_folder.h"

namespace tav::settings {

QuickProposal ProposeForArgument(std::u16string_view a) {
  // Only the last character decides whether the shell already quoted the text.
  std::u16string q;
  if (!a.empty() && a.back() == u'"') {
    q = a;
  } else {
    q.reserve(a.size() + 2);
    q.append(1, u'"').append(a).append(1, u'"');
  }
  if (q.size() >= 5) {
    std::u16string_view ext = std::u16string_view(q).substr(q.size() - 5, 4);
    if (ext == u".exe" || ext == u".EXE") return {q, {}};
  }
  return {std::u16string(kOpenerRelativePath), std::u16string(a)};
}

}  // namespace tav::settings
