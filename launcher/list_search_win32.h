// Searching a list control the way the platform does, and the platform's collation for our list.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

#include "command_list.h"

namespace tav {

namespace mAPIDec {
// The first item of a combo box or list box that begins with text (exact: equals it), ignoring
// case, searching the whole list from its first item; -1 for no match or another kind of control.
int FindListEntry(HWND control, const std::u16string& text, bool exact);
}  // namespace mAPIDec

// The list control's order (case-insensitive, the user's locale), and the file system's rule for
// letter case in the match (the system's upper-case table).
Collation UserCollation();

// Names of the files (not folders) in folder; empty when the folder is missing.
NameTable ListFileNameTable(const std::u16string& folder);
std::vector<std::u16string> ListFileNames(const std::u16string& folder);

}  // namespace tav
