#include "shell/fonts.h"

// The GDI names, the first character the style; Tahoma is on every Windows
// since 2000, and Wine's own.
const char* FaceName(Face face) {
  switch (face) {
    case Face::Gothic:
      return " IPAPGothic";
    case Face::GothicBold:
      return "BIPAPGothic";
    case Face::Latin:
      break;
  }
  return " Tahoma";
}
