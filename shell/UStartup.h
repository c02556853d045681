// The part of start-up that fills the shared state and needs no window.
#pragma once

#include <QString>

// Runs, in this order: the folders beside basePath (created when missing), Conf_Name cleared and
// Update_Read_Back set, the settings file read, the identity texts set, the last configuration
// reopened when its folder still exists, the table-file paths built, and the row clipboard and
// the MIB writer's object lists emptied. The main window then applies the timer rule, loads the
// language and sets its texts. Returns whether a configuration is open.
bool Startup_Shared_State(const QString &basePath);
