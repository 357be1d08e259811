// Under LeakSanitizer: the font and desktop-bus libraries keep caches for
// the life of the process that they never free; they are not the program's
// leaks.
extern "C" const char* __lsan_default_suppressions() {
  return "leak:libfontconfig.so\n"
         "leak:libdbus-1.so\n"
         "leak:libXft.so\n";
}
