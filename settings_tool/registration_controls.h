// Control identifiers of the settings window's registration group (Frame3 and its controls),
// named after the controls. Every value is written out: the tests find the controls by them, and
// a control added later must not renumber the others.
#pragma once

namespace tav::settings {

// The group's identifiers lie in this range; Form1's own controls stay below it.
inline constexpr int kRegistrationFirstId = 3000;
inline constexpr int kRegistrationLastId = 3999;

// Unscoped: the group's code passes them as plain control IDs (elsewhere, RegistrationId::Text9).
enum RegistrationId : int {
  Frame3 = 3000,
  Label17 = 3001, Check4 = 3002, Text10 = 3003, Command8 = 3004, Label16 = 3005,  // the program
  Label18 = 3006, Check5 = 3007, Text11 = 3008, Command9 = 3009, Label19 = 3010,  // the command line
  Command11 = 3011,                                                 // オート設定
  Frame9 = 3012, Command3 = 3013, Command5 = 3014, Command6 = 3015,  // the program that runs the line
  Label20 = 3016, Text9 = 3017, Command4 = 3018,                     // the name and the registration
};

}  // namespace tav::settings
