// Wine shows no host font: IPA P Gothic for this process alone, as the
// program loads the copy it ships (scripts/make-windows-zip's).
#include <windows.h>

#include "ui/ui_fixture.h"

bool uitest::LoadDialogFont() {
  return AddFontResourceExW(L"Z:\\usr\\share\\fonts\\opentype\\ipafont-gothic\\ipagp.ttf", FR_PRIVATE, nullptr) > 0;
}
