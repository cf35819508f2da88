// The names of the files in a folder (texts\), listed in bulk where the file system allows it.
#pragma once
#include <windows.h>

#include <string>

#include "command_list.h"

namespace tav {

// Names of the files (not folders) in folder; empty when the folder is missing.
NameTable ListFileNameTable(const std::u16string& folder);

}  // namespace tav
