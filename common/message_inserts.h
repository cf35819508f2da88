// The system's error texts name what failed by inserts ("%1 は有効な Win32 アプリケーションでは
// ありません。"); they are read without inserts filled and filled here.
#pragma once
#include <string>
#include <string_view>

namespace tav {

// Said where an insert stands and the caller has nothing to put there.
inline constexpr char16_t kUnnamedInsert[] = u"指定されたファイル";

// Every insert (%1 to %99, with or without its !format!) replaced by insert, or by
// kUnnamedInsert when insert is empty; the rest of the text unchanged.
std::u16string FillMessageInserts(std::u16string_view text, std::u16string_view insert);

}  // namespace tav
