// Pictures of the main window's buttons, drawn on the key colour that the push button leaves
// out (their lower-left pixel): the three picture buttons, 50 x 50 pixels each, and one picture
// per step button, small enough to leave the longest caption its full width.
#pragma once

#include <QImage>

namespace res {

inline constexpr int Main_Picture_Size = 50;

QImage Main_Picture_Info();    // an "i" in a blue disc
QImage Main_Picture_Options(); // a grey gear wheel
QImage Main_Picture_Close();   // an "x" in a red disc

inline constexpr int Step_Picture_Size = 24;

QImage Step_Picture_New();           // Step 1: a sheet with a green plus
QImage Step_Picture_Open();          // Step 1: an open yellow folder
QImage Step_Picture_Communication(); // Step 2: three linked network nodes
QImage Step_Picture_Variables();     // Step 3: a list of variables
QImage Step_Picture_Modbus();        // Step 4: two opposite arrows, master and slaves
QImage Step_Picture_Certificates();  // Step 5: a padlock
QImage Step_Picture_Update();        // Step 6: an arrow down into the device

} // namespace res
