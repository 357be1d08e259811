#include "platform/screen_saver_choice.h"

// A screen-saver daemon is told in its own settings: nothing to do here.
bool ChooseAsUsersScreenSaver(const std::string&) { return true; }

std::string UsersScreenSaverSetting() { return std::string(); }
