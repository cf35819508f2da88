// The quick registration window (Form3): its window class and control identifiers, named after
// the controls. Every value is written out: the tests find the window and its controls by them.
#pragma once

namespace tav::settings {

inline constexpr wchar_t kForm3Class[] = L"TavimsetForm3";

// Unscoped: the window's code passes them as plain control IDs (elsewhere, Form3Id::Text1).
enum Form3Id : int {
  Command1 = 101,                            // 登録
  Text1 = 102, Text2 = 103, Text3 = 104,     // the name, the program, the command line
  Label1 = 105, Label2 = 106, Label3 = 107,  // the captions of the program, the line, the name
};

}  // namespace tav::settings
