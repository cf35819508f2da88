// Command lists as the tests write them: built from file names in a vector, read back as one.
#pragma once
#include <string>
#include <vector>

#include "command_list.h"

namespace tav {

inline void BuildList(CommandList& list, const std::vector<std::u16string>& fileNames, const Collation& collation) {
  NameTable table;
  for (const auto& n : fileNames) table.Add(n);
  list.Build(table, collation);
}

inline std::vector<std::u16string> ListItems(const CommandList& list) {
  std::vector<std::u16string> out;
  for (std::size_t i = 0; i < list.Size(); ++i) out.emplace_back(list.Item(i));
  return out;
}

}  // namespace tav
