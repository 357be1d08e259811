// The user's choice of screen saver, where the system keeps one per user.
#pragma once

#include <string>

// Makes the installed program at `program` the user's screen saver when it
// does not lie where the system's settings list screen savers (Windows: a
// copy outside the Windows directory becomes SCRNSAVE.EXE under
// HKCU\Control Panel\Desktop). True when done or nothing needed doing; false
// with errno telling why.
bool ChooseAsUsersScreenSaver(const std::string& program);
// Where that choice is kept, for a message about it.
std::string UsersScreenSaverSetting();
