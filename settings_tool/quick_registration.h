// What the quick registration window proposes for a file handed over on the command line.
#pragma once
#include <string>
#include <string_view>

namespace tav::settings {

struct QuickProposal {
  std::u16string program;      // Text2
  std::u16string commandLine;  // Text3
};

// argumentText is not empty. A program (".exe" or ".EXE" before the closing quote) is proposed as
// itself in quotes; anything else is opened by the generic opener.
QuickProposal ProposeForArgument(std::u16string_view argumentText);

}  // namespace tav::settings
