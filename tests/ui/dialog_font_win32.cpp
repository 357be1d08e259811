// Wine shows the program no host font: IPA P Gothic is loaded for this
// process alone, as the program loads the copy shipped beside it (the one
// scripts/make-windows-zip ships), so that GDI measures the windows' font.
#include <windows.h>

#include "ui/ui_fixture.h"

bool uitest::LoadDialogFont() {
  return AddFontResourceExW(L"Z:\\usr\\share\\fonts\\opentype\\ipafont-gothic\\ipagp.ttf", FR_PRIVATE, nullptr) > 0;
}
