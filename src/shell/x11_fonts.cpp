#include "shell/fonts.h"

// Pango's descriptions; "sans" is fontconfig's sans-serif face.
const char* FaceName(Face face) {
  switch (face) {
    case Face::Gothic:
      return "IPAPGothic";
    case Face::GothicBold:
      return "IPAPGothic Bold";
    case Face::Latin:
      break;
  }
  return "sans";
}
