#include "system_message_win32.h"

#include "message_inserts.h"
#include "text_encoding.h"

namespace tav {

std::u16string SystemMessage(DWORD error, std::u16string_view insert) {
  wchar_t* buf = nullptr;
  DWORD n = FormatMessageW(FORMAT_MESSAGE_ALLOCATE_BUFFER | FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS,
                           nullptr, error, 0, reinterpret_cast<wchar_t*>(&buf), 0, nullptr);
  std::u16string text = n ? FillMessageInserts(U(buf, n), insert) : std::u16string();
  if (buf) LocalFree(buf);
  while (!text.empty() && (text.back() == u'\n' || text.back() == u'\r' || text.back() == u' ')) text.pop_back();
  std::u16string code = u"(エラー " + ToDecimal(error) + u")";
  return text.empty() ? code : text + u" " + code;
}

}  // namespace tav
