// The platform's collation for the command list: the list control's order and the file system's
// letter case.
#pragma once
#include <windows.h>

#include "command_list.h"

namespace tav {

// The list control's order (case-insensitive, the user's locale), and the file system's rule for
// letter case in the match (the system's upper-case table).
Collation UserCollation();

}  // namespace tav
