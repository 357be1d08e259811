// Under LeakSanitizer: the desktop-bus library that SDL's joystick and event
// start-up loads keeps a cache for the life of the process; not our leak.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
