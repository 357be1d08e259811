#include "shell/fonts.h"

// On every Windows since 2000, and Wine's own.
const char* LatinFaceName() { return " Tahoma"; }
