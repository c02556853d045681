// Pictures of the main window's three picture buttons, 50 x 50 pixels each, drawn on the key
// colour that the push button leaves out (their lower-left pixel).
#pragma once

#include <QImage>

namespace res {

inline constexpr int Main_Picture_Size = 50;

QImage Main_Picture_Info();    // an "i" in a blue disc
QImage Main_Picture_Options(); // a grey gear wheel
QImage Main_Picture_Close();   // an "x" in a red disc

} // namespace res
