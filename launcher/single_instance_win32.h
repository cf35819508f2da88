// The named object by which a second copy of the launcher finds the first.
#pragma once
#include <windows.h>

#include "handles_win32.h"

namespace tav {

struct InstanceLock {
  UniqueKernelHandle mutex;  // held for the life of the process (null when another copy owns it)
  bool anotherCopy = false;
};

// Creates or opens the named mutex. Another copy runs when the mutex already exists, also when
// it exists but this process may not open it: a copy running elevated made it with a security
// descriptor that a normal process cannot open, and CreateMutexW then fails with access denied.
InstanceLock TakeInstanceLock(const wchar_t* name);

}  // namespace tav
