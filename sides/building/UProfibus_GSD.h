// The PROFIBUS GSD writer, run by the main window's GSD command.
#pragma once

class QWidget;

// Refuses with text 1104 while the configuration has no general parameter file; otherwise asks
// for the file (".gsd" appended when missing) and, for an existing file, whether to overwrite
// it (text 1103). The GSD content is not built yet: after the questions nothing is written.
// owner is the window the save dialog belongs to.
void Build_GSD_File(QWidget *owner);
