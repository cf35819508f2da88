#include "single_instance_win32.h"

namespace tav {

InstanceLock TakeInstanceLock(const wchar_t* name) {
  InstanceLock lock;
  lock.mutex.reset(CreateMutexW(nullptr, FALSE, name));
  const DWORD error = GetLastError();
  // Any other failure tells nothing about another copy; the launcher then runs on its own.
  lock.anotherCopy = lock.mutex ? error == ERROR_ALREADY_EXISTS : error == ERROR_ACCESS_DENIED;
  return lock;
}

}  // namespace tav
