#include "shell/fonts.h"

// Fontconfig's sans-serif face.
const char* LatinFaceName() { return " sans"; }
