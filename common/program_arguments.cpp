#include "program_arguments.h"

namespace tav {

std::u16string ArgumentText(std::u16string_view cl) {
  std::size_t i = 0;
  if (i < cl.size() && cl[i] == u'"') {
    auto close = cl.find(u'"', 1);
    i = close == std::u16string_view::npos ? cl.size() : close + 1;
  } else {
    while (i < cl.size() && cl[i] != u' ' && cl[i] != u'\t') ++i;
  }
  while (i < cl.size() && (cl[i] == u' ' || cl[i] == u'\t')) ++i;
  return std::u16string(cl.substr(i));
}

std::u16string OpenTarget(std::u16string_view a) {
  while (!a.empty() && (a.front() == u' ' || a.front() == u'\t')) a.remove_prefix(1);
  while (!a.empty() && (a.back() == u' ' || a.back() == u'\t')) a.remove_suffix(1);
  if (a.size() >= 2 && a.front() == u'"' && a.back() == u'"') a = a.substr(1, a.size() - 2);
  return std::u16string(a);
}

}  // namespace tav
