// The settings window's class and control identifiers, named after the controls. The
// registration group's identifiers (3000-3999, registration_controls.h) belong to it; these stay
// below.
#pragma once
#include "colour_components.h"

namespace tav::settings {

inline constexpr wchar_t kForm1Class[] = L"TavimsetForm1";

enum class Form1Id : int {
  Frame2 = 100, Frame4, Frame5, Frame6, Frame1, Frame7, Frame8,
  Text1 = 200, Text2, Text3, Text4, Text5, Text6, Text7, Text8,
  Text12 = 212,
  HScroll1 = 300, HScroll2, HScroll3, HScroll4, HScroll5, HScroll6,
  Label1 = 400, Label2, Label3, Label4, Label5, Label6, Label7, Label8, Label9, Label10, Label11, Label12, Label13,
  Label22 = 422, Label23, Label24,  // Label23, Label24: the hotkey frames' titles, for screen readers
  Label25 = 425, Label26,  // a captured hotkey held by another program
  Combo1 = 500,
  Check1 = 601, Check2, Check3, Check6 = 606, Check7, Check8, Check9,
  Command1 = 701, Command2, Command7 = 707, Command10 = 710,
};

inline Form1Id Offset(Form1Id first, int n) { return static_cast<Form1Id>(static_cast<int>(first) + n); }

// The colour component a box (first Text1) or bar (first HScroll1) shows, in the order of
// Component (back red, green, blue, text red, green, blue); -1 for another control.
inline int ComponentOf(int id, Form1Id first) {
  const int c = id - static_cast<int>(first);
  return c >= 0 && c < kComponentCount ? c : -1;
}

}  // namespace tav::settings
