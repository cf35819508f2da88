#include "user_environment_win32.h"

#include <userenv.h>

#include <optional>
#include <string>

#include "environment_block.h"
#include "handles_win32.h"

namespace tav {

bool IsEnvironmentChange(LPARAM lParam) {
  const auto* area = reinterpret_cast<const wchar_t*>(lParam);
  return area && CompareStringOrdinal(area, -1, L"Environment", -1, TRUE) == CSTR_EQUAL;
}

UserEnvironment::~UserEnvironment() {
  if (block_) DestroyEnvironmentBlock(block_);
}

void UserEnvironment::Refresh() {
  HANDLE token = nullptr;
  if (!OpenProcessToken(GetCurrentProcess(), TOKEN_QUERY | TOKEN_DUPLICATE, &token)) return;
  UniqueKernelHandle owner(token);
  void* block = nullptr;
  // Not inherited: a variable the user removed must be gone, as it is for programs the shell starts.
  // (Wine 8 leaves the user's part out of PATH here; Windows appends it to the system's.)
  if (!CreateEnvironmentBlock(&block, token, FALSE)) return;
  if (block_) DestroyEnvironmentBlock(block_);
  block_ = block;
  static_assert(sizeof(wchar_t) == sizeof(char16_t));
  std::optional<std::u16string> path = EnvironmentValue(static_cast<const char16_t*>(block_), u"PATH");
  SetEnvironmentVariableW(L"PATH", path ? reinterpret_cast<const wchar_t*>(path->c_str()) : nullptr);
}

std::u16string UserEnvironment::CurrentBlock() const {
  wchar_t* own = block_ ? nullptr : GetEnvironmentStringsW();
  const auto* start = reinterpret_cast<const char16_t*>(block_ ? block_ : own);
  std::u16string copy;
  if (start) {
    const char16_t* end = start;
    while (*end) end += std::char_traits<char16_t>::length(end) + 1;
    copy.assign(start, end);
  }
  if (own) FreeEnvironmentStringsW(own);
  return copy;
}

}  // namespace tav
