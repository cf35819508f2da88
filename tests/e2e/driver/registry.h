// Variables of the environment as the system settings store them in the registry.
#pragma once
#include <windows.h>

#include <string>
#include <vector>

namespace tav::e2e {

// A variable of the user's (HKEY_CURRENT_USER) or the system's (HKEY_LOCAL_MACHINE) stored
// environment, the earlier value restored when it goes.
class StoredVariable {
 public:
  StoredVariable(HKEY root, const std::wstring& name, const std::wstring& value, DWORD type = REG_SZ);
  ~StoredVariable();
  StoredVariable(const StoredVariable&) = delete;
  StoredVariable& operator=(const StoredVariable&) = delete;

 private:
  HKEY root_;
  const wchar_t* key_;
  std::wstring name_;
  bool existed_ = false;
  DWORD oldType_ = 0;
  std::vector<BYTE> old_;
};
// Announces a changed environment to every top-level window, as the system settings do.
void BroadcastEnvironmentChange();
// The system's PATH (HKLM ... Session Manager\Environment), expanded.
std::wstring SystemPath();

}  // namespace tav::e2e
