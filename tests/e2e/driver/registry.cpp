#include "driver/registry.h"

namespace tav::e2e {

namespace {
constexpr wchar_t kSystemEnvironment[] = L"System\\CurrentControlSet\\Control\\Session Manager\\Environment";
}  // namespace

StoredVariable::StoredVariable(HKEY root, const std::wstring& name, const std::wstring& value, DWORD type)
    : root_(root), key_(root == HKEY_LOCAL_MACHINE ? kSystemEnvironment : L"Environment"), name_(name) {
  DWORD size = 0;
  if (RegGetValueW(root_, key_, name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &oldType_, nullptr, &size) == ERROR_SUCCESS) {
    old_.resize(size);
    existed_ = RegGetValueW(root_, key_, name.c_str(), RRF_RT_ANY | RRF_NOEXPAND, &oldType_, old_.data(), &size) ==
               ERROR_SUCCESS;
  }
  RegSetKeyValueW(root_, key_, name.c_str(), type, value.c_str(), static_cast<DWORD>((value.size() + 1) * sizeof(wchar_t)));
}

StoredVariable::~StoredVariable() {
  if (existed_)
    RegSetKeyValueW(root_, key_, name_.c_str(), oldType_, old_.data(), static_cast<DWORD>(old_.size()));
  else
    RegDeleteKeyValueW(root_, key_, name_.c_str());
}

void BroadcastEnvironmentChange() {
  DWORD_PTR answer = 0;
  SendMessageTimeoutW(HWND_BROADCAST, WM_SETTINGCHANGE, 0, reinterpret_cast<LPARAM>(L"Environment"),
                      SMTO_ABORTIFHUNG, 5000, &answer);
}

std::wstring SystemPath() {
  wchar_t raw[32767];
  DWORD size = sizeof raw;
  if (RegGetValueW(HKEY_LOCAL_MACHINE, kSystemEnvironment, L"PATH", RRF_RT_REG_SZ | RRF_RT_REG_EXPAND_SZ | RRF_NOEXPAND, nullptr, raw, &size) != ERROR_SUCCESS)
    return L"<none>";
  wchar_t expanded[32767];
  return ExpandEnvironmentStringsW(raw, expanded, 32767) ? expanded : L"<none>";
}

}  // namespace tav::e2e
